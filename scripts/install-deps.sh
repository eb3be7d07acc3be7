#!/usr/bin/env bash
# Installs every Debian package the workbench needs to build, run and test.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-charts-dev libqt6svg6 qt6-qpa-plugins qt6-translations-l10n \
  libpcre2-dev libjpeg-dev libicu-dev libeigen3-dev libspectra-dev \
  gettext fonts-dejavu-core \
  libgtest-dev googletest \
  antiword catdoc \
  xvfb xauth xdg-utils \
  python3 python3-numpy \
  locales

# The French locale the tests run under (numbers in files must not follow it).
if ! locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
  if grep -q '^[# ]*fr_FR\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    $SUDO sed -i 's/^[# ]*\(fr_FR\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  else
    echo 'fr_FR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen
fi
