#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Skips everything when all of them are present; works as root or through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins qt6-gtk-platformtheme
  libgl-dev libxkbcommon-dev fonts-dejavu-core
  libgif-dev libwebp-dev libqrcodegencpp-dev libheif-dev libjxl-dev libexiv2-dev zlib1g-dev
  qt6-pdf-dev qt6-svg-dev libtiff-dev liblcms2-dev libraw-dev libpng-dev
  libavif-dev libhpdf-dev libjpeg-dev libturbojpeg0-dev libvips-dev desktop-file-utils bash-completion appstream man-db dpkg-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
else
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
