# Sourced by the tests that look for windows on their X server.

# find_window SEARCH_OPTIONS...: the first window `xdotool search` finds with these options,
# waiting up to 60 s for one. A window that vanishes while xdotool looks at it ends that search
# with X's BadWindow (programs make and drop windows while they start), so the search is made again
# rather than left to wait by itself (--sync).
find_window() {
  local window attempt
  for attempt in $(seq 120); do
    window=$(xdotool search "$@" 2>/dev/null | head -n 1)
    [ -n "$window" ] && { echo "$window"; return 0; }
    sleep 0.5
  done
  return 1
}
