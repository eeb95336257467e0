#!/usr/bin/env bash
# Installs, with apt and only when missing, what ORV needs to build, run and
# test on Debian 12. Sourced by run.sh and test.sh. As root apt runs directly;
# an ordinary user is asked for the password by sudo.
set -euo pipefail

orv_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libjpeg62-turbo-dev
              fonts-dejavu-core qt6-translations-l10n libgtest-dev libgmock-dev googletest libbenchmark-dev locales)
# The suite checks the exports with the programs that consume them: a DXF
# reader, a gridding and contouring package, and a PDF rasteriser for the
# printed pages.
if [ "${ORV_WITH_EXPORT_CHECKS:-0}" = 1 ]; then
  orv_packages+=(python3-ezdxf gmt poppler-utils)
fi

# Runs a command as root: directly when we are root, else through sudo. With
# neither, says what is needed and stops.
orv_as_root() {
  local what="$1"
  shift
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "ORV: $what needs root rights and sudo is not available." >&2
    echo "ORV: ask an administrator to run: $*" >&2
    exit 1
  fi
}

missing=()
for p in "${orv_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "ORV: installing the missing packages with apt: ${missing[*]}"
  orv_as_root "installing ${missing[*]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  orv_as_root "installing ${missing[*]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# File output is checked under a Czech locale as well.
if ! locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf-\?8$'; then
  echo "ORV: generating the locale cs_CZ.UTF-8"
  orv_as_root "generating the locale cs_CZ.UTF-8" \
    sed -i 's/^# *cs_CZ.UTF-8 UTF-8/cs_CZ.UTF-8 UTF-8/' /etc/locale.gen
  if ! grep -q '^cs_CZ.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'cs_CZ.UTF-8 UTF-8' | orv_as_root "generating the locale cs_CZ.UTF-8" tee -a /etc/locale.gen >/dev/null
  fi
  orv_as_root "generating the locale cs_CZ.UTF-8" locale-gen >/dev/null
fi
