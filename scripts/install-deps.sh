#!/usr/bin/env bash
# Installs the Debian packages Verlo needs to build, run and test, and only those that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev make
  qt6-base-dev qt6-declarative-dev qt6-declarative-dev-tools qt6-svg-dev qt6-image-formats-plugins
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-templates qml6-module-qtquick-window qml6-module-qtqml-workerscript
  qml6-module-qtqml qml6-module-qtqml-models
  qml6-module-qtquick-dialogs qml6-module-qtcore qml6-module-qt-labs-settings qml6-module-qttest
  libqt6svg6 xvfb xauth fonts-dejavu-core util-linux python3
  qt6-l10n-tools qt6-tools-dev help2man desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
