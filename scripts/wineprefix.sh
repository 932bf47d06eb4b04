#!/usr/bin/env bash
# Creates the project-local Wine prefix once (usage: wineprefix.sh DIR).
# Japanese system texts need IPAGothic linked behind the default UI fonts.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: wineprefix.sh DIR}")
[ -f "$prefix/.wolt-ready" ] && exit 0

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
mkdir -p "$prefix"
"$wine" wineboot -i >/dev/null 2>&1

link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic"; do
  "$wine" reg add "$link" /v "$face" /t REG_MULTI_SZ /d "ipag.ttf,IPAGothic" /f >/dev/null 2>&1
done
for face in "MS UI Gothic" "MS Gothic"; do
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAGothic /f >/dev/null 2>&1
done
/usr/lib/wine/wineserver -w
touch "$prefix/.wolt-ready"
