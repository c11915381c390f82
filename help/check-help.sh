#!/bin/sh
# Checks the user guide: every page is well-formed and uses only HTML that the
# HTML parser knows, nothing is fetched from elsewhere or scripted, and every
# menu caption the program shows appears in the guide as it is shown (without
# the "&" that marks the access key).
# Usage: check-help.sh HELP_DIR UI_SOURCE_DIR
set -eu
help=$1
ui=$2
status=0
fail() { echo "$*" >&2; status=1; }

for page in "$help"/*.html; do
    xmllint --noout "$page" || fail "$page: not well-formed"
    out=$(xmllint --html --noout "$page" 2>&1) || true
    [ -z "$out" ] || fail "$page: $out"
    if grep -Eiq '<script|(src|href)="[a-z]+:' "$page"; then
        fail "$page: script or external resource"
    fi
done

# The guide's text without tags and with the entities it may use decoded.
text=$(cat "$help"/*.html | tr '\n' ' ' | sed -e 's/<[^>]*>//g' \
    -e 's/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g; s/&amp;/\&/g')

# Captions with an access key, as string literals in the window sources, and
# the four menu items that have none.
captions=$(cat "$ui"/*.cpp "$ui"/*.h | LC_ALL=C grep -o '"[^"]*(&[A-Za-z0-9])[^"]*"' |
    sed -e 's/^"//; s/"$//; s/(&\(.\))/(\1)/' | sort -u)
[ -n "$captions" ] || fail "no captions found in $ui"
printf '%s\n行の挿入\n列の挿入\n行の削除\n列の削除\n' "$captions" | while IFS= read -r caption; do
    case $text in
        *"$caption"*) ;;
        *) echo "caption missing from the guide: $caption" >&2; exit 1 ;;
    esac
done || status=1
exit $status
