#!/usr/bin/env bash
# Installs the game into a scratch prefix and checks that a desktop and a
# software centre find everything they need, and nothing else is installed:
# the binary, a valid desktop entry and metainfo under one id, the icon at
# every size, the manual page and the how-to-play page.
set -euo pipefail

build=$(dirname "$(readlink -f "$1")")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
id=io.github.quadrill.quadrill
sizes="16 24 32 48 64 128 256"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null

expected=(bin/quadrill share/applications/$id.desktop share/metainfo/$id.metainfo.xml
          share/man/man6/quadrill.6 share/doc/quadrill/how-to-play.html
          bin/quadrill-relay share/man/man1/quadrill-relay.1)
for size in $sizes; do expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png"); done
diff -u <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) \
  || fail "the installed files are not the expected ones"

desktop-file-validate "$prefix/share/applications/$id.desktop"
grep -q '^Categories=Game;ArcadeGame;$' "$prefix/share/applications/$id.desktop" || fail "not in the games menu"
grep -q "^Icon=$id$" "$prefix/share/applications/$id.desktop" || fail "the desktop entry does not name the icon $id"
appstreamcli validate --pedantic --strict --no-net "$prefix/share/metainfo/$id.metainfo.xml" > /dev/null \
  || fail "the metainfo does not validate: $(appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml")"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" \
  || fail "the metainfo does not launch $id.desktop"

# Each icon is a PNG of its own size with alpha that decodes whole, and
# compressed.
for size in $sizes; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ "$(identify -format '%m %w %h %A' "$icon")" = "PNG $size $size True" ] || fail "$size: $(identify "$icon")"
  [ "$(convert "$icon" rgba:- | wc -c)" = $((size * size * 4)) ] || fail "$size: does not decode"
  [ "$(stat -c %s "$icon")" -lt $((size * size * 2)) ] || fail "$size: not compressed"
done
"$prefix/bin/quadrill" --version > /dev/null || fail "the installed game does not start"
echo "install: binary, desktop entry, metainfo, $(wc -w <<< "$sizes") icons, manual and page in place"
