#!/usr/bin/env bash
# Installs the game into a scratch prefix and checks that a desktop finds
# everything it needs: the binary, a valid desktop entry, the icon and the
# how-to-play page.
set -euo pipefail

build=$(dirname "$(readlink -f "$1")")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null
for file in bin/quadrill share/applications/quadrill.desktop \
            share/icons/hicolor/64x64/apps/quadrill.png share/doc/Quadrill/how-to-play.html; do
  [ -f "$prefix/$file" ] || { echo "FAIL: $file not installed" >&2; exit 1; }
done
desktop-file-validate "$prefix/share/applications/quadrill.desktop"
grep -q '^Categories=Game;ArcadeGame;$' "$prefix/share/applications/quadrill.desktop"
head -c 8 "$prefix/share/icons/hicolor/64x64/apps/quadrill.png" | od -An -tx1 | grep -q '89 50 4e 47 0d 0a 1a 0a'
echo "install: binary, desktop entry, icon and page in place"
