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
  libpcre2-dev libjpeg-dev libicu-dev libeigen3-dev \
  gettext fonts-dejavu-core \
  libgtest-dev googletest \
  antiword catdoc \
  xvfb xauth \
  python3 python3-numpy \
  locales
# The tests also run in a French session: its locale must exist.
if ! locale -a | grep -ix 'fr_FR.utf8' >/dev/null; then
  grep -qx 'fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
