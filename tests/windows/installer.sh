#!/usr/bin/env bash
# The setup program under Wine: a silent install puts the programs and the
# Start-menu shortcut in place and registers the uninstaller; a silent
# uninstall removes the program files and keeps the player's settings.
set -euo pipefail
setup=$(ls "$1"/zentrel-*-setup.exe | head -n1)  # made by the package target
. "$(dirname "$0")/wine_poll.sh"
local_app=$("$wine" cmd /c echo %LOCALAPPDATA% | tr -d '\r')
programs=$("$wine" winepath -u "$local_app\\Programs\\ZENTREL" | tr -d '\r')
appdata=$("$wine" cmd /c echo %APPDATA% | tr -d '\r')
menu=$("$wine" winepath -u "$appdata\\Microsoft\\Windows\\Start Menu\\Programs" | tr -d '\r')
"$wine" reg add 'HKCU\Software\Pelnaro Games\ZENTREL' /v flags /t REG_DWORD /d 5 /f >/dev/null
"$wine" "$setup" /S
poll test -f "$programs/game.exe"
poll test -f "$programs/uninstall.exe"
test -f "$programs/launcher.exe"
find "$menu" -iname '*ZENTREL*.lnk' | grep -q .
"$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZENTREL' /v UninstallString >/dev/null
"$wine" "$programs/uninstall.exe" /S
poll sh -c "! test -e '$programs/game.exe'"
"$wine" reg query 'HKCU\Software\Pelnaro Games\ZENTREL' /v flags | grep -q 0x5
echo "installed and uninstalled silently; settings kept"
