# Sourced: start_private_xvfb starts Xvfb on a free display number and exports
# DISPLAY and XVFB_PID. The caller stops it.
start_private_xvfb() {
  local n
  for n in $(seq 90 150); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      XVFB_PID=$!
      local i
      for i in $(seq 1 100); do
        if [ -e "/tmp/.X11-unix/X${n}" ]; then
          export DISPLAY=":$n" XVFB_PID
          return 0
        fi
        if ! kill -0 "$XVFB_PID" 2>/dev/null; then break; fi
        sleep 0.05
      done
      kill "$XVFB_PID" 2>/dev/null || true
    fi
  done
  echo "xvfb: no free display" >&2
  return 1
}
