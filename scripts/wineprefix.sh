#!/usr/bin/env bash
# Creates a project-local Wine prefix once (usage: wineprefix.sh DIR [--unmanaged]).
# Japanese system texts need IPAGothic linked behind the default UI fonts.
# --unmanaged (the test prefixes): Wine positions and focuses the windows
# itself. Xvfb runs no window manager, and a managed window would make Wine
# wait 2 s for one at every window it hides.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: wineprefix.sh DIR [--unmanaged]}")
mode=${2:-}
ready=$prefix/.wolt-ready-3${mode:+-unmanaged}
[ -f "$ready" ] && exit 0

# Wine's errors go to DIR.log, shown when a step fails.
export WINEPREFIX="$prefix" WINEDEBUG=err+all,+timestamp WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(dirname "$0")/wine.sh
log=$prefix.log
mkdir -p "$prefix"
: > "$log"
trap 'status=$?; [ $status -eq 0 ] || { echo "wineprefix.sh: making $prefix failed (exit $status); $log ends:" >&2; tail -40 "$log" >&2; }' EXIT
[ -f "$prefix/system.reg" ] || "$wine" wineboot -i >>"$log" 2>&1

link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic"; do
  "$wine" reg add "$link" /v "$face" /t REG_MULTI_SZ /d "ipag.ttf,IPAGothic" /f >>"$log" 2>&1
done
# A font asked for by charset alone (Shift-JIS, fixed pitch, no face name: the
# panels' font) comes from Wine's default fixed family, "Courier New"; without
# it Wine takes the first family with the charset, which may be one without
# Latin glyphs (Droid Sans Fallback, pulled in by the map tools).
for face in "MS UI Gothic" "MS Gothic" "Courier New"; do
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d IPAGothic /f >>"$log" 2>&1
done
managed=Y
[ "$mode" = --unmanaged ] && managed=N
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d $managed /f >>"$log" 2>&1
/usr/lib/wine/wineserver -w
rm -f "$prefix"/.wolt-ready-*
touch "$ready"
