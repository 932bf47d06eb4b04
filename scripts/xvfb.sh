# Sourced: start_xvfb LOG [setsid] starts a private Xvfb and exports DISPLAY
# and XVFB_PID. The server picks its own display number (-displayfd): it
# takes the first display whose sockets it can bind, so stages that start at
# the same moment never end up on one display, and it writes the number
# only once it accepts connections. Its messages go to LOG.
# -noreset: by default the server resets whenever its last client leaves and
# drops every connection still being set up, so a Wine process connecting
# just as a short-lived xdotool or xwd exits found no display (one in ten
# such connections failed in a loop of both).
start_xvfb() {
  local log=$1 number
  number=$(mktemp)
  ${2:+setsid} Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$number" >/dev/null 2>>"$log" &
  XVFB_PID=$!
  for _ in $(seq 200); do
    grep -q '^[0-9]' "$number" && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  if ! grep -q '^[0-9]' "$number"; then
    rm -f "$number"
    echo "Xvfb did not start; its messages: $log" >&2
    return 1
  fi
  export DISPLAY=":$(head -1 "$number")"
  rm -f "$number"
}
