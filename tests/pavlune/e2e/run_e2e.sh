#!/usr/bin/env bash
# End-to-end test of Pavlune on a private X server with a real tray host, real key events and the
# real clipboard. Usage: run_e2e.sh PAVLUNE CLIPBOARD_OWNER
set -uo pipefail

pavlune=$1
owner=$2
for tool in Xvfb trayer xdotool xclip; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed" >&2
        exit 77
    fi
done

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

# A free display number, chosen by the server itself.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY
trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 >/dev/null 2>&1 &
pids+=($!)
sleep 1

clipboard() { xclip -o -selection clipboard 2>/dev/null; }
targets() { xclip -o -selection clipboard -t TARGETS 2>/dev/null | sort | tr '\n' ' '; }
set_clipboard() { printf '%s' "$1" | xclip -selection clipboard -i; sleep 0.3; }
# The clipboard after the keys, once it has changed or a while has passed.
after_keys() {
    local before
    before=$(clipboard)
    xdotool key "$@"
    for _ in $(seq 20); do
        sleep 0.1
        [ "$(clipboard)" != "$before" ] && break
    done
    clipboard
}

# start_pavlune NAME: runs Pavlune with its own settings folder; prints its window id.
start_pavlune() {
    export XDG_CONFIG_HOME="$work/$1"
    mkdir -p "$XDG_CONFIG_HOME"
    "$pavlune" >"$work/$1.log" 2>&1 &
    pids+=($!)
    local window=""
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --pid "$!" --name '^Pavlune$' 2>/dev/null | head -n1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    echo "$window"
}
# to_tray WINDOW: presses Enter in the window (its OK button), then waits for the window to go.
to_tray() {
    xdotool windowfocus --sync "$1" key Return
    for _ in $(seq 30); do
        xdotool search --onlyvisible --name '^Pavlune$' 2>/dev/null | grep -qx "$1" || break
        sleep 0.1
    done
    sleep 0.5
}
write_settings() {  # write_settings NAME: the ini text on stdin
    mkdir -p "$work/$1/Kestrino/Pavlune"
    sed 's/$/\r/' >"$work/$1/Kestrino/Pavlune/Pavlune.ini"
}
entry() {  # entry N TASKTYPE SHIFT CTRL ENABLED KEY
    printf '[KEY_CONFIG_%s]\nTASKTYPE=%s\nSHIFT=%s\nCTRL=%s\nALT=0\nENABLED=%s\nKEY=%s\nCAPTION=x\nTARGET=0\n\n' "$@"
}

# 1. The default list, in the tray.
first=$(start_pavlune defaults)
[ -n "$first" ] || { echo "FAIL Pavlune did not show its window"; cat "$work/defaults.log"; exit 1; }
to_tray "$first"
check "window hidden in the tray" "" "$(xdotool search --onlyvisible --name '^Pavlune$')"
set_clipboard "カタカナ"
check "Ctrl+1 converts to hiragana" "かたかな" "$(after_keys ctrl+1)"
set_clipboard "abc"
check "Ctrl+6 converts to upper case" "ABC" "$(after_keys ctrl+6)"

"$owner" "カタカナ" &
owner_pid=$!
pids+=($owner_pid)
sleep 0.5
check "text and HTML offered" "1" "$(targets | grep -c 'text/html')"
check "text with other formats becomes converted plain text" "かたかな" "$(after_keys ctrl+1)"
check "only plain text is left" "0" "$(targets | grep -c 'text/html')"

printf '\x89PNG\r\n\x1a\n' >"$work/picture.png"
xclip -selection clipboard -t image/png -i "$work/picture.png"
sleep 0.3
xdotool key ctrl+1
sleep 1
check "a clipboard without text is left alone" "image/png" \
    "$(xclip -o -selection clipboard -t TARGETS | grep -x 'image/png')"

# 2. A second Pavlune whose list holds a combination the first one has grabbed.
{ entry 0 0 0 1 1 116; entry 1 1 0 1 1 49; printf '[STARTUP]\nMinimized=0\n'; } | write_settings clash
second=$(start_pavlune clash)
to_tray "$second"
warning=""
for _ in $(seq 30); do
    warning=$(xdotool search --onlyvisible --name '^警告$' 2>/dev/null | head -n1)
    [ -n "$warning" ] && break
    sleep 0.1
done
check "a combination held elsewhere gives the warning" "yes" "$([ -n "$warning" ] && echo yes || echo no)"
set_clipboard "カタカナ"
check "no hotkey of the failed list stays live (Ctrl+F5)" "カタカナ" "$(after_keys ctrl+F5)"
check "the first Pavlune keeps its hotkeys" "かたかな" "$(after_keys ctrl+1)"
[ -n "$warning" ] && xdotool windowfocus --sync "$warning" key Return

# 3. Showing the window again releases the keys: Ctrl+1 then reaches nobody.
xdotool mousemove 1010 12 click 1
sleep 1
check "the tray icon brings the window back" "$first" \
    "$(xdotool search --onlyvisible --name '^Pavlune$' | grep -x "$first")"
set_clipboard "カタカナ"
check "no hotkey while the window is shown" "カタカナ" "$(after_keys ctrl+1)"

# 4. An entry switched off is not live.
{ entry 0 0 0 1 0 56; entry 1 1 0 1 1 57; printf '[STARTUP]\nMinimized=1\n'; } | write_settings switched
start_pavlune switched >/dev/null
sleep 1.5  # starts minimised: goes to the tray at the first idle moment
set_clipboard "かたかな"
check "a switched-off entry is not live (Ctrl+8)" "かたかな" "$(after_keys ctrl+8)"
check "the entry in force is live (Ctrl+9)" "カタカナ" "$(after_keys ctrl+9)"

if [ "$failures" -ne 0 ]; then
    for log in "$work"/*.log; do echo "== $log"; cat "$log"; done
    exit 1
fi
