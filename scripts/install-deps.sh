#!/bin/sh
# Installs the Debian packages the build and the tests need; quiet when all are there.
set -e
packages="cmake ninja-build g++ g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 mingw-w64-x86-64-dev
  clang libclang-rt-14-dev wine64 fonts-liberation xvfb xauth x11-apps imagemagick googletest util-linux nsis zip unzip
  libxml2-utils python3-icalendar"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends $missing
