#!/usr/bin/env bash
# Installs the built .deb on this machine with apt-get (as on a clean Debian 12)
# and checks the installed programs: tabulon-cli answers, the desktop entry and
# MIME type are registered, the user guide is there, and tabulon starts and
# keeps running under Xvfb.
set -euo pipefail
deb=$(ls "${1:-build}"/tabulon_*.deb | head -n 1)
apt-get install -y "./$deb" xvfb xauth >/dev/null
command -v tabulon tabulon-cli
tabulon-cli --version
desktop-file-validate /usr/share/applications/tabulon.desktop
grep -q 'application/x-tabulon-table:\*\.tbn' /usr/share/mime/globs2
man -w tabulon-cli >/dev/null
test -f /usr/share/doc/tabulon/help/index.html
test -f /usr/share/tabulon/samples/住所録.tbn

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '2\r\n3\r\n15\r\n64\r\n\x96\xbc\x91\x4f\r\n\x8eR\x93c\r\n\r\n' > "$work/t.tbn"
# Started from the file manager's way: `tabulon %f`. Still running after 5 s
# means it came up and waits for the user (timeout's status 124).
status=0
(cd "$work" && HOME="$work" timeout 5 xvfb-run -a tabulon "$work/t.tbn") || status=$?
if [ "$status" -ne 124 ]; then
    echo "tabulon ended with status $status instead of running" >&2
    exit 1
fi
echo "installed package works"
