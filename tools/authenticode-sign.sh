#!/usr/bin/env bash
# Signs a Windows program in place with Authenticode, through osslsigncode.
#   authenticode-sign.sh CERTIFICATE KEY FILE [TIMESTAMP_URL]
# CERTIFICATE is the signing certificate with its chain and KEY its private
# key (PEM or DER). TIMESTAMP_URL is an RFC 3161 time-stamping server; without
# it there is no time stamp (a signature without a time stamp stops being valid when the
# certificate expires). The file is replaced only once it is signed whole.
set -euo pipefail
[ $# -eq 3 ] || [ $# -eq 4 ] || { echo "usage: $0 CERTIFICATE KEY FILE [TIMESTAMP_URL]" >&2; exit 2; }
certificate=$1 key=$2 file=$3 timestamp=${4:-}
arguments=(sign -certs "$certificate" -key "$key" -n Norvale -h sha256)
[ -n "$timestamp" ] && arguments+=(-ts "$timestamp")
rm -f "$file.signed"
osslsigncode "${arguments[@]}" -in "$file" -out "$file.signed" >/dev/null
mv -f "$file.signed" "$file"
