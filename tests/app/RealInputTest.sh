#!/usr/bin/env bash
# RealInputTest.sh PART PROGRAM [PLAIN_DRIVE]
#
# Drives a copy of the real program with key presses and clicks that the display server delivers
# (xdotool on an Xvfb display of the test's own, under a light window manager, as on a desktop),
# and reads what they did from the files on disk, the windows on the screen and whether the program
# still answers. PART is one of:
#   types    each time a type button becomes the chosen one, by a click or an arrow key, in changing
#            order and back to the type chosen at start-up, that type's list is loaded
#   session  the keyboard alone: arrows, Delete and Backspace in the list, Tab to the buttons, Enter
#            and Escape in the boxes, the focus kept through each box and a minimise, and Print
#            with no printer
#   scan     Escape, Enter, Space and the window manager's close during a scan held up by a drive
#            that does not answer (PLAIN_DRIVE --silent) cancel it, end nothing, and give the keys
#            back to the list
#   silent   Delete, Rename and Copy of a picture whose drive has just stopped answering: the window
#            answers, a wait window comes up, Exit ends the program within a second, and the list
#            file is as it was
#   owner    a picture named DSC001.JPG renamed Holiday.JPG keeps that name; a second start by
#            another user on the same shared folder, and one beside a copy that does not answer,
#            each say so in a box and end, and no second window opens
#   print    Print to a print system of the test's own (cupsd with a cups-pdf queue): a picture that
#            fits is printed at its own size at the top left, a larger one scaled to the page with
#            its long side along the sheet's, on one sheet each, read from the PDF the queue wrote;
#            Cancel prints nothing, and a queue that takes no jobs is said to have printed nothing
# Exits 77, skipped, when a tool it needs is missing or no FUSE drive can be mounted.
# shellcheck disable=SC2317 # the conditions are called through within
set -euo pipefail
export LC_ALL=C.UTF-8

part=${1:?part} program=${2:?program} plain_drive=${3:-}

# The drive is mounted in a mount namespace of the test's own, where it can be had (as root), so
# that a test killed midway leaves nothing mounted.
if { [ "$part" = scan ] || [ "$part" = silent ]; } && [ -z "${ZELVANO_OWN_MOUNTS:-}" ] && [ "$(id -u)" = 0 ] &&
    unshare -m --propagation private true 2>/dev/null; then
    ZELVANO_OWN_MOUNTS=1 exec unshare -m --propagation private "$0" "$@"
fi

skip() {
    echo "SKIPPED: $*"
    exit 77
}
for tool in Xvfb xdotool openbox; do
    command -v "$tool" >/dev/null || skip "no $tool here (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d)
app='' wm='' xvfb='' drive='' cups=''

# Ends a child of ours: politely, then for certain.
end() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.05
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    set +e
    # A listing held up by the drive would hold the program's end up too.
    [ -n "$drive" ] && kill -USR1 "$drive" 2>/dev/null
    [ -n "$app" ] && end "$app"
    if [ -n "$drive" ]; then
        end "$drive" # which unmounts it
        fusermount3 -u -z "$work/drive" 2>/dev/null
    fi
    [ -n "$cups" ] && end "$cups"
    [ -n "$wm" ] && end "$wm"
    [ -n "$xvfb" ] && end "$xvfb"
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT HUP PIPE # the clean-up runs on these too

fail() {
    echo "FAILED: $*" >&2
    echo "Windows on the screen:" >&2
    for w in $(xdotool search --onlyvisible --class '^Zelvano$' 2>/dev/null); do
        echo "  '$(xdotool getwindowname "$w")' $(xdotool getwindowgeometry "$w" | sed -n 3p)" >&2
    done
    exit 1
}

now_ms() {
    local t=${EPOCHREALTIME/./}
    echo $((t / 1000))
}
# Polls until the command holds; fails the test when it has not after $1 seconds.
within() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        (($(now_ms) < deadline)) || fail "not so after the time it was given: $*"
        sleep 0.05
    done
}

# --- The display, the window manager and the program ---

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
has_display() { [ -s "$work/display" ]; }
within 10 has_display
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
wm_runs() { xdotool get_num_desktops >/dev/null 2>&1; } # set by the window manager
within 10 wm_runs

export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run"
export CUPS_SERVER="$work/no-cups.sock" # no printer is installed
unset SESSION_MANAGER
mkdir -m 700 "$work/run" "$work/app"
cp "$program" "$work/app/"

main_title='^Zelvano - Version'
box_title='^Zelvano$' # the message boxes, and the wait window of the scan

