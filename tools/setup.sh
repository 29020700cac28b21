#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian 12 machine
# (run as root). One package a line.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  # build
  build-essential cmake ninja-build clang libclang-rt-14-dev
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev libicu-dev locales
  # the toolkit's own texts (standard buttons, file and colour dialogs) in Japanese
  qt6-translations-l10n
  # rendering: fonts, image readers, metafiles
  fonts-ipafont-gothic fonts-ipafont-mincho qt6-image-formats-plugins
  libwmf-dev libuemf-dev libfreetype-dev
  # the Windows build of the paper-frame command and its tests under Wine
  g++-mingw-w64-x86-64-posix wine wine64
  # display and keyboard tests
  xvfb xauth libx11-dev libxtst-dev openbox
  # printing tests
  cups printer-driver-cups-pdf poppler-utils
)
apt-get update
apt-get install -y --no-install-recommends "${packages[@]}"
# A comma-decimal locale for the tests that check numbers never follow the
# process locale (they build one themselves with localedef when it is missing).
sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
# The system's reasons (file errors and the like) are shown in Japanese
# through this locale's message catalogue.
sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
locale-gen
