#!/usr/bin/env bash
# Prepares the build's own Wine prefix for the Windows tests: the per-user
# application-data folder is read from the variable TALLOW_WINE_APPDATA, so a
# test run writes defaults files only into the fresh folder given here, and
# outside a test run the folder does not resolve at all.
# Usage: wine_setup.sh <folder>
set -euo pipefail
folder=$1
rm -rf "$folder"
mkdir -p "$folder"
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
    /v AppData /t REG_EXPAND_SZ /d '%TALLOW_WINE_APPDATA%' /f >/dev/null
echo "application data for the Windows tests: $folder"
