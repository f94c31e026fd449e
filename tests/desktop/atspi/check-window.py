#!/usr/bin/python3
"""Checks Pendrio's windows through AT-SPI, as a screen reader sees them.

    check-window.py PID CHECK

PID is the running program's process; CHECK is one of the functions listed in
CHECKS below. Prints what it checked; exits 1 with the reason on the first
failure.
"""

import os
import sys

import pyatspi

from pendrio_atspi import (CheckFailed, Events, action_names, check, description, descendants,
                           do_action, find, find_application, find_window, focus, has_state,
                           pump, role, set_text, summary, text, wait_for)

MAIN_WINDOW = os.environ["PENDRIO_WINDOW_TITLE"]  # as CMake makes it
PROFILE_WINDOW = f"Profile – {MAIN_WINDOW}"

# The input boxes and the result boxes, named as the captions beside them.
INPUT_BOXES = ["Length", "Height at start", "Start gradient", "End gradient", "No. of sections"]
RESULT_BOXES = ["Section length", "2nd order coefficient", "1st order coefficient",
                "Height at start of section", "Gradient at start of section",
                "Gradient at end of section"]

# Everything a screen reader can reach in the main window, and nothing more:
# the options the window keeps hidden ("Output in [m]", "Auto-tile") are absent.
MAIN_WINDOW_TREE = sorted(
    [("text", name) for name in INPUT_BOXES + RESULT_BOXES + ["Section number"]]
    + [("label", name) for name in INPUT_BOXES + RESULT_BOXES]
    + [("push button", name) for name in ["Calculate", "Previous", "Next"]]
    + [("check box", "Always on top"), ("panel", "Calculated stuff - Don't edit!")])


def say(message):
    print(f"   {message}", flush=True)


def main_window_tree(window):
    """The window is a frame with its title; every reachable control has its role and name."""
    check(role(window) == "frame", f"the main window's role is '{role(window)}', not 'frame'")
    reachable = sorted(summary(node) for node in descendants(window))
    missing = [c for c in MAIN_WINDOW_TREE if c not in reachable]
    extra = [c for c in reachable if c not in MAIN_WINDOW_TREE]
    check(not missing and not extra,
          f"the main window's tree differs: missing {missing}, not expected {extra}")
    togglers = [n.name for n in descendants(window) if "Toggle" in action_names(n)]
    check(togglers == ["Always on top"], f"objects with a Toggle action: {togglers}")
    on_top = find(window, "check box", "Always on top")
    check(has_state(on_top, pyatspi.STATE_SENSITIVE), "'Always on top' is disabled")
    for name in ["Calculate", "Previous", "Next"]:
        check("Press" in action_names(find(window, "push button", name)), f"'{name}' has no Press")
    say(f"frame '{window.name}' with {len(reachable)} objects, each with its role and name; "
        "no hidden option among them")


def main_window_use(window):
    """Types a section count and a length, calculates, and steps through the sections."""
    box = lambda name: find(window, "text", name)
    button = lambda name: find(window, "push button", name)
    check(text(box("Length")) == "1968504", f"Length reads '{text(box('Length'))}'")
    # A value is taken when its box loses the focus.
    focus(box("No. of sections"))
    set_text(box("No. of sections"), "3")
    focus(box("Length"))
    set_text(box("Length"), "3.0E6")
    focus(button("Calculate"))
    wait_for("'Length' written back as stored", lambda: text(box("Length")) == "3000000")
    do_action(button("Calculate"), "Press")
    wait_for("section length 1000000 after Calculate",
             lambda: text(box("Section length")) == "1000000")
    check(text(box("Section number")) == "1", "Calculate did not show section 1")
    say("3 sections of 3000000 typed through EditableText and calculated: section length 1000000")

    section = box("Section number")
    with Events("object:text-changed", "object:property-change:accessible-name") as events:
        do_action(button("Next"), "Press")
        wait_for("section 2 after Next", lambda: text(section) == "2")
        heard = events.wait("an event from 'Section number' when Next changed it",
                            lambda kind, source, data: source == "Section number" and data == "2")
    say(f"Next: section number reads '2'; the listener heard {heard[0]} ('{heard[2]}')")
    do_action(button("Next"), "Press")
    wait_for("section 3 after the second Next", lambda: text(section) == "3")
    do_action(button("Next"), "Press")
    pump(0.5)
    check(text(section) == "3", "Next went past section 3 of 3")
    do_action(button("Previous"), "Press")
    wait_for("section 2 after Previous", lambda: text(section) == "2")
    say("Next, Next, Next (no further than 3), Previous: sections 2, 3, 3, 2")


