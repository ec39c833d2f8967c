# Sourced by the scripts that run Wine: starts a private X server for the
# editor's windows unless one is already given (VORN_FORCE_XVFB=1 starts one
# all the same). The caller stops it with stop_private_display, from its own
# exit trap.
start_private_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${VORN_FORCE_XVFB:-}" ]; then return 0; fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  VORN_XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

stop_private_display() {
  if [ -n "${VORN_XVFB_PID:-}" ]; then
    kill "$VORN_XVFB_PID" 2>/dev/null || true
    wait "$VORN_XVFB_PID" 2>/dev/null || true
    VORN_XVFB_PID=
  fi
}
