#!/bin/sh
# Builds a MIME database from our entry alone and checks that *.tbn maps to it.
set -eu
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/packages"
cp "$1" "$dir/packages/tabulon.xml"
update-mime-database "$dir" 2>&1
grep -q '^[0-9]*:application/x-tabulon-table:\*\.tbn' "$dir/globs2"
