# Sourced by the checks that run Ardour 7 headless: its Lua session tool
# (ardour7-lua) with the Dummy backend, which needs no JACK and no sound card
# and runs the engine in real time. It offers:
#
#   ardour_require              exits 77 (reported as skipped) with the reason
#                               where Ardour is not installed
#   ardour_private_home DIR     HOME and the XDG folders under DIR, so that
#                               nothing Ardour writes (configuration, plug-in
#                               cache, recent sessions) outlives the check or
#                               changes the next run; installs the gain check's
#                               DSP scripts (lua/dsp/) where Ardour finds them
#   ardour_use_lxvst MODULE DIR copies a Linux VST 2 module into DIR, the one
#                               folder Ardour then searches, and indexes it with
#                               Ardour's scanner, so Ardour finds exactly it
#   ardour_lua SCRIPT ARGS...   runs a session script from lua/ (which loads
#                               lua/ardour_check.lua) under a time limit,
#                               printing what it prints
#
# LV2 bundles need no scan: Ardour finds them along LV2_PATH at start.

ardour_check_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Debian's ardour package: the Lua session tool and, beside Ardour's
# libraries, the VST 2 scanner.
ardour_lua_tool=${VORN_ARDOUR_LUA_TOOL:-ardour7-lua}
ardour_lib_dir=${VORN_ARDOUR_LIB_DIR:-/usr/lib/ardour7}
# A session script makes or opens a session and measures a few seconds of
# audio; this bounds a hung engine.
ardour_timeout_seconds=${VORN_ARDOUR_TIMEOUT:-240}

ardour_require() {
  if ! command -v "$ardour_lua_tool" >/dev/null 2>&1; then
    echo "skipped: $ardour_lua_tool is not installed (Debian's ardour package," \
         "installed by scripts/install-deps.sh)"
    exit 77
  fi
}

ardour_private_home() {
  local home=$1
  mkdir -p "$home/config/ardour7/scripts" "$home/cache" "$home/data"
  export HOME=$home
  export XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache XDG_DATA_HOME=$home/data
  cp "$ardour_check_dir"/lua/dsp/*.lua "$home/config/ardour7/scripts/"
  export VORN_ARDOUR_LUA=$ardour_check_dir/lua
}

ardour_use_lxvst() {
  local module=$1 dir=$2
  local scanner=$ardour_lib_dir/ardour-vst-scanner
  if [ ! -x "$scanner" ]; then
    echo "skipped: Ardour's VST 2 scanner $scanner is not installed"
    exit 77
  fi
  mkdir -p "$dir"
  cp "$module" "$dir/"
  # Ardour takes the cache only if it is not older than the module, and the
  # scanner dates the cache to the whole second: the copy is dated earlier.
  touch -d "@$(($(date +%s) - 2))" "$dir/$(basename "$module")"
  # Ardour starts from its plug-in cache and scans nothing new by itself; its
  # scanner writes that cache. It runs on Ardour's own libraries.
  LD_LIBRARY_PATH=$ardour_lib_dir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} \
    timeout "$ardour_timeout_seconds" "$scanner" --quiet --force "$dir/$(basename "$module")" ||
    { echo "Ardour's scanner refused $module"; return 1; }
  export LXVST_PATH=$dir
}

ardour_lua() {
  local script=$1; shift
  timeout --kill-after=10 "$ardour_timeout_seconds" \
    "$ardour_lua_tool" "$ardour_check_dir/lua/$script" "$@" </dev/null 2>&1
}
