#!/usr/bin/env bash
# End-to-end run: the installed-style program folder, a prepared picture folder
# and STATE.INI, Xvfb + openbox, and xdotool for real mouse and key events.
# Usage: e2e.sh BIN_DIR [SCREENSHOT_DIR]
set -euo pipefail
bin_dir=$1
shots=${2:-}
work=$(mktemp -d)
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; shot failure; exit 1; }
step() { echo "-- $*"; }

# --- X server and window manager -------------------------------------------
display=
for n in $(seq 91 140); do
  if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start"; exit 1; }
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

shot() {
  [ -n "$shots" ] || return 0
  mkdir -p "$shots"
  import -window root "$shots/$1.png" 2>/dev/null || true
}

# Colour of one screen pixel as "R,G,B".
pixel() {
  import -window root "$work/screen.png" 2>/dev/null
  convert "$work/screen.png" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:-
}

# "X Y W H" of a window's client area in root coordinates.
client_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# Outer size including the window manager's frame, as "W H".
outer_size() {
  local frame
  frame=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
  read -r _ _ w h < <(client_geometry "$1")
  IFS=, read -r l r t b <<<"${frame:-0,0,0,0}"
  echo $((w + l + r)) $((h + t + b))
}

wait_window() {  # NAME-REGEX [COUNT] -> prints the window ids
  local want=${2:-1} ids
  for _ in $(seq 100); do
    ids=$(xdotool search --onlyvisible --name "$1" 2>/dev/null || true)
    if [ -n "$ids" ] && [ "$(wc -l <<<"$ids")" -ge "$want" ]; then echo "$ids"; return 0; fi
    sleep 0.1
  done
  return 1
}

near() {  # "R,G,B" "R,G,B": each channel within 24
  IFS=, read -r a b c <<<"$1"; IFS=, read -r d e f <<<"$2"
  [ $(( (a-d)*(a-d) < 576 && (b-e)*(b-e) < 576 && (c-f)*(c-f) < 576 )) -eq 1 ]
}

# --- program folder, pictures, state file ----------------------------------
prog=$work/prog
pics=$work/pictures
mkdir -p "$prog" "$pics"
cp "$bin_dir/quimbly" "$prog/"
[ -e "$bin_dir/quimbly-help" ] && cp "$bin_dir/quimbly-help" "$prog/"
[ -e "$bin_dir/Quimbly.hlp" ] && cp "$bin_dir/Quimbly.hlp" "$prog/"
convert -size 320x240 xc:'#e01010' BMP3:"$pics/a.bmp"
convert -size 200x400 xc:'#1020d0' -quality 95 "$pics/b.jpg"
convert -size 300x300 xc:'#10c020' BMP3:"$pics/c.bmp"
printf '[WINDOWS]\nTOP=40\nLEFT=60\nHEIGHT=520\nWIDTH=720\n[DIRECTORY]\nDIRECTORY=%s\n' "$pics" > "$prog/STATE.INI"

step "start the program"
QT_QPA_PLATFORM=xcb "$prog/quimbly" >"$work/quimbly.log" 2>&1 &
app=$!
pids+=($app)
main=$(wait_window '^クインブリ$') || fail "main window did not appear"
main=$(head -1 <<<"$main")
sleep 0.5
read -r mx my mw mh < <(client_geometry "$main")
read -r ow oh < <(outer_size "$main")
echo "main window client $mx,$my ${mw}x$mh, outer ${ow}x$oh"
[ "$ow" = 720 ] && [ "$oh" = 520 ] || fail "main window outer size ${ow}x$oh, expected 720x520"
shot main-start

step "select every file with the keyboard: Tab to the file list, Home, Shift+End"
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key Tab Tab Home shift+End
sleep 1
# Thumbnails sit in the strip above the 22-pixel status bar; the strip is 152 high.
strip_top=$((my + mh - 22 - 152))
t0=$(pixel $((mx + 8 + 80)) $((strip_top + 8 + 60)))
t1=$(pixel $((mx + 176 + 80)) $((strip_top + 8 + 60)))
t2=$(pixel $((mx + 344 + 80)) $((strip_top + 8 + 60)))
shot thumbnails
near "$t0" 224,16,16 || fail "first thumbnail shows $t0"
near "$t1" 16,32,208 || fail "second thumbnail shows $t1"
near "$t2" 16,192,32 || fail "third thumbnail shows $t2"

step "click the first thumbnail"
xdotool mousemove $((mx + 8 + 80)) $((strip_top + 8 + 60)) click 1
view=$(wait_window "^$pics//*a\\.bmp\$") || fail "no picture window titled with the file's path"
view=$(head -1 <<<"$view")
sleep 0.7
read -r ow oh < <(outer_size "$view")
[ "$ow" = 640 ] && [ "$oh" = 480 ] || fail "picture window outer size ${ow}x$oh, expected 640x480"
read -r vx vy vw vh < <(client_geometry "$view")
shot picture-window
near "$(pixel $((vx + vw / 2)) $((vy + vh / 2)))" 224,16,16 || fail "picture window centre is not the picture"

step "resize the picture window to a 400x600 client area"
xdotool windowsize --sync "$view" 400 600 || true
sleep 0.7
read -r vx vy vw vh < <(client_geometry "$view")
echo "picture window client ${vw}x$vh"
# A 320x240 picture fitted to the width: 400 x 300 at (vh - 300) / 2 from the top.
top=$(( (vh - vw * 240 / 320) / 2 ))
near "$(pixel $((vx + vw / 2)) $((vy + vh / 2)))" 224,16,16 || fail "picture not in the middle after resize"
near "$(pixel $((vx + vw / 2)) $((vy + top / 2)))" 255,255,255 || fail "margin above the picture is not the window colour"
shot picture-window-resized

step "F5 opens the slide show"
xdotool windowactivate --sync "$view" >/dev/null 2>&1 || true
xdotool key F5
slides=$(wait_window "^$pics//*a\\.bmp\$" 2) || fail "no slide show window"
sleep 0.5
shot slideshow
slide=$(grep -vx "$view" <<<"$slides" | head -1)
read -r ow oh < <(outer_size "$slide")
[ "$ow" = 640 ] && [ "$oh" = 480 ] || fail "slide show outer size ${ow}x$oh"
xdotool key alt+F4
sleep 0.5

step "File > Exit with the keyboard"
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key alt+f
sleep 0.3
xdotool key x
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "program still running after File > Exit"

step "STATE.INI written at exit"
cat "$prog/STATE.INI"
grep -qx "DIRECTORY=$pics" "$prog/STATE.INI" || fail "DIRECTORY not saved"
grep -qx "WIDTH=720" "$prog/STATE.INI" || fail "WIDTH not saved as read"
grep -qx "HEIGHT=520" "$prog/STATE.INI" || fail "HEIGHT not saved as read"
grep -qx "LEFT=60" "$prog/STATE.INI" || fail "LEFT not saved as read"
grep -qx "TOP=40" "$prog/STATE.INI" || fail "TOP not saved as read"
echo "end-to-end run passed"
