# Sourced: start_private_xvfb starts Xvfb on a free display number and exports
# DISPLAY and XVFB_PID. The caller stops it.
# The server picks the number itself (-displayfd): it takes the display's lock file atomically,
# so tests starting side by side never share, or take over, one display.
start_private_xvfb() {
  local out i
  out=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out" >/dev/null 2>&1 &
  XVFB_PID=$!
  for i in $(seq 1 200); do
    if [ -s "$out" ] && grep -q '^[0-9][0-9]*$' "$out"; then
      export DISPLAY=":$(head -n 1 "$out")" XVFB_PID
      rm -f "$out"
      return 0
    fi
    if ! kill -0 "$XVFB_PID" 2>/dev/null; then break; fi
    sleep 0.05
  done
  kill "$XVFB_PID" 2>/dev/null || true
  rm -f "$out"
  echo "xvfb: no free display" >&2
  return 1
}
