#!/usr/bin/env python3
"""Writes the four data files of a benchmark: FOLDER RECORDS [FILL].

Each record begins with its draw number and is filled with the digit FILL
(default 0) to its game's length, then CR LF; 0 records gives empty files.
"""
import sys

LAYOUTS = {"dat_lot6.tan": 56, "dat_mini.tan": 40, "dat_num4.tan": 34, "dat_num3.tan": 35}


def main():
    folder, records = sys.argv[1], int(sys.argv[2])
    fill = (sys.argv[3] if len(sys.argv) > 3 else "0").encode()
    for name, length in LAYOUTS.items():
        with open(f"{folder}/{name}", "wb") as out:
            out.write(b"".join(b"%04d" % k + fill * (length - 4) + b"\r\n" for k in range(1, records + 1)))


if __name__ == "__main__":
    main()
