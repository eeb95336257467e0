#!/usr/bin/env bash
# Installs, with apt and only when missing, what ORV needs to build, run and
# test on Debian 12. Sourced by run.sh and test.sh.
set -euo pipefail

orv_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libjpeg62-turbo-dev
              fonts-dejavu-core qt6-translations-l10n libgtest-dev libgmock-dev googletest libbenchmark-dev locales)

missing=()
for p in "${orv_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# File output is checked under a Czech locale as well.
if ! locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf-\?8$'; then
  sed -i 's/^# *cs_CZ.UTF-8 UTF-8/cs_CZ.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^cs_CZ.UTF-8 UTF-8' /etc/locale.gen || echo 'cs_CZ.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
