#!/usr/bin/env bash
# Runs a command with a test certificate authority made fresh for this run and
# trusted by the host (and so by a Wine prefix made after it), then removes it
# again, whether the command passed, failed or was interrupted.
#   test-ca.sh COMMAND [ARG...]
# The command finds in NORVALE_TEST_CA (empty when the CA could not be
# trusted) a folder with certificate and key pairs
# (NAME.crt, NAME.key) for the HTTPS tests:
#   good        localhost, from the trusted test CA
#   otherhost   another host name (www.norvale-other.example), same CA
#   expired     localhost, same CA, valid only in 2020
#   untrusted   localhost, from a second CA that nobody trusts
# Every private key stays in that temporary folder and goes with it.
set -uo pipefail
[ $# -ge 1 ] || { echo "usage: $0 COMMAND [ARG...]" >&2; exit 2; }

anchors=/usr/local/share/ca-certificates
lock=/run/lock/norvale-test-ca.lock
dir=$(mktemp -d /tmp/norvale-test-ca.XXXXXX)
chmod 700 "$dir"
name=$(basename "$dir").crt
installed=""

refresh_store() {  # one refresh at a time: runs side by side share the store
  if [ "$(id -u)" -eq 0 ]; then
    flock "$lock" update-ca-certificates >/dev/null 2>&1
  else
    flock "$lock" sudo -n update-ca-certificates >/dev/null 2>&1
  fi
}

cleanup() {
  if [ -n "$installed" ]; then
    rm -f "$anchors/$name" 2>/dev/null || sudo -n rm -f "$anchors/$name"
    refresh_store || echo "test-ca: could not refresh the host's CA store after removing $name" >&2
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

ssl() { openssl "$@" >/dev/null 2>>"$dir/openssl.log"; }

make_ca() {  # name subject
  ssl req -x509 -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout "$dir/$1.key" -out "$dir/$1.crt" -days 2 \
    -subj "/CN=$2" -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
}

# A leaf for HOST signed by CA, valid from START to END (openssl ca's times).
make_leaf() {  # name host ca start end
  local leaf=$1 host=$2 ca=$3 db="$dir/db-$1"
  mkdir -p "$db"
  : >"$db/index.txt"
  cat >"$db/ca.cnf" <<CNF
[ ca ]
default_ca = test
[ test ]
database = $db/index.txt
new_certs_dir = $db
serial = $db/serial
default_md = sha256
policy = any
unique_subject = no
copy_extensions = none
[ any ]
commonName = supplied
[ leaf ]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:$host
CNF
  openssl rand -hex 8 >"$db/serial"
  ssl req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout "$dir/$leaf.key" -out "$db/leaf.csr" -subj "/CN=$host" &&
    ssl ca -batch -config "$db/ca.cnf" -extensions leaf -cert "$dir/$ca.crt" -keyfile "$dir/$ca.key" \
      -startdate "$4" -enddate "$5" -in "$db/leaf.csr" -out "$dir/$leaf.crt" -notext
}

make_all() {
  local now later
  now=$(date -u -d '-1 day' +%Y%m%d%H%M%SZ)
  later=$(date -u -d '+2 days' +%Y%m%d%H%M%SZ)
  make_ca ca "Norvale test CA $(basename "$dir")" &&
    make_ca stranger-ca "Norvale untrusted test CA" &&
    make_leaf good localhost ca "$now" "$later" &&
    make_leaf otherhost www.norvale-other.example ca "$now" "$later" &&
    make_leaf expired localhost ca 20200101000000Z 20201231000000Z &&
    make_leaf untrusted localhost stranger-ca "$now" "$later"
}

if ! make_all; then
  echo "test-ca: could not make the test certificates:" >&2
  cat "$dir/openssl.log" >&2
  exit 1
fi
# The CAs' keys are needed no longer.
rm -rf "$dir/ca.key" "$dir/stranger-ca.key" "$dir"/db-*
if { cp "$dir/ca.crt" "$anchors/$name" 2>/dev/null || sudo -n cp "$dir/ca.crt" "$anchors/$name" 2>/dev/null; } &&
   installed=1 && refresh_store; then
  export NORVALE_TEST_CA=$dir
else
  # Set but empty: the run goes on without HTTPS sites, and is not wrapped again.
  export NORVALE_TEST_CA=
  echo "test-ca: could not add the test CA to the host's store (root or sudo needed); the HTTPS tests will fail" >&2
fi

"$@"
