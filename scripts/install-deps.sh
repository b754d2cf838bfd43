#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests, the demo and the benchmark need.
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

packages=(
  # build
  g++ make cmake pkg-config
  libcups2-dev libplist-dev libgtest-dev libgmock-dev
  # the printing system the tests and the demo run against
  cups-daemon cups-client cups-ipp-utils cups-core-drivers
  # a real PostScript interpreter to play the printer
  ghostscript
  # /usr/bin/time for the benchmark
  time
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}; run as root (or install them) first" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
