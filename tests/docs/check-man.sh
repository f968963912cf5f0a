#!/usr/bin/env bash
# Checks that a manual page formats without a single groff warning and has
# the sections a reader looks for (by default those of dustlog's page).
# Usage: check-man.sh PAGE [SECTION...]. Exits 77 (skipped) where groff is missing.
set -euo pipefail
page=$1
shift
sections=("$@")
[ ${#sections[@]} -gt 0 ] ||
  sections=(NAME SYNOPSIS DESCRIPTION 'PORT NUMBERS' OUTPUT DIAGNOSTICS 'EXIT STATUS' ENVIRONMENT FILES EXAMPLES
    'SEE ALSO')

if ! command -v groff >/dev/null; then
  echo "groff not found: skipped"
  exit 77
fi

warnings=$(groff -man -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
  echo "$warnings"
  exit 1
fi
for section in "${sections[@]}"; do
  grep -q "^\.SH \"\?$section\"\?\$" "$page" || { echo "$page: no section $section"; exit 1; }
done
echo "$page: formats without warnings"
