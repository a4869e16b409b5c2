# The steps every scripted session of the program shares; sourced by the
# session scripts beside it.

# Starts a headless X display of its own (with no window manager) and
# exports it as DISPLAY; its files go to the folder $1.
start_display() {
    exec 5> "$1/display"
    setsid Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp -noreset > "$1/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$1/display" ] && break; sleep 0.1; done
    DISPLAY=:$(cat "$1/display")
    export DISPLAY
    unset QT_QPA_PLATFORM
}

# Starts the program $1 at scale 1, its output in $2/program.log; it is
# killed if the script ends before it.
start_program() {
    "$1" --scale 1 > "$2/program.log" 2>&1 &
    app=$!
    trap 'kill "$app" ${xvfb:-} 2> /dev/null' EXIT
}

# A tap at $1,$2 in the device screen of the window $wid.
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.5; }

# The command bar's "Archivo", then its item at the height $1 below the bar.
choose() { click 25 10; click 30 "$1"; }

# Waits up to ten seconds for the program to end; its exit status.
wait_for_program() {
    for _ in $(seq 100); do
        kill -0 "$app" 2> /dev/null || break
        sleep 0.1
    done
    trap - EXIT
    [ -z "${xvfb:-}" ] || kill "$xvfb" 2> /dev/null
    wait "$app"
}
