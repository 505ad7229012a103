#!/usr/bin/env bash
# Converts one folder of JPEGs with kestrix-convert (one job, then one per
# core) and with the usual single tools run file after file, in one session,
# and prints the seconds of each (and kestrix-convert's peak memory), so that
# the ratios can be compared on a noisy machine. Peers that are not installed
# are left out (Debian packages webp, libvips-tools, imagemagick).
#
# usage: bench/peers.sh SOURCE_FOLDER [kestrix-convert]
set -u
src=${1:?usage: bench/peers.sh SOURCE_FOLDER [kestrix-convert]}
kx=${2:-$(dirname "$0")/../build/src/cli/kestrix-convert}
out=$(mktemp -d)
trap 'rm -rf "$out" "$out.time"' EXIT
files=("$src"/*.jpg)
cores=$(nproc)
export QT_QPA_PLATFORM=offscreen
TIMEFORMAT=%R

kestrix() {
  local name=$1; shift
  rm -rf "${out:?}"/*
  /usr/bin/time -f "%e %M" -o "$out.time" "$kx" "$@" -o "$out" --quiet "${files[@]}" >/dev/null 2>&1
  read -r seconds kb <"$out.time"
  printf '%-40s %7s s  peak %5d MB\n' "$name" "$seconds" $((kb / 1024))
}
# peer NAME TOOL FUNCTION: the function converts one file ($1) to a stem ($2)
peer() {
  command -v "$2" >/dev/null || return
  rm -rf "${out:?}"/*
  local seconds f
  seconds=$( { time for f in "${files[@]}"; do "$3" "$f" "$out/$(basename "${f%.*}")" >/dev/null 2>&1; done; } 2>&1)
  printf '%-40s %7s s\n' "$1" "$seconds"
}
cwebp75() { cwebp -quiet -q 75 "$1" -o "$2.webp"; }
magickWebp1() { convert -limit thread 1 "$1" -quality 75 "$2.webp"; }
magickWebp() { convert "$1" -quality 75 "$2.webp"; }
magickPng1() { convert -limit thread 1 "$1" "$2.png"; }
magickPng() { convert "$1" "$2.png"; }
vipsHalf() { vipsthumbnail "$1" --size "$(($(vipsheader -f width "$1") / 2))x" -o "$2.jpg[Q=95]"; }
magickHalf1() { convert -limit thread 1 "$1" -resize 50% -quality 95 "$2.jpg"; }
magickHalf() { convert "$1" -resize 50% -quality 95 "$2.jpg"; }

echo "${#files[@]} JPEGs from $src, $cores cores"
for jobs in 1 "$cores"; do kestrix "kestrix-convert WEBP q75, $jobs job(s)" --to webp --jobs "$jobs"; done
peer "cwebp -q 75, file after file" cwebp cwebp75
peer "convert -limit thread 1, WEBP" convert magickWebp1
peer "convert, WEBP" convert magickWebp
for jobs in 1 "$cores"; do kestrix "kestrix-convert PNG, $jobs job(s)" --to png --jobs "$jobs"; done
peer "convert -limit thread 1, PNG" convert magickPng1
peer "convert, PNG" convert magickPng
for jobs in 1 "$cores"; do kestrix "kestrix-convert JPG 50 % q95, $jobs job(s)" --to jpg --quality 95 --scale 50 --jobs "$jobs"; done
peer "vipsthumbnail 50 % q95" vipsthumbnail vipsHalf
peer "convert -limit thread 1, 50 % q95" convert magickHalf1
peer "convert, 50 % q95" convert magickHalf
