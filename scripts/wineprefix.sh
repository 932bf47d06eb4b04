#!/usr/bin/env bash
# Creates the project-local Wine prefix once (usage: wineprefix.sh DIR).
# Japanese system texts need IPAGothic linked behind the default UI fonts.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: wineprefix.sh DIR}")
[ -f "$prefix/.wolt-ready-2" ] && exit 0

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
mkdir -p "$prefix"
[ -f "$prefix/system.reg" ] || "$wine" wineboot -i >/dev/null 2>&1

link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic"; do
  "$wine" reg add "$link" /v "$face" /t REG_MULTI_SZ /d "ipag.ttf,IPAGothic" /f >/dev/null 2>&1
done
# A font asked for by charset alone (Shift-JIS, fixed pitch, no face name: the
# panels' font) comes from Wine's default fixed family, "Courier New"; without
# it Wine takes the first family with the charset, which may be one without
# Latin glyphs (Droid Sans Fallback, pulled in by the map tools).
for face in "MS UI Gothic" "MS Gothic" "Courier New"; do
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1
done
/usr/lib/wine/wineserver -w
touch "$prefix/.wolt-ready-2"
