#!/usr/bin/env bash
# zozuz as a screen reader sees it, over AT-SPI on a real X server: the main window named by its
# caption, the editor's text ("abc " typed on the keyboard, "中文" inserted through the editable text
# as a screen reader types) read back a piece at a time, nine or more tool bar push buttons named by
# their tooltips with their enabled state, a status bar, and the "加密" button's action encrypting
# the text, after which "解密" is the enabled one. Caret moves and text changes arrive as events.
# With ZOZUZ_ATSPI_DUMP set, the tree is printed as a screen reader reads it, before and after.
#
# usage: zozuz_atspi_e2e.sh PATH_TO_ZOZUZ   (starts its own X session and session bus)
set -u

here=$(cd "$(dirname "$0")" && pwd)
# The system's Python, which the distribution's pyatspi belongs to, before any other on the path.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
if ! "$python" -c 'import pyatspi' 2>/dev/null || ! command -v dbus-run-session >/dev/null 2>&1 ||
   [ ! -x /usr/libexec/at-spi-bus-launcher ]; then
  echo "SKIP: python3-pyatspi, dbus-run-session or at-spi2-core missing (scripts/deps.sh installs them)" >&2
  exit 77
fi
if [ -z "${ZOZUZ_X_SESSION:-}" ]; then
  ZOZUZ_X_SESSION=1 exec "$here/run_in_x_session.sh" "$0" "$@"
fi
# A session bus of the test's own, on which the accessibility bus is started on demand.
if [ -z "${ZOZUZ_DBUS_SESSION:-}" ]; then
  ZOZUZ_DBUS_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

zozuz=${1:?usage: $0 PATH_TO_ZOZUZ}
log=$(mktemp "${TMPDIR:-/tmp}/zozuz-atspi.XXXXXX")
pid=""
# shellcheck source=tests/hosts/qt/e2e_helpers.sh
. "$here/e2e_helpers.sh"

finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -f "$log"
}
trap finish EXIT

# Qt publishes its objects only when asked to, or when the desktop says a screen reader runs.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The screen reader's side starts the program once it listens for events: a program asks which
# events are listened for as it joins the bus.
ZOZUZ=$zozuz ZOZUZ_LOG=$log timeout 60 "$python" - <<'PY' || fail "the screen reader's view"
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

dump = bool(os.environ.get("ZOZUZ_ATSPI_DUMP"))
failures = []
events = []


def check(what, ok, detail=""):
    print(("ok: " if ok else "FAIL: ") + what + (f" ({detail})" if detail else ""), flush=True)
    if not ok:
        failures.append(what)


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(seconds, probe):
    end = time.monotonic() + seconds
    while True:
        try:
            value = probe()
        except Exception:  # the object may still be on its way
            value = None
        if value or time.monotonic() > end:
            return value
        pump(0.1)


def app():
    for candidate in pyatspi.Registry.getDesktop(0):
        if candidate is not None and candidate.get_process_id() == pid:
            return candidate
    return None


def walk(node, depth=0):
    yield node, depth
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def states(node):
    return node.getState()


def describe(node):
    role = node.getRoleName()
    line = f"{role} '{node.name}'"
    if node.description and node.description != node.name:
        line += f" description='{node.description}'"
    s = states(node)
    flags = [n for n, st in (("enabled", pyatspi.STATE_ENABLED), ("focusable", pyatspi.STATE_FOCUSABLE),
                             ("focused", pyatspi.STATE_FOCUSED), ("editable", pyatspi.STATE_EDITABLE),
                             ("multi-line", pyatspi.STATE_MULTI_LINE), ("active", pyatspi.STATE_ACTIVE))
             if s.contains(st)]
    line += " [" + ",".join(flags) + "]"
    try:
        text = node.queryText()
        line += f" text='{text.getText(0, -1)}' caret={text.caretOffset}"
    except NotImplementedError:
        pass
    try:
        action = node.queryAction()
        line += " actions=" + ",".join(action.getName(i) for i in range(action.nActions))
    except NotImplementedError:
        pass
    try:
        value = node.queryValue()
        line += f" value={value.currentValue} of {value.minimumValue}..{value.maximumValue}"
    except NotImplementedError:
        pass
    try:
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        line += f" at {extents.x},{extents.y} {extents.width}x{extents.height}"
    except NotImplementedError:
        pass
    return line


def print_tree(title, root):
    print(f"--- {title} ---")
    for node, depth in walk(root):
        print("  " * depth + describe(node))
    sys.stdout.flush()


def listen(event):
    try:
        source = event.source.getRoleName()
    except Exception:
        source = "?"
    events.append((event.type, event.detail1, event.any_data, source))


for kind in ("object:text-caret-moved", "object:text-changed", "focus:", "object:state-changed:focused",
             "object:state-changed", "object:property-change", "object:children-changed"):
    pyatspi.Registry.registerEventListener(listen, kind)

pyatspi.Registry.getDesktop(0).childCount  # joins the bus and registers the listeners now
pump(0.2)
program = subprocess.Popen([os.environ["ZOZUZ"]], stdout=open(os.environ["ZOZUZ_LOG"], "w"), stderr=subprocess.STDOUT)
pid = program.pid


def main_window():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^zozuz$"], capture_output=True, text=True)
    return found.stdout.split()[0] if found.stdout.split() else None


window = wait_for(20, main_window)
check("a visible window captioned zozuz", window is not None)
if window is None:
    sys.exit(1)
