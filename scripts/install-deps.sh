#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Recommended packages are not installed, so run-time needs of the outside tools are
# named here (the WMF converter's fonts; xauth for xvfb-run).
set -euo pipefail
packages=(
  cmake ninja-build g++ clang ccache make
  qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev libxcb1-dev libfontconfig-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri
  fonts-liberation2 fonts-dejavu-core
  imagemagick
  assimp-utils
  emf2svg libwmf-bin fonts-urw-base35
  python3 libxml2-utils poppler-utils
  unixodbc-dev odbc-mdbtools
  xdotool
  openbox xcompmgr x11-utils
  python3-gi gir1.2-gtk-3.0
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