def on_top_unavailable(window):
    """Where the window cannot be kept on top, the check box says so and is disabled."""
    on_top = find(window, "check box", "Always on top")
    check(not has_state(on_top, pyatspi.STATE_SENSITIVE), "'Always on top' is enabled")
    check("window menu" in description(on_top),
          f"'Always on top' does not point to the window menu: '{description(on_top)}'")
    for name in ["Calculate", "Previous", "Next"]:
        check(has_state(find(window, "push button", name), pyatspi.STATE_SENSITIVE),
              f"'{name}' is disabled too")
    say(f"'Always on top' disabled: '{description(on_top)}'")


def profile_window(window):
    """After main_window_use: the plot, the facts and the table of 3 sections can be read,
    and the highlighted section follows the main window."""
    check(role(window) == "frame", f"the profile window's role is '{role(window)}', not 'frame'")
    plot = find(window, "chart", "Height profile")
    check(description(plot).startswith("Section 2 of 3 highlighted"),
          f"the plot describes '{description(plot)}'")
    facts = find(window, "label", "Curve facts")
    check(description(facts).startswith("Straight incline"),
          f"the curve facts read '{description(facts)}'")
    table = find(window, "table", "Sections").queryTable()
    check((table.nRows, table.nColumns) == (3, 8), f"table of {table.nRows} x {table.nColumns}")
    check(table.getColumnHeader(2).name == "Section length [track units]",
          f"column 3 is headed '{table.getColumnHeader(2).name}'")
    cells = [table.getAccessibleAt(row, 2).name for row in range(3)]
    check(cells == ["1000000"] * 3, f"the section lengths read {cells}")
    check(table.isRowSelected(1), "the table's selected row is not section 2's")
    for kind, name in [("radio button", "Through a point"),
                       ("text", "Vertical radius in metres"), ("label", "Designed length"),
                       ("push button", "Use this length"), ("text", "Chainage at start"),
                       ("text", "Station interval in metres"), ("table", "Stations"),
                       ("text", "Height at chainage"), ("label", "Height at this chainage")]:
        find(window, kind, name)
    say(f"frame '{window.name}': chart '{plot.name}' ({description(plot)}); "
        f"'{description(facts)}'; table of 3 sections whose cells read {cells}")

    main = find_window(window.parent, MAIN_WINDOW)
    do_action(find(main, "push button", "Previous"), "Press")
    wait_for("the highlight on section 1 after Previous",
             lambda: description(plot).startswith("Section 1 of 3") and table.isRowSelected(0))
    say("Previous in the main window: the plot and the table now name section 1")


CHECKS = {
    "profile-window": (PROFILE_WINDOW, [profile_window]),
    "main-window": (MAIN_WINDOW, [main_window_tree, main_window_use]),
    "on-top-unavailable": (MAIN_WINDOW, [on_top_unavailable]),
}


def run(pid, check_name):
    window_name, checks = CHECKS[check_name]
    app = find_application(pid)
    window = find_window(app, window_name)
    for one in checks:
        one(window)


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in CHECKS:
        sys.exit(f"usage: {sys.argv[0]} PID {{{'|'.join(CHECKS)}}}")
    try:
        run(int(sys.argv[1]), sys.argv[2])
    except CheckFailed as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
