#!/usr/bin/env bash
# Checks the systemd template unit with `systemd-analyze verify`.
# Usage: check-unit.sh UNIT_FILE DUSTLOG_BINARY
# The unit runs /usr/local/bin/dustlog, which verify requires to exist; the
# copy checked here runs the freshly built binary instead. verify only warns
# about unknown keys and bad values, so any line it prints about our unit
# fails the check. Exits 77 (skipped) where systemd-analyze is missing.
set -euo pipefail
if ! command -v systemd-analyze >/dev/null; then
  echo "systemd-analyze not found: skipped"
  exit 77
fi
unit=$1
binary=$(realpath "$2")

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
name=$(basename "$unit")
sed "s#/usr/local/bin/dustlog#$binary#" "$unit" >"$dir/$name"
grep -q "^ExecStart=$binary %i\$" "$dir/$name" || { echo "no ExecStart=/usr/local/bin/dustlog %i in $unit"; exit 1; }

# An instance, so that %i expands to a port number.
instance="$dir/${name/@./@100.}"
set +e
output=$(systemd-analyze verify --man=no "$instance" 2>&1)
status=$?
set -e
echo "$output"
if [ "$status" -ne 0 ]; then
  echo "systemd-analyze verify failed with status $status"
  exit 1
fi
if grep -q -e "$dir" -e 'dustlog@' <<<"$output"; then
  echo "systemd-analyze verify warned about $name"
  exit 1
fi
echo "$name: verified"
