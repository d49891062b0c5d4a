#!/usr/bin/env bash
# Unpacks the Windows package into a fresh folder and checks that it holds exactly
# the program, its data.ini, the translated guides and the user guide.
set -euo pipefail
zip=$1 into=$2
[ -f "$zip" ] || { echo "no package at $zip: build the 'package' target first"; exit 1; }
rm -rf "$into"
mkdir -p "$into"
(cd "$into" && cmake -E tar xf "$zip")
top=$(basename "$zip" .zip)
listing=$(cd "$into/$top" && find . -type f | sort | tr '\n' ' ')
echo "package holds: $listing"
[ "$listing" = "./README.txt ./data.ini ./lumetta.exe ./translations/fr/data.ini " ] || { echo "unexpected package contents"; exit 1; }
