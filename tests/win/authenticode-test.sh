#!/usr/bin/env bash
# The build's Authenticode signing (tools/authenticode-sign.sh) with a
# throwaway certificate: the signed programs and setup program verify with
# osslsigncode against that certificate, and an unsigned or altered copy does not.
#   authenticode-test.sh BUILD_WIN
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
check() {  # what expected-status command...
  local what=$1 expected=$2; shift 2
  "$@" >"$scratch/out" 2>&1
  local status=$?
  if { [ "$expected" = ok ] && [ $status -ne 0 ]; } || { [ "$expected" = fails ] && [ $status -eq 0 ]; }; then
    echo "FAILED: $what (status $status)"; cat "$scratch/out"; failed=1
  else
    echo "ok: $what"
  fi
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$scratch/key.pem" -out "$scratch/cert.pem" -days 2 \
  -subj "/CN=Norvale throwaway test signing" -addext "extendedKeyUsage=codeSigning" 2>/dev/null ||
  { echo "no throwaway certificate"; exit 1; }
for program in payload/norv.exe payload/nnote.exe payload/liveup.exe norvale-setup-*.exe; do
  source=$(ls "$build"/$program | head -1)
  copy=$scratch/$(basename "$source")
  cp "$source" "$copy"
  check "$(basename "$source") unsigned does not verify" fails osslsigncode verify -CAfile "$scratch/cert.pem" -in "$copy"
  check "$(basename "$source") is signed" ok "$here/../../tools/authenticode-sign.sh" "$scratch/cert.pem" "$scratch/key.pem" "$copy"
  check "$(basename "$source") verifies" ok osslsigncode verify -CAfile "$scratch/cert.pem" -in "$copy"
done
python3 - "$copy" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[len(data) // 3] ^= 1
open(sys.argv[1], "wb").write(data)
PY
check "a signed program with one byte changed does not verify" fails osslsigncode verify -CAfile "$scratch/cert.pem" -in "$copy"
exit $failed
