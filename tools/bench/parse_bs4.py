#!/usr/bin/env python3
"""Parses a LOTO6 result page with BeautifulSoup (lxml), taking the cells the
program's own parser takes for one draw, and times it.

Usage: parse_bs4.py PAGE DRAW [SECONDS]
Prints the record it built from the cells, then the median seconds per parse.
"""
import statistics
import sys
import time

from bs4 import BeautifulSoup


def amount(text):
    text = text.strip()
    return 0 if text == "該当なし" else int(text.replace(",", "").replace("円", ""))


def parse(page, draw):
    soup = BeautifulSoup(page, "lxml")
    title = "第%d回" % draw
    for table in soup.find_all("table"):
        first = table.find("tr")
        if first is None or first.find_all("th")[-1].get_text(strip=True) != title:
            continue
        numbers = [td.get_text(strip=True).strip("()") for td in table.find_all("td", class_="x")]
        prizes = [amount(td.get_text()) for td in table.find_all("td", class_="y")]
        widths = (10, 9, 8, 6, 5)  # the LOTO6 record's prize fields
        return ("%04d" % draw + "".join(numbers[:7]) +
                "".join("%0*d" % (w, p) for w, p in zip(widths, prizes[:5])))
    return ""


def main(argv):
    page = open(argv[1], "rb").read()
    draw = int(argv[2])
    seconds = float(argv[3]) if len(argv) > 3 else 3.0
    print(parse(page, draw))
    runs = []
    end = time.perf_counter() + seconds
    while time.perf_counter() < end or len(runs) < 5:
        start = time.perf_counter()
        parse(page, draw)
        runs.append(time.perf_counter() - start)
    print("%.9f" % statistics.median(runs))


if __name__ == "__main__":
    main(sys.argv)
