#!/usr/bin/env bash
# Takes the README's screenshot: Linguarde under Wine in a virtual display, after a file
# has been chosen in the real Open dialog, so that the action band shows.
source "$(dirname "$0")/setup.sh"

linguarde_install
linguarde_prefix unmanaged
linguarde_build windows
trap linguarde_cleanup EXIT
linguarde_virtual_display

out="${1:-$LINGUARDE_ROOT/docs/linguarde.png}"
target_dir="$WINEPREFIX/drive_c/Projets"
mkdir -p "$target_dir"
printf 'MZ' > "$target_dir/Appli.exe"

wine "$LINGUARDE_ROOT/build/windows/bin/Linguarde.exe" &
window=$(xdotool search --sync --name '^Linguarde$' | head -n 1)
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
# "Choisir le fichier" sits at the middle of the top band.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * 12 / 100)) click 1
xdotool search --sync --name '^Choisir un exe' >/dev/null
sleep 0.5
xdotool type --delay 10 'C:\Projets\Appli.exe'
xdotool key Return
sleep 1
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
linguarde_say "screenshot saved to $out"
