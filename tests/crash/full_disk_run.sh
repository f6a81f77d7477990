#!/usr/bin/env bash
# The full-disk run, as root (it mounts a file system): a 16 MiB ext4 file system in a loop-mounted image holds
# the server's database set; stk_full_disk_run fills it, sends changes, stops the server while it is full,
# frees the space and starts the server again. Usage: tests/crash/full_disk_run.sh [build folder]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d /tmp/stk-full-disk-XXXXXX)
truncate -s 16M "$work/disk.img"
mkfs.ext4 -q -F "$work/disk.img"
mkdir "$work/mnt"
mount -o loop "$work/disk.img" "$work/mnt"
trap 'umount "$work/mnt"; rm -rf "$work"' EXIT
"$build/bin/stk_full_disk_run" "$work/mnt"
