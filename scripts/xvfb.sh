# Sourced by the scripts that open windows: starts a private X server for the
# editor's windows unless one is already given (VORN_FORCE_XVFB=1 starts one
# all the same). The caller stops it with stop_private_display, from its own
# exit trap.
#
# The server picks a free display number itself (-displayfd) and writes it
# once it accepts connections, so scripts started at the same moment, e.g.
# tests run in parallel, never end up sharing one server. It does not reset
# when its last client leaves (-noreset): a program that closes its one
# connection and opens another would find it refusing connections meanwhile.
start_private_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${VORN_FORCE_XVFB:-}" ]; then return 0; fi
  local number_file n=""
  number_file=$(mktemp "${TMPDIR:-/tmp}/vorn-xvfb.XXXXXX")
  Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" \
    >/dev/null 2>&1 &
  VORN_XVFB_PID=$!
  for _ in $(seq 1 100); do
    # Complete once the line has its newline.
    if [ "$(wc -l <"$number_file")" -ge 1 ]; then
      n=$(head -n 1 "$number_file")
      break
    fi
    sleep 0.1
  done
  rm -f "$number_file"
  export DISPLAY=":$n"
}

stop_private_display() {
  if [ -n "${VORN_XVFB_PID:-}" ]; then
    kill "$VORN_XVFB_PID" 2>/dev/null || true
    wait "$VORN_XVFB_PID" 2>/dev/null || true
    VORN_XVFB_PID=
  fi
}
