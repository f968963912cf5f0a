#!/usr/bin/env bash
# Checks that dustplot's manual page formats without a groff warning and has
# the sections a reader looks for. Exits 77 (skipped) where groff is missing.
set -euo pipefail
page=$1

if ! command -v groff >/dev/null; then
  echo "groff not found: skipped"
  exit 77
fi
warnings=$(groff -man -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
  echo "$warnings"
  exit 1
fi
for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'INPUT' OUTPUT DIAGNOSTICS 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
  grep -q "^\.SH \"\?$section\"\?\$" "$page" || { echo "$page: no section $section"; exit 1; }
done
echo "$page: formats without warnings"
