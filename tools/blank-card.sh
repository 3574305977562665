#!/usr/bin/env bash
# A blank VQ-730 card to try the program without the device: a FAT16 image
# holding TAVRIN/VQ730/WVCINFO0.VQD with 128 empty records, mounted through
# FUSE under /media/<user>/ where the program's volume popup finds it.
#
#   tools/blank-card.sh make IMAGE [SIZE_MB]   make a blank card image (default 64 MB)
#   tools/blank-card.sh mount [IMAGE] [NAME]   make IMAGE when missing, mount it as
#                                              /media/<user>/NAME (default VQ730)
#   tools/blank-card.sh unmount [NAME]         unmount /media/<user>/NAME
#
# IMAGE defaults to ~/.cache/vq7/blank-card.img. The mount point is printed.
set -euo pipefail

user=${SUDO_USER:-$(id -un)}
media=/media/$user
default_image=${XDG_CACHE_HOME:-$HOME/.cache}/vq7/blank-card.img

tmp= info=
trap 'rm -f ${tmp:+"$tmp"} ${info:+"$info"}' EXIT

die() {
  echo "blank-card: $*" >&2
  exit 1
}

need() {
  command -v "$1" >/dev/null 2>&1 || die "$1 is missing (Debian package $2)"
}

# One empty record: 17 zero bytes, then field 8 = 127, both tempos 102.0 BPM
# (1020, big-endian) and a zero between them.
information_file() {
  local i
  for ((i = 0; i < 128; ++i)); do
    printf '\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x7f\x03\xfc\0\x03\xfc'
  done
}

make_image() {
  local image=$1 size=${2:-64}
  [[ $size =~ ^[0-9]+$ ]] && ((size >= 16 && size <= 2048)) ||
    die "size must be 16 to 2048 MB for FAT16, not '$size'"
  need mkfs.vfat dosfstools
  need mmd mtools
  mkdir -p "$(dirname "$image")"
  tmp=$(mktemp "$image.XXXXXX")
  info=$(mktemp)
  truncate -s "${size}M" "$tmp"
  mkfs.vfat -F 16 -n VQ730 "$tmp" >/dev/null
  information_file >"$info"
  [ "$(stat -c %s "$info")" = 2944 ] || die "sample-information file has the wrong size"
  MTOOLS_SKIP_CHECK=1 mmd -i "$tmp" ::TAVRIN ::TAVRIN/VQ730
  MTOOLS_SKIP_CHECK=1 mcopy -i "$tmp" "$info" ::TAVRIN/VQ730/WVCINFO0.VQD
  mv "$tmp" "$image"
  rm -f "$info"
  echo "$image"
}

is_mounted() {
  # Field 5 of the mount table is the mount point, spaces escaped as \040.
  awk -v p="$1" '{ gsub(/\\040/, " ", $5); if ($5 == p) found = 1 } END { exit !found }' \
    /proc/self/mountinfo
}

mount_image() {
  local image=${1:-$default_image} name=${2:-VQ730}
  [[ $name != */* && $name != . && $name != .. && -n $name ]] || die "bad volume name '$name'"
  need fusefat fusefat
  [ -e /dev/fuse ] || die "/dev/fuse is missing: this machine cannot mount through FUSE"
  [ -f "$image" ] || make_image "$image" >/dev/null
  local point=$media/$name
  is_mounted "$point" && die "$point is mounted already"
  if ! mkdir -p "$point" 2>/dev/null; then
    command -v sudo >/dev/null || die "cannot create $point"
    sudo mkdir -p "$point"
    sudo chown "$(id -u):$(id -g)" "$media" "$point"
  fi
  fusefat -o rw+ "$image" "$point" >/dev/null 2>&1 || die "fusefat could not mount $image"
  echo "$point"
}

unmount_image() {
  local name=${1:-VQ730} point
  point=$media/$name
  is_mounted "$point" || die "$point is not mounted"
  if command -v fusermount3 >/dev/null; then
    fusermount3 -u "$point"
  else
    fusermount -u "$point"
  fi
  rmdir "$point" 2>/dev/null || true
}

case ${1:-} in
make)
  [ $# -ge 2 ] || die "usage: $0 make IMAGE [SIZE_MB]"
  make_image "$2" "${3:-64}"
  ;;
mount) mount_image "${2:-}" "${3:-}" ;;
unmount) unmount_image "${2:-}" ;;
*)
  sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
  ;;
esac
