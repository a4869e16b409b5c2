#!/bin/bash
# Runs inside ime-session (../shared/tools/ime-session beside the checkout):
# starts the program at scale 1, opens "Nuevo", types wang and picks
# candidate 1 in the name field, types "José Müller Núñez" with dead keys
# and Compose in the address field, confirms with Enter and leaves with
# "Salir".
# Argument: the program. The caller reads the saved data file.
set -u
. "$(dirname "$0")/session.sh"
start_program "$1" "$IME_DIR"
wid=$("$IME_TOOL" focus '^Contactos$' 20) || exit 1
sleep 1
choose 51 # Nuevo
"$IME_TOOL" type wang 1
"$IME_TOOL" key Tab # the address field
"$IME_TOOL" engine xkb:us::eng
# A layout that has the dead keys and Compose (on Right Alt) on keys of its
# own: xdotool then need not remap a key code for them just before pressing
# it, which the input method at times does not see in time.
setxkbmap -layout us -variant intl -option compose:ralt
"$IME_TOOL" key J o s dead_acute e space M Multi_key quotedbl u l l e r \
    space N dead_acute u dead_tilde n e z
"$IME_TOOL" key Return
choose 122 # Salir
wait_for_program
