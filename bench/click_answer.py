#!/usr/bin/python3
"""Clicks as a user does and times the window's answer.

    click_answer.py WINDOW X Y shown  the time until a window is shown (a box the click brought)
    click_answer.py WINDOW X Y gone   the time until the window WINDOW is gone

WINDOW is an X window id; X and Y are the place of the click in it.

The click is a real one: pointer motion and a button press and release that the display server
delivers (XTEST). Prints the milliseconds from the release to the answer; gives up after 10 s.
"""
import select
import sys
import time

from Xlib import X, display
from Xlib.ext import xtest


def main():
    d = display.Display()
    root = d.screen().root
    window = d.create_resource_object("window", int(sys.argv[1], 0))
    at = root.translate_coords(window, int(sys.argv[2]), int(sys.argv[3]))
    x, y, until = at.x, at.y, sys.argv[4]
    if until == "gone":
        window.change_attributes(event_mask=X.StructureNotifyMask)
        answers = (X.UnmapNotify, X.DestroyNotify)
    else:
        root.change_attributes(event_mask=X.SubstructureNotifyMask)
        answers = (X.MapNotify,)
    xtest.fake_input(d, X.MotionNotify, x=x, y=y)
    xtest.fake_input(d, X.ButtonPress, 1)
    xtest.fake_input(d, X.ButtonRelease, 1)
    d.sync()
    clicked = time.monotonic()
    while time.monotonic() - clicked < 10:
        while d.pending_events():
            if d.next_event().type in answers:
                print(f"{(time.monotonic() - clicked) * 1000:.1f}")
                return 0
        select.select([d.fileno()], [], [], 0.01)
    print("no answer within 10 s")
    return 1


sys.exit(main())
