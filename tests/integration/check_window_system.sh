#!/usr/bin/env bash
# Fails unless the Linux module (or the LV2 editor library) carries the X11
# window system and nothing of the headless one: an editor drawn into the
# headless canvas of the tests opens as an empty window in a real host. Reads
# the module's own symbol table (the module is built with it; its exports are
# checked apart).
# Usage: check_window_system.sh <Vorn.so | vorn_ui.so>
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 <Vorn.so>" >&2
  exit 2
fi
module=$1
fail() { echo "FAIL: $*"; exit 1; }

symbols=$(nm -C --defined-only "$module") || fail "cannot read the symbols of $module"
[ -n "$symbols" ] || fail "$module has no symbol table: cannot tell its window system"

count() { grep -cF -- "$1" <<<"$symbols" || true; }
choices=$(grep -E ' vorn::platform::windowSystem\(\)$' <<<"$symbols" | wc -l)
x11=$(count "vorn::platform::x11WindowSystem()")
headless=$(count "HeadlessWindowSystem")
headless_choice=$(count "vorn::platform::headlessWindowSystem()")
echo "windowSystem(): $choices definition(s); X11 window system: $x11 symbol(s);" \
     "headless window system: $((headless + headless_choice)) symbol(s)"

[ "$choices" -eq 1 ] || fail "expected one definition of windowSystem()"
[ "$x11" -ge 1 ] || fail "the X11 window system is missing"
[ "$headless" -eq 0 ] && [ "$headless_choice" -eq 0 ] ||
  fail "the headless window system is linked in"
echo "ok"
