"""Pendrio as a screen reader meets it: small helpers over pyatspi.

Everything here goes through AT-SPI, the interface Orca uses: find the
application by its process, a top-level window by its name, walk a window's
tree, read roles, names, states and text, type through EditableText, move the
focus, run actions, send keys, and listen for the events a screen reader
speaks from. Every wait is bounded; a check that fails raises CheckFailed.

A check for one window is a function that takes the window's accessible
object (see check-window.py); another window of the program needs only a new
such function.
"""

import time

import pyatspi
from gi.repository import GLib

TIMEOUT = 10.0  # seconds for any one thing to happen


class CheckFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def pump(seconds=0.0):
    """Lets events arrive for `seconds` (at least once)."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_for(what, probe, timeout=TIMEOUT):
    """Returns probe()'s first true answer; fails after `timeout` seconds.
    A D-Bus error while the program is still busy counts as "not yet"."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            result = probe()
            if result:
                return result
        except GLib.Error as error:
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise CheckFailed(f"no {what} within {timeout:g} s{detail}")
        pump(0.1)


# ---- Finding things ----------------------------------------------------------

def find_application(pid):
    """The application that process `pid` registered on the accessibility bus."""

    def probe():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        return None

    return wait_for(f"application of process {pid} on the accessibility bus", probe)


def find_window(app, name):
    """The application's top-level window called `name`."""

    def probe():
        return next((w for w in app if w is not None and w.name == name), None)

    return wait_for(f"window '{name}'", probe)


def descendants(node):
    """Every object below `node`, depth first, as a client walking the tree finds them."""
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def role(node):
    return node.getRoleName()


def summary(node):
    """(role, name) as a screen reader announces an object."""
    return role(node), node.name


def find(root, role_name, name):
    """The one object below `root` with this role and name."""
    found = [n for n in descendants(root) if summary(n) == (role_name, name)]
    check(len(found) == 1, f"{len(found)} objects '{role_name}' named '{name}', not 1")
    return found[0]


def has_state(node, state):
    return node.getState().contains(state)


def description(node):
    return node.description


# ---- Reading and acting ------------------------------------------------------

def text(node):
    """What the Text interface holds: what a screen reader reads out."""
    t = node.queryText()
    return t.getText(0, t.characterCount)


def set_text(node, value):
    """Replaces the whole text through the EditableText interface."""
    check(node.queryEditableText().setTextContents(value), f"'{node.name}' refused the text '{value}'")


def focus(node):
    """Moves the keyboard focus to `node` and waits until it has it."""
    check(node.queryComponent().grabFocus(), f"'{node.name}' refused the focus")
    wait_for(f"focus on '{node.name}'", lambda: has_state(node, pyatspi.STATE_FOCUSED))


def action_names(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do_action(node, name):
    """Runs the action called `name` ("Press", "Toggle", ...)."""
    names = action_names(node)
    check(name in names, f"'{node.name}' has no action '{name}', only {names}")
    check(node.queryAction().doAction(names.index(name)), f"'{node.name}': '{name}' failed")


class Events:
    """Records the events of the given types while in a `with` block."""

    def __init__(self, *event_types):
        self.event_types = event_types
        self.received = []

    def _record(self, event):
        try:
            self.received.append((event.type, event.source.name if event.source else None,
                                  event.any_data))
        except GLib.Error:
            self.received.append((event.type, None, None))

    def __enter__(self):
        pyatspi.Registry.registerEventListener(self._record, *self.event_types)
        pump(0.2)  # the registration reaches the program
        return self

    def __exit__(self, *exc):
        pyatspi.Registry.deregisterEventListener(self._record, *self.event_types)
        return False

    def wait(self, what, match):
        """The first recorded (type, source name, data) for which match() is true."""
        return wait_for(what, lambda: next((e for e in self.received if match(*e)), None))
