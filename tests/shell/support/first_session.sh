#!/bin/bash
# A new user's first session with the installed program, on a private
# headless X display: the program starts on its default device root, which
# does not exist yet, "Nuevo" gets the name Ana, "Salir" ends it.
# Arguments: the installed program, a folder for the display's files.
# The caller gives the environment (HOME, no XDG_*) and reads what was saved.
set -u
program=$1 work=$2
exec 5> "$work/display"
setsid Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$app" "$xvfb" 2> /dev/null' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$work/display")
export DISPLAY
unset QT_QPA_PLATFORM

"$program" --scale 1 > "$work/program.log" 2>&1 &
app=$!
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
# The command bar's "Archivo" and its items, 18 pixels each below the bar.
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.5; }
click 25 10
click 30 51 # Nuevo
xdotool type --delay 60 Ana
sleep 0.3
xdotool key Return
sleep 0.5
click 25 10
click 30 122 # Salir
for _ in $(seq 100); do
    kill -0 "$app" 2> /dev/null || break
    sleep 0.1
done
trap - EXIT
kill "$xvfb" 2> /dev/null
wait "$app"
