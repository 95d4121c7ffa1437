#!/usr/bin/env bash
# Builds Linguarde and starts it under Wine: in the user's display when there is one,
# otherwise in a virtual display of its own, with a screenshot saved to a file.
source "$(dirname "$0")/setup.sh"

linguarde_install
linguarde_build windows

trap linguarde_cleanup EXIT
program="$LINGUARDE_ROOT/build/windows/bin/Linguarde.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  # The desktop's window manager frames the window.
  linguarde_prefix managed
  wine "$program"
else
  linguarde_prefix unmanaged
  linguarde_virtual_display
  shot="$LINGUARDE_ROOT/build/linguarde-screenshot.png"
  wine "$program" &
  for _ in $(seq 1 100); do
    xdotool search --name '^Linguarde$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1
  import -window root "$shot"
  linguarde_say "no display: Linguarde ran in a virtual display; screenshot in $shot"
fi
