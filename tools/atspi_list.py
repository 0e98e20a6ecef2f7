#!/usr/bin/python3
"""Lists what a screen reader sees of a running ソノハ over AT-SPI.

Run it on the same display and session bus as the program, which must run
with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 (or with an assistive technology
active). It prints every button with its name, description and states,
then the counts: the main window has 34 attribute buttons, which are check
boxes to a screen reader, and four command buttons.

    tools/atspi_list.py [--app NAME] [--all]
"""
import argparse
import sys

import pyatspi

ATTRIBUTE_BUTTONS = 34


def walk(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def states(node):
    s = node.getState()
    names = []
    for state, label in ((pyatspi.STATE_CHECKED, "checked"), (pyatspi.STATE_PRESSED, "pressed"),
                         (pyatspi.STATE_FOCUSED, "focused"), (pyatspi.STATE_SHOWING, "showing")):
        if s.contains(state):
            names.append(label)
    return names


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == name:
            return app
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", default="sonoha", help="the application's AT-SPI name")
    parser.add_argument("--all", action="store_true", help="list every object, not only buttons")
    args = parser.parse_args()

    app = find_app(args.app)
    if app is None:
        print(f"no application named {args.app!r} on the accessibility bus", file=sys.stderr)
        return 1
    buttons = check_boxes = checked = 0
    for node, depth in walk(app):
        role = node.getRoleName()
        is_button = role in ("push button", "toggle button", "check box")
        if not (is_button or args.all):
            continue
        st = states(node)
        print(f"{'  ' * depth}{role}\t{node.name!r}\t{node.description!r}\t{','.join(st)}")
        if is_button:
            buttons += 1
            check_boxes += role == "check box"
            checked += "checked" in st
    print(f"buttons: {buttons}, attribute buttons (check boxes): {check_boxes}, checked: {checked}")
    if check_boxes != ATTRIBUTE_BUTTONS:
        print(f"expected {ATTRIBUTE_BUTTONS} attribute buttons", file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
