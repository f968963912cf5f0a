#!/usr/bin/env bash
# Checks that a manual page formats without a single groff warning.
# Usage: check-man.sh PAGE. Exits 77 (skipped) where groff is missing.
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
# Every section a reader looks for.
for section in NAME SYNOPSIS DESCRIPTION 'PORT NUMBERS' OUTPUT DIAGNOSTICS 'EXIT STATUS' ENVIRONMENT FILES EXAMPLES 'SEE ALSO'; do
  grep -q "^\.SH \"\?$section\"\?\$" "$page" || { echo "$page: no section $section"; exit 1; }
done
echo "$page: formats without warnings"
