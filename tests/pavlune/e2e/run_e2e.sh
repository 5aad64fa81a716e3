#!/usr/bin/env bash
# End-to-end test of Pavlune on a private X server with a real tray host, real key events and the
# real clipboard. Usage: run_e2e.sh PAVLUNE CLIPBOARD_OWNER
#
# Every step waits for what it can observe (a window shown or gone, the clipboard changed, a hotkey
# that converts) rather than for a fixed time, so a loaded machine only makes the run slower.
# Only the checks that something does NOT happen wait a fixed grace time; a sound program passes
# them however slow it is.
set -uo pipefail

pavlune=$1
owner=$2
for tool in Xvfb trayer xdotool xclip; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed" >&2
        exit 77
    fi
done

timeout=20  # seconds for anything that should happen
grace_tenths=15  # tenths of a second in which something that should not happen would have happened

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() {  # check DESCRIPTION EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}
show_logs() {
    for log in "$work"/*.log; do
        [ -e "$log" ] && { echo "== $log"; cat "$log"; }
    done
}
# fatal WHAT: a step the rest depends on did not happen.
fatal() {
    echo "FAIL $1" >&2
    show_logs >&2
    exit 1
}
# wait_for WHAT COMMAND...: runs COMMAND until it succeeds; after $timeout seconds says what did not happen.
wait_for() {
    local what=$1
    shift
    local deadline=$((SECONDS + timeout))
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "TIMEOUT after ${timeout}s waiting for $what" >&2
            return 1
        fi
        sleep 0.1
    done
}
# stays COMMAND...: COMMAND keeps succeeding throughout the grace time.
stays() {
    for _ in $(seq "$grace_tenths"); do
        "$@" || return 1
        sleep 0.1
    done
}

# A free display number, chosen by the server itself.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
wait_for "Xvfb to start" test -s "$work/display" || fatal "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY
# Nothing of the desktop session reaches the programs: the tray is trayer's, the balloon Qt's own.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"

trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 \
    >"$work/trayer.log" 2>&1 &
trayer_pid=$!
pids+=($trayer_pid)
trayer_shown() { [ -n "$(xdotool search --all --onlyvisible --pid "$trayer_pid" --name '^panel$' 2>/dev/null)" ]; }
wait_for "the tray host" trayer_shown || fatal "trayer did not show its panel"

# Windows of one Pavlune process. The main window is the visible top-level window named Pavlune;
# the tray icon is the process's visible window embedded in the tray host.
main_window() {  # main_window PID
    xdotool search --all --maxdepth 1 --onlyvisible --pid "$1" --name '^Pavlune$' 2>/dev/null | head -n1
}
top_level_windows() {  # top_level_windows PID: every visible top-level window, message boxes and balloons too
    xdotool search --all --maxdepth 1 --onlyvisible --pid "$1" 2>/dev/null | sort
}
tray_icon() {  # tray_icon PID
    comm -23 <(xdotool search --all --onlyvisible --pid "$1" 2>/dev/null | sort) <(top_level_windows "$1") | head -n1
}
warning_box() {  # warning_box PID
    xdotool search --all --maxdepth 1 --onlyvisible --pid "$1" --name '^警告$' 2>/dev/null | head -n1
}
window_shown() { [ -n "$(main_window "$1")" ]; }
window_hidden() { [ -z "$(main_window "$1")" ]; }
no_window_shown() { [ -z "$(top_level_windows "$1")" ]; }
icon_in_tray() { [ -n "$(tray_icon "$1")" ]; }
warning_shown() { [ -n "$(warning_box "$1")" ]; }
has_exited() { ! kill -0 "$1" 2>/dev/null; }

clipboard() { xclip -o -selection clipboard 2>/dev/null; }
targets() { xclip -o -selection clipboard -t TARGETS 2>/dev/null | sort | tr '\n' ' '; }
clipboard_is() { [ "$(clipboard)" == "$1" ]; }
clipboard_is_not() { [ "$(clipboard)" != "$1" ]; }
offers() { xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -qx "$1"; }
set_clipboard() {
    printf '%s' "$1" | xclip -selection clipboard -i
    wait_for "the clipboard to hold [$1]" clipboard_is "$1" || fatal "xclip did not take the clipboard"
}
# converted KEYS: presses the keys once; prints the clipboard once it has changed.
converted() {
    local before
    before=$(clipboard)
    xdotool key "$@"
    wait_for "the clipboard to change after $*" clipboard_is_not "$before"
    clipboard
}
# untouched KEYS: presses the keys; prints the clipboard after the grace time, or as soon as it changes.
untouched() {
    local before
    before=$(clipboard)
    xdotool key "$@"
    stays clipboard_is "$before"
    clipboard
}
# hotkey_gives KEYS RESULT: pressed once, the keys turn the clipboard into RESULT within two seconds.
hotkey_gives() {
    xdotool key "$1"
    local deadline=$((SECONDS + 2))
    while [ "$SECONDS" -lt "$deadline" ]; do
        clipboard_is "$2" && return 0
        sleep 0.1
    done
    return 1
}
# live KEYS TEXT RESULT: waits until the hotkey is registered: pressed again and again on TEXT until it
# gives RESULT, as registration has no other outward sign. The conversions used are idempotent.
live() {
    set_clipboard "$2"
    wait_for "$1 to become live" hotkey_gives "$1" "$3"
}

# start_pavlune NAME: runs Pavlune with its own settings folder; prints its process id.
start_pavlune() {
    mkdir -p "$work/$1"
    XDG_CONFIG_HOME="$work/$1" "$pavlune" >"$work/$1.log" 2>&1 &
    echo $!
}
# shown_with_icon PID: waits until the main window is shown and the icon sits in the tray.
shown_with_icon() {
    wait_for "the window of Pavlune $1" window_shown "$1" || fatal "Pavlune did not show its window"
    wait_for "the tray icon of Pavlune $1" icon_in_tray "$1" || fatal "Pavlune's icon did not reach the tray"
}
# press_ok PID: presses Enter in the main window (its OK button).
press_ok() {
    xdotool windowfocus --sync "$(main_window "$1")" key Return
}
quit_pavlune() {  # quit_pavlune PID
    kill "$1" 2>/dev/null
    wait_for "Pavlune $1 to end" has_exited "$1" || fatal "Pavlune did not end"
}
# click_tray_icon PID: a left click in the middle of the process's tray icon.
click_tray_icon() {
    # Qt's balloon, raised on each trip to the tray, opens next to the icon and may cover it:
    # click it away first (it also closes by itself after a while).
    local balloon
    for balloon in $(top_level_windows "$1"); do
        eval "$(xdotool getwindowgeometry --shell "$balloon")"
        xdotool mousemove --window "$balloon" $((WIDTH / 2)) $((HEIGHT / 2)) click 1
    done
    wait_for "the balloon to close" no_window_shown "$1" || return 1
    local icon
    icon=$(tray_icon "$1")
    [ -n "$icon" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    # Far from the balloon and long after its click: never taken for a double click.
    sleep 0.5
    xdotool mousemove --window "$icon" $((WIDTH / 2)) $((HEIGHT / 2)) click 1
}
write_settings() {  # write_settings NAME: the ini text on stdin
    mkdir -p "$work/$1/Kestrino/Pavlune"
    sed 's/$/\r/' >"$work/$1/Kestrino/Pavlune/Pavlune.ini"
}
entry() {  # entry N TASKTYPE SHIFT CTRL ENABLED KEY
    printf '[KEY_CONFIG_%s]\nTASKTYPE=%s\nSHIFT=%s\nCTRL=%s\nALT=0\nENABLED=%s\nKEY=%s\nCAPTION=x\nTARGET=0\n\n' "$@"
}
yes_no() { "$@" && echo yes || echo no; }

# 1. The default list, in the tray.
first=$(start_pavlune defaults)
pids+=($first)
shown_with_icon "$first"
press_ok "$first"
wait_for "the window to go to the tray" window_hidden "$first"
check "window hidden in the tray" "" "$(main_window "$first")"
check "Ctrl+1 converts to hiragana" "yes" "$(yes_no live ctrl+1 "カタカナ" "かたかな")"
set_clipboard "abc"
check "Ctrl+6 converts to upper case" "ABC" "$(converted ctrl+6)"

"$owner" "カタカナ" &
pids+=($!)
check "text and HTML offered" "yes" "$(yes_no wait_for "the HTML copy" offers text/html)"
check "text with other formats becomes converted plain text" "かたかな" "$(converted ctrl+1)"
check "only plain text is left" "0" "$(targets | grep -c 'text/html')"

printf '\x89PNG\r\n\x1a\n' >"$work/picture.png"
xclip -selection clipboard -t image/png -i "$work/picture.png"
wait_for "the picture on the clipboard" offers image/png || fatal "xclip did not take the clipboard"
xdotool key ctrl+1
check "a clipboard without text is left alone" "yes" "$(yes_no stays offers image/png)"

# 2. A second Pavlune whose list holds a combination the first one has grabbed.
{ entry 0 0 0 1 1 116; entry 1 1 0 1 1 49; printf '[STARTUP]\nMinimized=0\n'; } | write_settings clash
second=$(start_pavlune clash)
pids+=($second)
shown_with_icon "$second"
press_ok "$second"
check "a combination held elsewhere gives the warning" "yes" \
    "$(yes_no wait_for "the registration warning" warning_shown "$second")"
check "the window comes back with the warning" "yes" "$(yes_no window_shown "$second")"
# The keys are released before the warning shows.
set_clipboard "カタカナ"
check "no hotkey of the failed list stays live (Ctrl+F5)" "カタカナ" "$(untouched ctrl+F5)"
check "the first Pavlune keeps its hotkeys" "かたかな" "$(converted ctrl+1)"
quit_pavlune "$second"

# 3. Showing the window again releases the keys: Ctrl+1 then reaches nobody.
click_tray_icon "$first"
comes_back() { wait_for "the window to come back" window_shown "$1" && stays window_shown "$1"; }
check "the tray icon brings the window back, and it stays" "yes" "$(yes_no comes_back "$first")"
# The keys are released before the window shows.
set_clipboard "カタカナ"
check "no hotkey while the window is shown" "カタカナ" "$(untouched ctrl+1)"
quit_pavlune "$first"

# 4. An entry switched off is not live: Ctrl+8 would upper-case, Ctrl+9 makes katakana.
{ entry 0 5 0 1 0 56; entry 1 1 0 1 1 57; printf '[STARTUP]\nMinimized=1\n'; } | write_settings switched
third=$(start_pavlune switched)
pids+=($third)
check "starting minimised registers the entry in force (Ctrl+9)" "yes" \
    "$(yes_no live ctrl+9 "かたかなabc" "カタカナabc")"
check "starting minimised ends in the tray" "yes" "$(yes_no window_hidden "$third")"
# One process takes its key events in order: a live Ctrl+8 would act before Ctrl+9.
set_clipboard "かたかなabc"
check "a switched-off entry is not live (Ctrl+8)" "カタカナabc" "$(converted ctrl+8 ctrl+9)"

if [ "$failures" -ne 0 ]; then
    show_logs
    exit 1
fi