start_program() {
    (cd "$work/app" && exec "./$(basename "$program")" >"$work/program.log" 2>&1) &
    app=$!
}
main_window() { xdotool search --onlyvisible --name "$main_title" 2>/dev/null | head -n1; }
main_shown() { [ -n "$(main_window)" ]; }
active_is() { [ -n "$1" ] && [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
main_active() { active_is "$(main_window)"; }
press() { xdotool key --clearmodifiers "$@"; }

# A list file: for each name given, its folder $1 and the name, each line ended by CR LF.
write_list() {
    local file=$1 folder=$2
    shift 2
    : >"$file"
    for name in "$@"; do printf '%s\r\n%s\r\n' "$folder" "$name" >>"$file"; done
}
records() { echo $(($(wc -l <"$1") / 2)); }

# A bitmap of 2 x 2 red pixels: its file header, its info header, and two rows of 8 bytes.
write_bmp() {
    {
        printf 'BM\x46\0\0\0\0\0\0\0\x36\0\0\0'
        printf '\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x10\0\0\0'
        printf '\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0'
        printf '\0\0\xff\0\0\xff\0\0\0\0\xff\0\0\xff\0\0'
    } >"$1"
}

# --- Boxes: each is a new window; the test answers the next one once it has the keys ---

answered=''
# A window titled like $1 other than the one answered last has the keys (as $box).
new_box_active() {
    local id
    id=$(xdotool getactivewindow 2>/dev/null) && [ "$id" != "$answered" ] &&
        [[ $(xdotool getwindowname "$id") =~ $1 ]] && box=$id
}
box_gone() { ! xdotool search --onlyvisible --class '^Zelvano$' 2>/dev/null | grep -qx "$box"; }
# The keys are with a window again, and not with the box just answered.
keys_back() {
    local active
    active=$(xdotool getactivewindow 2>/dev/null) && [ "$active" != "$box" ]
}
# Waits for a new window titled like $1 to have the keys, presses the keys given, and waits for it
# to go and the keys to be with a window again, as they are for a user's next key.
answer() {
    local title=$1
    shift
    within 5 new_box_active "$title"
    answered=$box
    press "$@"
    within 5 box_gone
    within 5 keys_back
}

# Clicks a control of the main window at the place it was designed for, in twips.
click_at() {
    local w x y
    w=$(main_window)
    eval "$(xdotool getwindowgeometry --shell "$w")"
    # Below the menu bar: the client area is 492 pixels high, the status bar 19.
    x=$(($1 / 15)) y=$((HEIGHT - 19 - 492 + $2 / 15))
    xdotool mousemove --window "$w" "$x" "$y" click 1
}
types=(jpg jpeg bmp gif tif)
# The type buttons sit in their frame at 4440, 6900; their marks are near their left edges.
type_left=(60 600 1260 1920 2460)
click_type() {
    local i
    for i in "${!types[@]}"; do
        if [ "${types[$i]}" = "$1" ]; then
            click_at $((4440 + type_left[i] + 90)) $((6900 + 180 + 97))
        fi
    done
}

# --- The parts ---

# bmp, gif and tif have lists of pictures that are gone, so that loading one asks whether to drop
# its first record: Enter drops it, and Escape keeps the next, which is asked about in turn. Each
# load of one of these takes one record off its list file. jpg and jpeg have no list, which an OK
# box says. bmp, the first type with a list, is chosen at start-up.
part_types() {
    mkdir "$work/pics"
    local t gone
    for t in bmp gif tif; do
        gone=()
        for n in 1 2 3 4 5 6 7 8; do gone+=("gone$n.$t"); done
        write_list "$work/app/Zelvano$t.log" "$work/pics/" "${gone[@]}"
    done
    declare -A loads=([bmp]=0 [gif]=0 [tif]=0)
    chosen() {
        case $1 in
        jpg | jpeg) answer "$box_title" Return ;;
        *)
            answer "$box_title" Return
            answer "$box_title" Escape
            loads[$1]=$((loads[$1] + 1))
            ;;
        esac
    }
    start_program
    # Before the window shows: the list is loaded once, as its button is set.
    chosen bmp
    within 10 main_active
    # Tab from the list enters the group at the chosen type, and the arrows choose as they move.
    press Tab Tab Tab Tab Tab Tab Tab Tab
    press Right && chosen gif
    press Right && chosen tif
    press Left && chosen gif
    press Left && chosen bmp
    press Left && chosen jpeg
    press Left && chosen jpg
    for t in tif bmp jpg gif jpeg bmp; do
        click_type "$t"
        chosen "$t"
    done
    for t in bmp gif tif; do
        [ "$(records "$work/app/Zelvano$t.log")" = $((8 - loads[$t])) ] ||
            fail "$t was loaded $((8 - $(records "$work/app/Zelvano$t.log"))) times, not ${loads[$t]}"
    done
    for t in jpg jpeg; do
        if [ -e "$work/app/Zelvano$t.log" ]; then fail "a $t list was written"; fi
    done
}

