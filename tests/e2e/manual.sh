#!/usr/bin/env bash
# The manual page and the game's own --help tell the same options, and the
# version is the same in the game, the manual, the metainfo and the Debian
# changelog. --help and --version end with 0, a wrong option with usage and 2.
set -euo pipefail

binary=$(readlink -f "$1")
source_dir=$(readlink -f "$(dirname "$0")/../..")
page="$source_dir/dist/quadrill.6"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

"$binary" --help > "$work/help.txt" || fail "--help ended with $?"
"$binary" -h | cmp -s - "$work/help.txt" || fail "-h and --help differ"
grep -q '^Usage: quadrill' "$work/help.txt" || fail "--help prints no usage"
version=$("$binary" --version) || fail "--version ended with $?"
[ "$("$binary" -V)" = "$version" ] || fail "-V and --version differ"

status=0
"$binary" --no-such-option > "$work/out.txt" 2> "$work/err.txt" || status=$?
[ "$status" = 2 ] || fail "an unknown option ended with $status, not 2"
grep -q 'no-such-option' "$work/err.txt" || fail "the error does not name the unknown option"
tail -n +2 "$work/err.txt" | cmp -s - "$work/help.txt" || fail "the usage after an error is not --help's"
[ ! -s "$work/out.txt" ] || fail "a wrong command line printed to standard output"

# The page is clean roff, and its OPTIONS section, rendered, names exactly
# the options --help prints.
groff -man -ww -z "$page" 2> "$work/groff.txt"
[ ! -s "$work/groff.txt" ] || fail "groff warns about the manual page: $(cat "$work/groff.txt")"
groff -man -Tascii -P-cbou "$page" 2> /dev/null \
  | sed -n '/^OPTIONS/,/^[A-Z]/p' > "$work/options.txt"
options_in() { grep -oE '(^|[ ,])--?[A-Za-z][A-Za-z-]*' "$1" | sed 's/^[ ,]*//' | sort -u; }
options_in "$work/help.txt" > "$work/help-options.txt"
options_in "$work/options.txt" > "$work/page-options.txt"
[ -s "$work/help-options.txt" ] || fail "no options found in --help"
diff -u "$work/help-options.txt" "$work/page-options.txt" > "$work/diff.txt" \
  || fail "--help and the manual's OPTIONS differ:$(printf '\n'; cat "$work/diff.txt")"

# One version everywhere a player or a package tool reads it.
number=${version#quadrill }
grep -q "^\.TH QUADRILL 6 .*\"quadrill $number\"" "$page" || fail "the manual is not for version $number"
grep -q "^quadrill ($number)" "$source_dir/debian/changelog" || fail "debian/changelog does not start at $number"
first_release=$(grep -o '<release version="[^"]*"' "$source_dir"/dist/*.metainfo.xml | head -n 1)
[ "$first_release" = "<release version=\"$number\"" ] || fail "the metainfo's newest release is not $number"
echo "manual: $(wc -l < "$work/help-options.txt") options in --help and the manual alike, version $number everywhere"
