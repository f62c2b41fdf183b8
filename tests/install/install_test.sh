#!/usr/bin/env bash
# Installs a built tree into a scratch DESTDIR under another prefix and checks
# what landed where, then runs the installed programs from there alone.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=/opt/korvel-check
root=$scratch/root$prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$scratch/root cmake --install "$build" --prefix "$prefix" >/dev/null

# Programs, and nothing else, in bin/.
expected_programs=(Tavo gridsetup korvel-solve)
[[ -e $build/bin/korvel-convert ]] && expected_programs+=(korvel-convert)
[[ -e $build/bin/korvel-backtest ]] && expected_programs+=(korvel-backtest)
actual=$(ls "$root/bin" | sort | tr '\n' ' ')
wanted=$(printf '%s\n' "${expected_programs[@]}" | sort | tr '\n' ' ')
[[ $actual == "$wanted" ]] || fail "bin/ holds '$actual', expected '$wanted'"

[[ -f $root/lib/korvel/Msflxgrd.ocx ]] || fail "no module in lib/korvel"

for program in "${expected_programs[@]}"; do
  page=$root/share/man/man1/$program.1.gz
  if [[ ! -f $page ]]; then
    fail "no manual page for $program"
  elif zcat "$page" | grep -q '@[A-Z_]*@'; then
    fail "$program.1 has an unfilled @VARIABLE@"
  fi
done
# Every option the companions' help names is in their manual pages.
# (A page is read whole first: grep -q closing a pipe early would fail it.)
for program in korvel-solve korvel-backtest; do
  [[ -x $root/bin/$program ]] || continue
  page=$(zcat "$root/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
  for option in $("$root/bin/$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -- "$option" <<<"$page" || fail "$program.1 does not describe $option"
  done
done

desktop=$root/share/applications/korvel.desktop
[[ -f $desktop ]] || fail "no desktop entry"
if [[ -f $desktop ]] && command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop entry does not validate"
fi
for size in 16 32 48 256; do
  icon=$root/share/icons/hicolor/${size}x$size/apps/korvel.png
  [[ -f $icon ]] || { fail "no ${size}px icon"; continue; }
  # PNG header: width and height are the big-endian words at bytes 16 and 20.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [[ $dims == "${size}x$size" ]] || fail "${size}px icon is $dims"
done
[[ -f $root/share/doc/korvel/copyright ]] || fail "no copyright file"

# The installed korvel-solve on a one-share worksheet.
printf '\x02\x00\x00\x00\x05\x00\x00\x00\x011\x05Alpha\x031.5\x012\x04-0.5' >"$scratch/sheet"
if ! output=$("$root/bin/korvel-solve" "$scratch/sheet"); then
  fail "installed korvel-solve failed on a worksheet"
elif [[ $output != *Alpha* ]]; then
  fail "installed korvel-solve printed no solution: $output"
fi

# The installed Tavo, started elsewhere with a fresh home and the installed
# system folder, registers the module from there and waits for the user.
home=$scratch/home
mkdir -p "$home"
(cd "$scratch" && exec env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
  KORVEL_SYSTEM_DIR="$root/lib/korvel" "$root/bin/Tavo" >"$scratch/tavo.log" 2>&1) &
tavo=$!
registry=$home/.config/ComponentRegistry/classes.ini
for _ in $(seq 100); do [[ -s $registry ]] && break; sleep 0.1; done
if kill -0 "$tavo" 2>/dev/null; then
  kill "$tavo"
  wait "$tavo" 2>/dev/null || true
  grep -qs "$root/lib/korvel/Msflxgrd.ocx" "$registry" ||
    fail "installed Tavo registered another module: $(grep -is server "$registry" || true)"
else
  wait "$tavo" && status=0 || status=$?
  fail "installed Tavo ended at start-up with status $status"
fi
case $(grep -is server "$registry") in
  *"$build"*|*"$source"*) fail "installed Tavo used the build or source tree" ;;
esac

((failures == 0)) && echo "install tree: all checks passed"
exit $((failures > 0))
