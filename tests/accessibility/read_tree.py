#!/usr/bin/python3
"""Reads the program's control window over AT-SPI, as a screen reader does.

Starts the program (its path is the first argument) on the X display and the
D-Bus session of the environment, draws the whole view of z² + c and a zoom
with the mouse (xdotool), and after each prints every read-out of the control
window: role, name, text, description and relations. Exits 1 when a read-out
does not read as its value with its caption, or when the program does not do
what it is asked within the time allowed.
"""

import os
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

WAIT_SECONDS = 60
CONTROL_TITLE = "マンデルブロ探索"
DRAWING_TITLE = "描画ウィンドウ"
DEPTH_CAPTION = "描画ネストカウント"
# The zoom's rectangle on the picture, in picture pixels.
ZOOM_FROM = (100, 300)
ZOOM_TO = (250, 400)


class Failure(Exception):
    pass


# The program under test, once started.
program = None
# Popup menus are no children of the application: a reader hears of them when
# they are shown.
shown_menus = []
# What a reader was told had a new name since the last report.
renamed = []


def note_name(event):
    renamed.append(event.source)


def note_menu(event):
    if event.detail1 and event.source.getRole() == pyatspi.ROLE_POPUP_MENU:
        shown_menus.append(event.source)


def pump():
    """Hands the events that came in to libatspi, which keeps its cache by them."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, find):
    deadline = time.monotonic() + WAIT_SECONDS
    while True:
        pump()
        try:
            found = find()
        except GLib.Error:
            found = None
        if found:
            return found
        if program is not None and program.poll() is not None:
            raise Failure(f"no {what}: the program ended with status {program.returncode}")
        if time.monotonic() > deadline:
            raise Failure(f"no {what} within {WAIT_SECONDS} s")
        time.sleep(0.05)


def children(obj):
    return [child for child in obj if child is not None]


def descendants(obj):
    for child in children(obj):
        yield child
        yield from descendants(child)


def find(root, role, name):
    for obj in descendants(root):
        if obj.getRole() == role and obj.name == name and obj.getState().contains(pyatspi.STATE_SHOWING):
            return obj
    return None


def application():
    for app in children(pyatspi.Registry.getDesktop(0)):
        if app.name == "Qorvix":
            return app
    return None


def window(app, title):
    for frame in children(app):
        if frame.name == title and frame.getState().contains(pyatspi.STATE_SHOWING):
            return frame
    return None


def centre(obj):
    box = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def xdotool(*arguments):
    subprocess.run(["xdotool", *map(str, arguments)], check=True, timeout=WAIT_SECONDS)


def click(obj):
    x, y = centre(obj)
    xdotool("mousemove", "--sync", x, y, "click", "1")


def relations(obj):
    return [(relation.getRelationType(), relation.getTarget(i))
            for relation in obj.getRelationSet() for i in range(relation.getNTargets())]


def labelled_by(obj):
    return [target for kind, target in relations(obj) if kind == pyatspi.RELATION_LABELLED_BY]


def text_of(obj):
    try:
        text = obj.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def readouts(frame):
    """The labels that show a value: those a caption labels or that describe themselves."""
    return [obj for obj in descendants(frame)
            if obj.getRole() == pyatspi.ROLE_LABEL
            and not any(kind == pyatspi.RELATION_LABEL_FOR for kind, _ in relations(obj))
            and (labelled_by(obj) or obj.description)]


def describe(obj):
    rels = ", ".join(f"{kind.value_nick} {target.getRoleName()} {target.name!r}" for kind, target in relations(obj))
    return (f"role={obj.getRoleName()} name={obj.name!r} text={text_of(obj)!r} "
            f"description={obj.description!r} relations=[{rels}]")


def depth_readout(frame):
    for obj in readouts(frame):
        if any(target.name == DEPTH_CAPTION for target in labelled_by(obj)):
            return obj
    return None


def check(frame, depth):
    """Each read-out reads as a value, not as a caption, and its caption is tied to it."""
    shown = readouts(frame)
    captions = {obj.name for obj in descendants(frame) if obj.getRole() == pyatspi.ROLE_LABEL and obj not in shown}
    problems = []
    if len(shown) != 7:
        problems.append(f"{len(shown)} read-outs instead of 7")
    for obj in shown:
        text = text_of(obj)
        if not obj.name or obj.name in captions or (text is not None and text != obj.name):
            problems.append(f"read-out named {obj.name!r} (text {text!r})")
        if not labelled_by(obj) and not obj.description:
            problems.append(f"read-out {obj.name!r} has no caption")
    depth_shown = depth_readout(frame)
    if depth_shown is None or depth_shown.name != depth:
        problems.append(f"depth does not read {depth}")
    elif depth_shown not in renamed:
        problems.append("no word of the new depth")
    renamed.clear()
    return problems


def sensitive(frame, button):
    obj = find(frame, pyatspi.ROLE_PUSH_BUTTON, button)
    return obj is not None and obj.getState().contains(pyatspi.STATE_SENSITIVE)


def drawn(app, button):
    """The control window once a render has ended: "再描画" and `button` enabled.

    "再描画" is off before the first picture and during every render, "戻る"
    until the history holds a view.
    """
    frame = window(app, CONTROL_TITLE)
    if frame is not None and sensitive(frame, "再描画") and sensitive(frame, button):
        return frame
    return None


def whole_view(app):
    control = wait_for("control window", lambda: window(app, CONTROL_TITLE))
    button = wait_for("button 全景描画", lambda: find(control, pyatspi.ROLE_PUSH_BUTTON, "全景描画"))
    shown_menus.clear()
    click(button)
    menu = wait_for("menu under 全景描画", lambda: shown_menus and shown_menus[-1])
    click(wait_for("menu item Ｚの２乗", lambda: next(
        (item for item in children(menu) if item.name.startswith("Ｚの２乗")), None)))
    return wait_for("whole view", lambda: drawn(app, "再描画"))


def zoom(app):
    drawing = wait_for("drawing window", lambda: window(app, DRAWING_TITLE))
    picture = wait_for("picture", lambda: next((obj for obj in descendants(drawing) if obj.name == DRAWING_TITLE), None))
    box = picture.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", "--sync", box.x + ZOOM_FROM[0], box.y + ZOOM_FROM[1], "mousedown", "1",
            "mousemove", "--sync", box.x + ZOOM_TO[0], box.y + ZOOM_TO[1], "mouseup", "1")
    control = window(app, CONTROL_TITLE)
    wait_for("enabled 選択領域描画", lambda: sensitive(control, "選択領域描画"))
    click(find(control, pyatspi.ROLE_PUSH_BUTTON, "選択領域描画"))
    return wait_for("zoomed view", lambda: drawn(app, "戻る"))


def report(stage, frame, depth):
    print(f"{CONTROL_TITLE} after {stage}:")
    for obj in readouts(frame):
        print("  " + describe(obj))
    problems = check(frame, depth)
    for problem in problems:
        print(f"  FAULT: {problem}")
    return not problems


def main():
    global program
    if len(sys.argv) != 2:
        sys.exit("usage: read_tree.py PROGRAM")
    pyatspi.Registry.registerEventListener(note_menu, "object:state-changed:showing")
    pyatspi.Registry.registerEventListener(note_name, "object:property-change:accessible-name")
    with tempfile.TemporaryDirectory() as settings:
        environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_CONFIG_HOME=settings)
        program = subprocess.Popen([sys.argv[1]], env=environment)
        app = None
        try:
            app = wait_for("Qorvix on the accessibility bus", application)
            ok = report("the whole view", whole_view(app), "1")
            ok = report("a zoom", zoom(app), "2") and ok
        except Failure as failure:
            print(f"FAULT: {failure}")
            try:
                frame = window(app, CONTROL_TITLE) if app and program.poll() is None else None
                if frame:
                    report("the fault", frame, "")
            except GLib.Error:
                pass
            ok = False
        finally:
            program.send_signal(signal.SIGTERM)
            try:
                program.wait(timeout=WAIT_SECONDS)
            except subprocess.TimeoutExpired:
                program.kill()
                program.wait()
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