part_session() {
    mkdir "$work/pics"
    for n in a b c d e; do write_bmp "$work/pics/$n.bmp"; done
    local list="$work/app/Zelvanobmp.log"
    write_list "$list" "$work/pics/" a.bmp b.bmp c.bmp d.bmp e.bmp
    start_program
    within 10 main_active
    # The list has the keys at start-up, on a.bmp.
    press Down
    press Delete
    answer "$box_title" Return # Yes: b.bmp goes
    b_deleted() { [ ! -e "$work/pics/b.bmp" ] && ! grep -q '^b.bmp' "$list"; }
    within 5 b_deleted
    press BackSpace            # c.bmp, now in b's place
    answer "$box_title" Escape # No
    if [ ! -e "$work/pics/c.bmp" ] || [ "$(records "$list")" != 4 ]; then fail "Escape deleted c.bmp"; fi
    press Down # d.bmp
    press Tab Tab Tab Tab space # Rename
    answer '^New name:$' ctrl+a r e n a m e d period b m p Return
    renamed() { [ ! -e "$work/pics/d.bmp" ] && [ -e "$work/pics/renamed.bmp" ] && grep -q ^renamed "$list"; }
    within 5 renamed
    # The renamed entry is selected again, in the list, which has the keys. Rename keeps them after
    # its box is closed unanswered, and after the window has been minimised and back.
    press Tab Tab Tab Tab space
    answer '^New name:$' Escape
    press space
    answer '^New name:$' Escape
    local w
    w=$(main_window)
    xdotool windowminimize "$w"
    minimised() { ! main_shown; }
    within 5 minimised
    xdotool windowactivate "$w"
    within 5 main_active
    press space
    answer '^New name:$' Escape
    [ -e "$work/pics/renamed.bmp" ] || fail "Escape renamed the picture"
    # Delete, Copy, Exit, the chosen type, then Print: with no printer it says so, and keeps the keys.
    press Tab Tab Tab Tab Tab space
    answer "$box_title" Return
    press space
    answer "$box_title" Escape
    # Back to the Delete button, which asks about the selected picture; No keeps it.
    press shift+Tab shift+Tab shift+Tab shift+Tab space
    answer "$box_title" Escape
    [ -e "$work/pics/renamed.bmp" ] || fail "No deleted the picture"
}

# Mounts the test drive over $work/drive, with what the folder holds, in the mode given.
mount_drive() {
    [ -n "$plain_drive" ] || skip "the test drive was not built: pkg-config found no fuse3"
    if [ ! -r /dev/fuse ] || [ ! -w /dev/fuse ]; then skip "no /dev/fuse to mount a drive with"; fi
    command -v fusermount3 >/dev/null || skip "no fusermount3 to unmount a drive with"
    "$plain_drive" "$@" "$work/drive" -f >"$work/drive.log" 2>&1 &
    drive=$!
    mounted() { grep -qx ready "$work/drive.log" || ! kill -0 "$drive" 2>/dev/null; }
    within 10 mounted
    kill -0 "$drive" 2>/dev/null || skip "no FUSE drive could be mounted here: $(cat "$work/drive.log")"
}

part_scan() {
    mkdir "$work/drive" "$work/pics"
    write_bmp "$work/drive/far.bmp"
    mount_drive --silent

    for n in a b c; do write_bmp "$work/pics/$n.bmp"; done
    local list="$work/app/Zelvanobmp.log"
    write_list "$list" "$work/pics/" a.bmp b.bmp c.bmp
    cp "$list" "$work/list.before"
    start_program
    within 10 main_active
    local key
    for key in Escape Return space alt+F4; do
        if [ "$key" = space ]; then
            click_at $((360 + 700)) $((6960 + 187)) # the mouse leaves the focus on Scan
        else
            press Tab space # from the list to Scan
        fi
        within 5 new_box_active "$box_title" # the wait window, with the keys
        answered=$box
        press "$key"
        within 3 box_gone
        cmp -s "$list" "$work/list.before" || fail "the scan cancelled by $key changed the list"
        # The program answers, and the list has the keys again.
        within 5 main_active
        press Delete
        answer "$box_title" Escape
    done
}

