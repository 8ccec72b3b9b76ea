#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Norvale needs.
# Safe to run again: it installs only what is missing. Needs root (or sudo).
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev python3
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  libcurl4-openssl-dev libssl-dev openssl ca-certificates osslsigncode curl nginx wrk nsis fp-utils python3-bs4 python3-lxml
  wine wine64 xvfb xauth x11-utils openbox fonts-noto-cjk imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
