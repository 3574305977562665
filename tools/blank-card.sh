#!/usr/bin/env bash
# A blank VQ-730 card to try the program without the device: a FAT16 image
# holding TAVRIN/VQ730/WVCINFO0.VQD with 128 empty records, mounted where the
# program's volume popup finds it, the way a desktop mounts a real card.
#
#   tools/blank-card.sh make IMAGE [SIZE_MB]   make a blank card image (default 256 MB,
#                                              sparse; 128 to 2047 MB)
#   tools/blank-card.sh mount [IMAGE] [NAME]   make IMAGE when missing and mount it:
#                                              through udisks when it runs (at
#                                              /media/<user>/<label>), else a loop mount
#                                              as /media/<user>/NAME (default VQ730),
#                                              else through FUSE there (only an image
#                                              with 32 KB clusters, as make makes)
#   tools/blank-card.sh unmount [NAME|POINT]   unmount /media/<user>/NAME, or POINT
#
# IMAGE defaults to ~/.cache/vq7/blank-card.img. The mount point is printed on
# standard output; which way mounted it, and why others did not, on standard error.
set -euo pipefail

user=${SUDO_USER:-$(id -un)}
media=/media/$user
default_image=${XDG_CACHE_HOME:-$HOME/.cache}/vq7/blank-card.img

# The FUSE driver garbles a rename whose entries cross the end of a folder's
# first cluster: with 32 KB clusters a full card folder (257 files) stays
# inside its first one. FAT16 has such clusters from 128 MB up.
fuse_cluster_bytes=32768
min_size=128 max_size=2047

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
  local image=$1 size=${2:-256}
  [[ $size =~ ^[0-9]+$ ]] && ((size >= min_size && size <= max_size)) ||
    die "size must be $min_size to $max_size MB for FAT16 with $((fuse_cluster_bytes / 1024)) KB" \
      "clusters, not '$size'"
  need mkfs.vfat dosfstools
  need mmd mtools
  mkdir -p "$(dirname "$image")"
  tmp=$(mktemp "$image.XXXXXX")
  info=$(mktemp)
  truncate -s "${size}M" "$tmp"
  mkfs.vfat -F 16 -s $((fuse_cluster_bytes / 512)) -S 512 -n VQ730 "$tmp" >/dev/null
  information_file >"$info"
  [ "$(stat -c %s "$info")" = 2944 ] || die "sample-information file has the wrong size"
  MTOOLS_SKIP_CHECK=1 mmd -i "$tmp" ::TAVRIN ::TAVRIN/VQ730
  MTOOLS_SKIP_CHECK=1 mcopy -i "$tmp" "$info" ::TAVRIN/VQ730/WVCINFO0.VQD
  mv "$tmp" "$image"
  rm -f "$info"
  echo "$image"
}

say() {
  echo "blank-card: $*" >&2
}

# Runs a command as root: directly, through sudo (asking for a password only
# on a terminal), or not at all.
as_root() {
  if [ "$(id -u)" = 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    if [ -t 0 ]; then sudo "$@"; else sudo -n "$@"; fi
  else
    return 1
  fi
}

# "fstype source" of the mount at a point, the last one mounted there.
mount_of() {
  awk -v p="$1" '{
    point = $5; gsub(/\\040/, " ", point)
    if (point != p) next
    for (i = 6; i < NF; ++i) if ($i == "-") { found = $(i + 1) " " $(i + 2); break }
  } END { if (found != "") print found }' /proc/self/mountinfo
}

udisks_runs() {
  command -v udisksctl >/dev/null && udisksctl status >/dev/null 2>&1
}

# The kernel's FAT driver through udisks, as a desktop mounts a card; no root
# needed. udisks names the mount point after the volume label.
mount_with_udisks() {
  local image=$1 out device point
  udisks_runs || {
    say "udisks is not running here"
    return 1
  }
  out=$(udisksctl loop-setup --no-user-interaction -f "$image" 2>&1) || {
    say "udisks refused the loop device: $out"
    return 1
  }
  device=$(sed -n 's|.* as \(/dev/[^ ]*[^ .]\)\.\{0,1\}$|\1|p' <<<"$out")
  [ -b "$device" ] || {
    say "udisks made no loop device: $out"
    return 1
  }
  if out=$(udisksctl mount --no-user-interaction -b "$device" 2>&1); then
    point=$(sed -n "s|^Mounted $device at \(.*[^.]\)\.\{0,1\}$|\1|p" <<<"$out")
  else
    # A desktop's automounter may have been quicker.
    sleep 1
    point=$(awk -v d="$device" '{ for (i = 6; i < NF; ++i) if ($i == "-" && $(i + 2) == d) {
      p = $5; gsub(/\\040/, " ", p); print p; exit } }' /proc/self/mountinfo)
  fi
  if [ -z "$point" ] || [ ! -d "$point" ]; then
    say "udisks could not mount $device: $out"
    udisksctl loop-delete --no-user-interaction -b "$device" >/dev/null 2>&1 || true
    return 1
  fi
  echo "$point"
}

