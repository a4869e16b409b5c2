#!/bin/bash
# A new user's first session with the installed program, on a private
# headless X display: the program starts on its default device root, which
# does not exist yet, "Nuevo" gets the name Ana, "Salir" ends it.
# Arguments: the installed program, a folder for the display's files.
# The caller gives the environment (HOME, no XDG_*) and reads what was saved.
set -u
. "$(dirname "$0")/session.sh"
program=$1 work=$2
start_display "$work"
start_program "$program" "$work"
wid=""
for _ in $(seq 200); do
    wid=$(xdotool search --onlyvisible --name '^Contactos$' 2> /dev/null | head -n1)
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || { echo "no window" >&2; exit 1; }
# There is no window manager: give the keyboard focus directly.
xdotool windowfocus --sync "$wid"
sleep 1
choose 51 # Nuevo
xdotool type --delay 60 Ana
sleep 0.3
xdotool key Return
sleep 0.5
choose 122 # Salir
wait_for_program
