#!/usr/bin/env bash
# Maps the program's font, "メイリオ", to the Noto CJK font in the current Wine
# prefix; without it Wine falls back to a font with no Japanese glyphs.
# With --ui, Wine's own interface font (balloons, menus) is mapped too, as a
# Japanese Windows would show them.
set -euo pipefail
extra=""
[ "${1:-}" = "--ui" ] && extra='"Tahoma"="Noto Sans CJK JP"\r\n"MS Shell Dlg"="Noto Sans CJK JP"\r\n"MS Shell Dlg 2"="Noto Sans CJK JP"\r\n'
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"メイリオ"="Noto Sans CJK JP"\r\n'"$extra" \
  | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
wineserver -w