subprocess.run(["timeout", "5", "xdotool", "windowactivate", "--sync", window], capture_output=True)
application = wait_for(15, app)
check("zozuz is on the accessibility bus", application is not None)
if application is None:
    sys.exit(1)
frame = wait_for(10, lambda: next((c for c in application if c is not None and c.name == "zozuz"), None))
check("a window named by its caption", frame is not None)
if frame is None:
    sys.exit(1)
check("the window's role", frame.getRole() in (pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW), frame.getRoleName())


def find(predicate):
    return [node for node, _ in walk(frame) if predicate(node)]


editor = wait_for(5, lambda: next(iter(find(lambda n: n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
                                          and states(n).contains(pyatspi.STATE_EDITABLE))), None))
check("an editable text", editor is not None)
if editor is None:
    sys.exit(1)
text = editor.queryText()
check("the editor is multi-line", states(editor).contains(pyatspi.STATE_MULTI_LINE))

# Typed on the keyboard, then typed by the screen reader at the caret.
subprocess.run(["xdotool", "type", "--delay", "30", "abc "], check=True)
wait_for(5, lambda: text.characterCount == 4)
editor.queryEditableText().insertText(4, "中文", 2)
read = wait_for(5, lambda: text.getText(0, -1) == "abc 中文" and text.getText(0, -1))
check("the editor's text", read == "abc 中文", repr(text.getText(0, -1)))
check("the character count", text.characterCount == 6, str(text.characterCount))
check("a piece of it", text.getText(4, 6) == "中文", repr(text.getText(4, 6)))
word, _, _ = text.getTextAtOffset(1, pyatspi.TEXT_BOUNDARY_WORD_START)
check("the word at offset 1", word.startswith("abc"), repr(word))
line, _, _ = text.getTextAtOffset(5, pyatspi.TEXT_BOUNDARY_LINE_START)
check("the line at offset 5", line == "abc 中文", repr(line))
subprocess.run(["xdotool", "key", "Home"], check=True)
caret = wait_for(5, lambda: text.caretOffset == 0 and "home")
check("the caret after Home", caret == "home", str(text.caretOffset))
pump(0.5)
kinds = {kind for kind, *_ in events}
check("text insertions announced", any(k.startswith("object:text-changed:insert") for k in kinds), str(sorted(kinds)))
check("caret moves announced", "object:text-caret-moved" in kinds, str(sorted(kinds)))

buttons = {}
for node in find(lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON):
    buttons[node.name] = node
check("nine or more push buttons named by their tooltips",
      len(buttons) >= 9 and all(buttons), ", ".join(sorted(buttons)))
for name in ("加密", "解密", "创建新文档"):
    check(f"a button named {name}", name in buttons)
check("a status bar", len(find(lambda n: n.getRole() == pyatspi.ROLE_STATUS_BAR)) == 1)


def enabled(name):
    return states(buttons[name]).contains(pyatspi.STATE_ENABLED)


if dump:
    print_tree("before 加密", application)
if "加密" in buttons and "解密" in buttons:
    check("加密 enabled on plain text", enabled("加密"))
    check("解密 disabled on plain text", not enabled("解密"))
    action = buttons["加密"].queryAction()
    check("加密 can be pressed", action.nActions >= 1 and action.getName(0) == "Press")
    del events[:]
    action.doAction(0)
    changed = wait_for(5, lambda: text.getText(0, -1) != "abc 中文")
    check("the text encrypted", bool(changed), repr(text.getText(0, -1)))
    swapped = wait_for(5, lambda: enabled("解密") and not enabled("加密"))
    check("解密 enabled after encrypting", bool(swapped))
    told = wait_for(5, lambda: any(kind == "object:state-changed:enabled" and detail == 1 and source == "push button"
                                   for kind, detail, _, source in events))
    check("the buttons' swap announced", bool(told),
          str([(k, d, s) for k, d, _, s in events if k == "object:state-changed:enabled"]))
if dump:
    print_tree("after 加密", application)

# The About box (Alt+H, A) is a window of its own with the labels the program draws; closing it (Enter)
# gives the keyboard back to the editor, which the screen reader hears of.
subprocess.run(["xdotool", "key", "alt+h"], check=True)
pump(0.5)
subprocess.run(["xdotool", "key", "a"], check=True)
about = wait_for(5, lambda: next((c for c in application if c is not None and c.name != "zozuz"
                                  and states(c).contains(pyatspi.STATE_ACTIVE)), None))
check("the About box is a window of its own", about is not None)
if about is not None:
    labels = [n.name for n, _ in walk(about) if n.getRole() == pyatspi.ROLE_LABEL]
    check("the About box's labels", any("zozuz" in name for name in labels), ", ".join(labels))
    if dump:
        print_tree("the About box", about)
    del events[:]
    subprocess.run(["xdotool", "key", "Return"], check=True)  # its OK button
    back = wait_for(5, lambda: any(kind.startswith("focus") and source == "text" for kind, _, _, source in events))
    check("the editor's focus announced once the About box closed", bool(back), str([(k, s) for k, _, _, s in events if k.startswith(("focus", "object:state-changed:focused"))]))
    print("--- events ---")
    for kind, detail, data, source in events:
        print(kind, detail, repr(data), "from", source)

check("zozuz still runs", program.poll() is None)
program.kill()
program.wait()
sys.exit(1 if failures else 0)
PY
