#!/usr/bin/env bash
# Makes the README's pictures of Tavo: the sample worksheet (examples/) and its
# first Single solution dialog, under a virtual X server of their own.
#
# usage: tools/make-screenshots.sh [BUILD_DIR] [DISPLAY_NUMBER]
# writes docs/images/worksheet.png and docs/images/single-solution.png
# needs Xvfb, openbox, xdotool and ImageMagick (apt-get install -y xvfb openbox
# xdotool imagemagick)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
display=":${2:-99}"
out="$root/docs/images"
mkdir -p "$out"

[[ -x "$build/bin/Tavo" ]] || { echo "make-screenshots: $build/bin/Tavo is not built" >&2; exit 2; }
sheet="$(mktemp -d)/weekly-returns.kvl"
"$build/bin/korvel-convert" --prices --min-return 0.5 "$root/examples/weekly-prices.csv" "$sheet"

Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
home="$(mktemp -d)"
cleanup() {
    [[ -n "${tavo:-}" ]] && kill "$tavo" 2>/dev/null || true
    [[ -n "${wm:-}" ]] && kill "$wm" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$home" "$(dirname "$sheet")"
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# A settings store of its own, so no recent-file list of the user shows.
HOME="$home" XDG_CONFIG_HOME="$home/.config" "$build/bin/Tavo" "$sheet" >/dev/null 2>&1 &
tavo=$!
window=""
for _ in $(seq 100); do
    window="$(xdotool search --onlyvisible --name "Korvel" 2>/dev/null | head -n 1)" && [[ -n "$window" ]] && break
    sleep 0.2
done
[[ -n "$window" ]] || { echo "make-screenshots: Tavo's window did not appear" >&2; exit 1; }
xdotool windowactivate --sync "$window"
sleep 1
import -window "$window" -frame "$out/worksheet.png"

xdotool key --window "$window" ctrl+g
dialog=""
for _ in $(seq 100); do
    dialog="$(xdotool search --onlyvisible --name "Single solution" 2>/dev/null | head -n 1)" && [[ -n "$dialog" ]] && break
    sleep 0.2
done
[[ -n "$dialog" ]] || { echo "make-screenshots: the Single solution dialog did not appear" >&2; exit 1; }
sleep 1
import -window "$dialog" -frame "$out/single-solution.png"
xdotool key --window "$dialog" Escape
echo "wrote $out/worksheet.png and $out/single-solution.png"
