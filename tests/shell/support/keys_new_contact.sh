#!/bin/bash
# Runs inside ime-session (../shared/tools/ime-session beside the checkout),
# keys only, on an empty book: F10 opens the menu and Escape closes just the
# menu, then F10 and N (the mnemonic) choose "Nuevo"; the name "Ana", Shift+Tab to the birthday,
# F4 opens its calendar, the year 1990 typed, Page Up or Page Down to March,
# End to the 31st and Return picks it; Return saves the contact, and F10,
# End and Return choose "Salir".
# Argument: the program. Exit status 4 when Escape on the menu ended the
# program. The caller reads the saved data file.
set -u
. "$(dirname "$0")/session.sh"
start_program "$1" "$IME_DIR"

"$IME_TOOL" focus '^Contactos$' 20 > /dev/null || exit 1
"$IME_TOOL" engine xkb:us::eng
sleep 1
"$IME_TOOL" key F10 Escape
sleep 0.5
kill -0 "$app" 2> /dev/null || exit 4
"$IME_TOOL" key F10 n
sleep 1
"$IME_TOOL" key A n a shift+Tab F4 1 9 9 0
month=$((10#$(date +%m)))
while [ "$month" -gt 3 ]; do "$IME_TOOL" key Prior; month=$((month - 1)); done
while [ "$month" -lt 3 ]; do "$IME_TOOL" key Next; month=$((month + 1)); done
"$IME_TOOL" key End Return Return
sleep 0.5
"$IME_TOOL" key F10 End Return
wait_for_program