# Each operation on its own picture of the drive, in a program of its own: the picture is shown while
# the drive answers, then the drive falls silent, the operation waits on it, and Exit is clicked.
part_silent() {
    mkdir "$work/drive" "$work/copies"
    for n in a b c; do write_bmp "$work/drive/$n.bmp"; done
    mount_drive
    local list="$work/app/Zelvanobmp.log" op name
    for op in delete rename copy; do
        case $op in delete) name=a.bmp ;; rename) name=b.bmp ;; copy) name=c.bmp ;; esac
        write_list "$list" "$work/drive/" "$name"
        cp "$list" "$work/list.before"
        start_program
        within 10 main_active
        kill -USR2 "$drive" # from now on the drive says nothing
        case $op in
        delete)
            press Delete
            answer "$box_title" Return # Yes
            ;;
        rename)
            click_at $((8340 + 400)) $((6960 + 187))
            answer '^New name:$' ctrl+a r e n a m e d Return
            ;;
        copy)
            click_at $((9960 + 360)) $((6960 + 187))
            within 5 new_box_active . # the save dialog
            answered=$box
            press ctrl+a
            xdotool type --delay 5 "$work/copies/c.bmp"
            press Return
            ;;
        esac
        within 5 new_box_active "$box_title" # the wait window, which names the drive
        answered=$box
        local clicked
        clicked=$(now_ms)
        click_at $((10740 + 360)) $((6960 + 187)) # Exit
        # The program's own thread has ended and its windows are gone; what the system keeps of
        # it is the call that waits on the drive, until the drive answers.
        ended() {
            local state
            state=$(cut -d' ' -f3 "/proc/$app/stat" 2>/dev/null || echo gone)
            { [ "$state" = Z ] || [ "$state" = gone ]; } && ! main_shown
        }
        within 1 ended
        echo "$op: Exit ended the program $(($(now_ms) - clicked)) ms after its click"
        cmp -s "$list" "$work/list.before" || fail "$op on a silent drive changed the list"
        kill -USR1 "$drive" # it answers again, and what was left of the program ends
        wait "$app" 2>/dev/null || true
        app=
    done
}

part_owner() {
    mkdir "$work/pics"
    write_bmp "$work/pics/DSC001.JPG"
    local list="$work/app/Zelvanojpg.log"
    write_list "$list" "$work/pics/" DSC001.JPG
    start_program
    within 10 main_active
    click_at $((8340 + 400)) $((6960 + 187)) # Rename
    answer '^New name:$' ctrl+a H o l i d a y period J P G Return
    holiday() { [ -e "$work/pics/Holiday.JPG" ] && grep -q $'^Holiday.JPG\r$' "$list"; }
    within 5 holiday
    cp "$list" "$work/list.before"

    # A folder every user may write, with another user starting the program there: it takes part in
    # the lock, cannot reach this user's copy, and says the copy does not answer.
    chmod 755 "$work"
    chmod 777 "$work/app"
    command -v setpriv >/dev/null && [ "$(id -u)" = 0 ] || skip "no second user can be had here"
    grep -q '@zelvano' /proc/net/unix && fail "the running copy listens where every user can reach it"
    second_start() {
        "$@" env -u XDG_RUNTIME_DIR HOME=/nonexistent "$work/app/$(basename "$program")" >"$work/second.log" 2>&1 &
        second=$!
    }
    second_says_silent() {
        # A window manager may keep a new window of another program from taking the keys at once:
        # the user brings it forward, as from the task bar, and answers it.
        second_box() {
            box=$(xdotool search --onlyvisible --pid "$second" --name "$box_title" 2>/dev/null | head -n1)
            [ -n "$box" ]
        }
        within 10 second_box
        xdotool windowactivate "$box"
        within 5 active_is "$box"
        answered=$box
        press Return
        local status=0
        wait "$second" || status=$?
        [ "$status" = 1 ] || fail "the second start ended with $status, not by its box"
        [ "$(xdotool search --onlyvisible --name "$main_title" | wc -l)" = 1 ] || fail "a second window opened"
        cmp -s "$list" "$work/list.before" || fail "the second start changed the list"
    }
    second_start setpriv --reuid=65534 --regid=65534 --clear-groups
    second_says_silent
    # The same user beside a copy that does not answer.
    kill -STOP "$app"
    second_start
    second_says_silent
    kill -CONT "$app"
}