make_point() {
  local point=$1
  mkdir -p "$point" 2>/dev/null && return 0
  as_root mkdir -p "$point" && as_root chown "$(id -u "$user"):$(id -g "$user")" "$media" "$point"
}

# The kernel's FAT driver on a loop device, owned by the user.
mount_with_loop() {
  local image=$1 point=$2 out
  grep -qw vfat /proc/filesystems || compgen -G "/lib/modules/$(uname -r)/kernel/fs/fat/vfat.ko*" \
    >/dev/null || {
    say "the kernel has no vfat driver here"
    return 1
  }
  make_point "$point" || {
    say "cannot create $point"
    return 1
  }
  out=$(as_root mount -t vfat -o "loop,uid=$(id -u "$user"),gid=$(id -g "$user"),utf8,flush" \
    "$image" "$point" 2>&1) || {
    say "no loop mount: ${out:-mounting needs root}"
    rmdir "$point" 2>/dev/null || true
    return 1
  }
  echo "$point"
}

# Bytes per cluster from the image's boot sector: bytes per sector
# (little-endian, at 11) times sectors per cluster (at 13); 0 when unreadable.
cluster_bytes() {
  local sector cluster
  sector=$(od -An -tu2 --endian=little -j11 -N2 "$1" 2>/dev/null | tr -d ' ')
  cluster=$(od -An -tu1 -j13 -N1 "$1" 2>/dev/null | tr -d ' ')
  echo $((${sector:-0} * ${cluster:-0}))
}

# The last resort: see the README for what this driver gets wrong.
mount_with_fuse() {
  local image=$1 point=$2 bytes
  command -v fusefat >/dev/null || {
    say "fusefat is missing (Debian package fusefat)"
    return 1
  }
  [ -e /dev/fuse ] || {
    say "/dev/fuse is missing"
    return 1
  }
  bytes=$(cluster_bytes "$image")
  ((bytes >= fuse_cluster_bytes)) || {
    say "$image has clusters of $bytes bytes: through FUSE its card folder would soon be" \
      "damaged, as that driver needs $((fuse_cluster_bytes / 1024)) KB clusters. Make a new image:" \
      "remove $image (its samples go with it) and mount again, or run" \
      "'$0 make NEWIMAGE' and mount NEWIMAGE"
    return 1
  }
  make_point "$point" || {
    say "cannot create $point"
    return 1
  }
  fusefat -o rw+ "$image" "$point" >/dev/null 2>&1 || {
    say "fusefat could not mount $image"
    rmdir "$point" 2>/dev/null || true
    return 1
  }
  echo "$point"
}

mount_image() {
  local image=${1:-$default_image} name=${2:-VQ730} point
  [[ $name != */* && $name != . && $name != .. && -n $name ]] || die "bad volume name '$name'"
  [ -f "$image" ] || make_image "$image" >/dev/null
  local target=$media/$name
  [ -z "$(mount_of "$target")" ] || die "$target is mounted already"
  if point=$(mount_with_udisks "$image"); then
    say "mounted through udisks with the kernel's FAT driver"
  elif point=$(mount_with_loop "$image" "$target"); then
    say "mounted on a loop device with the kernel's FAT driver"
  elif point=$(mount_with_fuse "$image" "$target"); then
    say "mounted through FUSE (fusefat): fine for trying the program, but do not export onto it" \
      "or prepare a card for the device with it (see the README)"
  else
    die "nothing can mount $image on this machine"
  fi
  echo "$point"
}

unmount_image() {
  local arg=${1:-VQ730} point fstype source
  if [[ $arg == */* ]]; then point=${arg%/}; else point=$media/$arg; fi
  read -r fstype source <<<"$(mount_of "$point")" || true
  [ -n "${fstype:-}" ] || die "$point is not mounted"
  case $fstype in
  fuse*)
    if command -v fusermount3 >/dev/null; then
      fusermount3 -u "$point"
    else
      fusermount -u "$point"
    fi
    ;;
  *)
    if [[ $source == /dev/loop* ]] && udisks_runs &&
      udisksctl unmount --no-user-interaction -b "$source" >/dev/null 2>&1; then
      udisksctl loop-delete --no-user-interaction -b "$source" >/dev/null 2>&1 || true
      return 0
    fi
    # A loop mount frees its loop device itself.
    as_root umount "$point" || die "cannot unmount $point"
    ;;
  esac
  rmdir "$point" 2>/dev/null || true
}

case ${1:-} in
make)
  [ $# -ge 2 ] || die "usage: $0 make IMAGE [SIZE_MB]"
  make_image "$2" "${3:-256}"
  ;;
mount) mount_image "${2:-}" "${3:-}" ;;
unmount) unmount_image "${2:-}" ;;
*)
  sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
  ;;
esac
