#!/usr/bin/env bash
# Renews the pictures of the README and the user guide in docs/pictures/: every window of the
# program, every page of the detailed editor, and the first page of the printed report.
# Runs the built programs (./kivo test or ./kivo run builds them) under Xvfb with the
# simulated Kobu and folders of their own, so the pictures show a fresh installation.
#   tools/screenshots.sh [BUILD_DIR]      (default build/)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$top/build}"
out="$top/docs/pictures"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for tool in xvfb-run pdftoppm; do
  command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing (.ci/deps installs it)" >&2; exit 1; }
done

export KIVO_APPDATA_DIR="$work/appdata" KIVO_DOCUMENTS_DIR="$work/docs" KIVO_KOBU=sim
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

xvfb-run -a -s "-screen 0 1600x1200x24" "$build/bin/kivotool" --screenshot "$work/windows" >/dev/null

mkdir -p "$out"
rm -f "$out"/*.png
cp "$work/windows/frmMain.png" "$out/start.png"
for page in "$work"/windows/frmEnterData_page*.png; do
  n="${page##*_page}"
  cp "$page" "$out/editor-${n%.png}.png"
done
# Every other window, under the name the guide gives it.
while read -r window name; do
  cp "$work/windows/$window.png" "$out/$name.png"
done <<'LIST'
frmBasicProgPlus basic-programming
frmKivoWizard wizard
frmPassword password
frmNewPassword new-password
frmChangePasswords change-passwords
frmAlarmTypes alarm-types
frmReceiveRadio receive-radio
frmInfoRadio info-radio
frmSelectHomeAway select-homeaway
frmSelectDirectory select-directory
frmViewDefault view-default
frmAbout about
frmInformation information
frmDiagnosis diagnosis
frmGuide guide
box15009 box15009
LIST

# The report of the default configuration, as File > Print renders it.
default="$(find "$KIVO_APPDATA_DIR" -name Default.bin | head -1)"
"$build/bin/kivoctl" print "$default" --pdf "$work/report.pdf" >/dev/null
pdftoppm -f 1 -l 1 -r 70 -png "$work/report.pdf" "$work/report"
cp "$work"/report-*1.png "$out/report-page1.png"

ls "$out"