# A bitmap of $2 x $3 pixels that runs from red at its top to blue at its bottom.
write_gradient() {
    python3 - "$@" <<'PY'
import struct, sys
path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
stride = (width * 3 + 3) // 4 * 4
rows = []
for y in range(height - 1, -1, -1):  # bottom-up
    red = 255 * (height - 1 - y) // max(1, height - 1)
    rows.append(bytes([255 - red, 0, red]) * width + bytes(stride - width * 3))
pixels = b''.join(rows)
header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
open(path, 'wb').write(header + info + pixels)
PY
}

# A print system of the test's own (tests/support/print_system.sh), whose queue is the default.
start_print_system() {
    for tool in lpstat cupsaccept pdfinfo pdftoppm python3; do
        command -v "$tool" >/dev/null || skip "no $tool here (scripts/install-deps.sh installs it)"
    done
    [ "$(id -u)" = 0 ] || skip "the print system needs a mount namespace of its own (root)"
    "$(dirname "$0")/../support/print_system.sh" "$work" >"$work/cups.log" 2>&1 &
    cups=$!
    cups_up() { grep -qx ready "$work/cups.log" || ! kill -0 "$cups" 2>/dev/null; }
    within 15 cups_up
    kill -0 "$cups" 2>/dev/null || skip "no print system here: $(cat "$work/cups.log")"
    export CUPS_SERVER="$work/cups.sock"
}
printed() { find "$work/printed" -name '*.pdf' | sort; }
jobs_done() { [ -z "$(lpstat -o 2>/dev/null)" ]; }

part_print() {
    start_print_system
    mkdir "$work/pics"
    write_gradient "$work/pics/fits.bmp" 644 484
    write_gradient "$work/pics/wide.bmp" 2400 1200
    write_list "$work/app/Zelvanobmp.log" "$work/pics/" fits.bmp wide.bmp
    start_program
    within 10 main_active
    print_selected() {
        click_at $((7500 + 400)) $((6960 + 187)) # Print
        within 10 new_box_active '^Print'
        answered=$box
        press "$1"
        within 5 box_gone
    }
    # Cancel in the dialog sends nothing.
    print_selected Escape
    sleep 1
    [ -z "$(printed)" ] && jobs_done || fail "Cancel printed"
    local pdf n=0
    declare -A result
    for picture in fits wide; do
        print_selected Return
        n=$((n + 1))
        one_more() { [ "$(printed | wc -l)" = "$n" ] && jobs_done; }
        within 30 one_more
        pdf=$(printed | tail -n1)
        result[$picture]=$("$(dirname "$0")/../support/printed_page.py" "$pdf")
        echo "$picture: ${result[$picture]}"
        click_at 500 $((480 + 360)) # the list's second entry
    done
    # One sheet; at its own size, 644 x 484 pixels at 96 an inch, 483 x 363 points, at the top left;
    # upright, red at the top.
    read -r pages w h x0 y0 x1 y1 top bottom _ _ <<<"${result[fits]}"
    [ "$pages" = 1 ] || fail "the picture that fits took $pages sheets"
    near() { (($1 - $2 <= 2 && $2 - $1 <= 2)); }
    near $((x1 - x0)) 483 && near $((y1 - y0)) 363 || fail "printed $((x1 - x0)) x $((y1 - y0)) points, not 483 x 363"
    near "$x0" 0 && near "$y0" 0 || fail "printed at $x0, $y0, not at the top left"
    [ "$top $bottom" = "red blue" ] || fail "the picture that fits lies the wrong way: $top at the top"
    # Wider than tall and too large: across the sheet's long side, filling it, proportions kept.
    read -r pages w h x0 y0 x1 y1 top bottom left right <<<"${result[wide]}"
    [ "$pages" = 1 ] || fail "the large picture took $pages sheets"
    local long=$((w > h ? w : h)) across=$(((x1 - x0) > (y1 - y0) ? (x1 - x0) : (y1 - y0)))
    near "$across" "$long" || fail "the large picture's long side is $across points on a sheet of $long"
    if ((w < h)); then
        [ "$left $right" = "red blue" ] || [ "$left $right" = "blue red" ] || fail "the large picture is not turned: $left, $right"
    fi
    # A queue that takes no jobs: the picture was not printed, which is said, and the program goes on.
    for refuse in cupsreject cupsdisable; do
        "$refuse" Zelvano
        print_selected Return
        answer "$box_title" Return
        [ "$(printed | wc -l)" = "$n" ] || fail "a job went through a queue that took none ($refuse)"
        cupsaccept Zelvano && cupsenable Zelvano
    done
}

"part_$part"
echo "PASSED: $part"
