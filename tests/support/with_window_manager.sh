#!/bin/sh
# Runs a test program on the current X display under a window manager:
#   with_window_manager.sh WINDOW_MANAGER PROGRAM [ARGUMENTS...]
# The window manager starts first and is stopped when the program ends; the program's exit
# status is the script's.
wm=$1
shift
"$wm" >/dev/null 2>&1 &
wm_pid=$!
# The window manager has taken over the display once it owns the screen's manager selection;
# a second is ample on an idle machine, and a late start only means fewer managed windows.
sleep 1
"$@"
status=$?
kill "$wm_pid" 2>/dev/null
wait "$wm_pid" 2>/dev/null
exit "$status"
