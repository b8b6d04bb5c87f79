"""Walks the accessibility tree of every editor window and dialog, for each
model family in English and German, as a screen reader sees it over AT-SPI.
Fails on a focusable object without a name, a grid whose cells say nothing
(no place, or no text where the grid shows text), a tab step that runs
against the visual order, a keyboard trap, and a window larger than the
1366 by 768 screen. The dialogs are those of the File, Model, Program, Tools,
Setup and Help menus, and the ones they lead to (a file picked in a file
dialog by keyboard: the channel import, the file comparison, the preview).
With $A11Y_DESKTOP_POINTS the desktop font is set to that size first (as a
desktop's settings do), and the program must show it.
    tree_test.py BIN_DIR SIM_DIR [lang:model ...]"""

import os
import subprocess
import sys
import time

import pyatspi

from a11y_common import (CTRL, SCREEN, Program, args, children, extents, fail, key, role, state, type_text, wait_for,
                         walk)

# The models of the three families: four typed channels, the Varitel model
# with its preset list, sixteen typed channels.
RUNS = [("en", 1), ("en", 2), ("en", 3), ("de", 1), ("de", 2), ("de", 3)]
# Of these, the runs that also walk the File, Model, Setup and Help dialogs
# and Tab round every dialog (which differ little between the families);
# runs named on the command line always do.
DIALOG_RUNS = {("en", 2), ("de", 1)}
FILE_MENU, MODEL_MENU, EDIT_MENU, PROGRAM_MENU, TOOL_MENU, SETUP_MENU, HELP_MENU = 0, 1, 2, 3, 4, 5, -1
# The File menu's entries, separators left out.
NEW, OPEN, SAVE, SAVE_AS, IMPORT_TEXT, EXPORT_TEXT, IMPORT_CHANNELS, EXPORT_CHANNELS, COMPARE_FILE, PRINT, \
    PREVIEW, EXIT = range(12)
# Roles whose objects take the focus only as part of their owner (the
# entries of an open list, a table's cells, the menus), checked elsewhere.
SKIP_ROLES = {pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU,
              pyatspi.ROLE_TABLE_COLUMN_HEADER, pyatspi.ROLE_TABLE_ROW_HEADER, pyatspi.ROLE_SCROLL_BAR}


def spoken_name(acc):
    """The name a screen reader says: the object's own, or for a combo box
    (whose name is its value on this platform) the label it is labelled by."""
    name = (acc.name or "").strip()
    if role(acc) == pyatspi.ROLE_COMBO_BOX:
        labels = [r.getTarget(i).name for r in acc.getRelationSet()
                  if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(r.getNTargets())]
        name = next((l for l in labels if l and l.strip()), "")
    return name


def describe(acc):
    try:
        return "%s %r" % (acc.getRoleName(), acc.name)
    except Exception:
        return "?"


class Checker:
    def __init__(self):
        self.faults = 0

    def fault(self, where, message):
        self.faults += 1
        fail("%s: %s" % (where, message))

    def names(self, where, top):
        for acc in walk(top):
            if role(acc) in SKIP_ROLES or not state(acc, pyatspi.STATE_SHOWING):
                continue
            if state(acc, pyatspi.STATE_FOCUSABLE) and not spoken_name(acc):
                parent = acc.parent
                self.fault(where, "focusable %s without a name (in %s)" % (acc.getRoleName(), describe(parent)))

    def grids(self, where, top):
        tables = [a for a in walk(top) if role(a) == pyatspi.ROLE_TABLE and state(a, pyatspi.STATE_SHOWING)]
        for table in tables:
            t = table.queryTable()
            rows, columns = t.nRows, t.nColumns
            if rows == 0 or columns == 0:
                self.fault(where, "grid %r exposes no cells" % table.name)
                continue
            headers = [(t.getColumnHeader(c).name if t.getColumnHeader(c) else "") for c in range(columns)]
            spoken = 0
            for r in range(rows):
                for c in range(columns):
                    cell = t.getAccessibleAt(r, c)
                    if cell is None:
                        self.fault(where, "grid %r: no cell at row %d column %d" % (table.name, r + 1, c + 1))
                        continue
                    text, place = (cell.name or "").strip(), (cell.description or "").strip()
                    # Where the cell stands: its row and its column header.
                    if not place or (headers[c] and headers[c] not in place):
                        self.fault(where, "grid %r row %d column %r: place %r does not name its column"
                                   % (table.name, r + 1, headers[c], place))
                    if text:
                        spoken += 1
            if not spoken:
                self.fault(where, "grid %r: every cell is silent" % table.name)
            if not all(headers):
                self.fault(where, "grid %r: column headers without text: %r" % (table.name, headers))

    def size(self, where, acc):
        x, y, w, h = extents(acc)
        if w > SCREEN[0] or h > SCREEN[1]:
            self.fault(where, "%s is %dx%d, larger than the screen" % (describe(acc), w, h))

    def tab_order(self, where, program, window):
        """Tab through the window and round: each step goes on down the
        window, right along the same line, or to the next column; once in the
        round the focus may wrap from the last control back up to the
        first."""
        # A dialog busy with the radio as it opens gives the focus once done.
        first = wait_for(lambda: program.focused(window), timeout=15)
        if first is None:
            self.fault(where, "nothing in the window has the focus")
            return
        seen, previous, wraps = [first], first, []
        for _ in range(80):
            key("Tab")
            # The focus takes a moment to move; where it stays put, the
            # window holds the keyboard on one control.
            now = wait_for(lambda: (lambda f: f if f is not None and f != previous else None)(
                program.focused(window)), timeout=3) or program.focused(window)
            if now is None:
                self.fault(where, "the focus left the window after %s" % describe(previous))
                return
            try:
                px, py, pw, ph = extents(previous)
                nx, ny, nw, nh = extents(now)
            except Exception:
                px = py = nx = ny = ph = nh = 0
            same_line = abs((py + ph / 2) - (ny + nh / 2)) < max(ph, nh, 1) / 2
            # On down, on right along the line, or up into the next column
            # (wholly right of the control before: a column of groups or of
            # buttons beside the fields).
            if not ((same_line and nx >= px) or (not same_line and ny >= py) or nx >= px + pw):
                wraps.append("%s at %d,%d to %s at %d,%d" % (describe(previous), px, py, describe(now), nx, ny))
            if now == first or now in seen:
                break
            seen.append(now)
            previous = now
        else:
            self.fault(where, "Tab never comes back round (a trap?)")
            return
        # Labels count for nothing here: a label whose text the mouse may
        # select says it is focusable, but Tab passes it by.
        if len(seen) == 1 and sum(1 for a in walk(window) if state(a, pyatspi.STATE_FOCUSABLE)
                                  and state(a, pyatspi.STATE_SHOWING)
                                  and role(a) not in SKIP_ROLES | {pyatspi.ROLE_LABEL}) > 1:
            self.fault(where, "Tab stays on %s (a keyboard trap)" % describe(first))
        if now != first:
            self.fault(where, "Tab circles without coming back to %s" % describe(first))
        if len(wraps) > 1:
            self.fault(where, "Tab runs against the visual order: " + "; ".join(wraps))
        print("%s: Tab goes round %d controls: %s" % (where, len(seen), ", ".join(describe(a) for a in seen)),
              flush=True)


def pages(window):
    return [a for a in walk(window) if role(a) == pyatspi.ROLE_PAGE_TAB_LIST]


def check_editor(checker, program, where, window):
    checker.size(where, window)
    tab_lists = pages(window)
    if not tab_lists:
        checker.names(where, window)
        checker.grids(where, window)
        return
    tabs = [t for t in children(tab_lists[0]) if role(t) == pyatspi.ROLE_PAGE_TAB]
    for i, tab in enumerate(tabs):
        tab.queryAction().doAction(0)
        time.sleep(0.3)
        checker.names("%s, tab %d" % (where, i + 1), window)
        checker.grids("%s, tab %d" % (where, i + 1), window)


# The roles of a dialog and a message box (a completion list that pops up
# under a file name is a window of its own, not one of them).
DIALOG_ROLES = {pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_FILE_CHOOSER}


def open_dialog(program, other=None, timeout=10.0):
    """The dialog now open, other than `other`."""
    return wait_for(lambda: next((w for w in program.windows() if role(w) in DIALOG_ROLES and w != other), None),
                    timeout)


def check_dialog(checker, program, where, box, tab=True):
    time.sleep(0.3)
    checker.size(where, box)
    checker.names(where, box)
    checker.grids(where, box)
    if tab:
        checker.tab_order(where, program, box)


def close_dialogs(checker, program, where):
    """Escape until no dialog is left (a dialog busy with the radio takes it
    once it is done)."""
    for _ in range(20):
        key("Escape")
        if wait_for(lambda: open_dialog(program, timeout=0) is None, timeout=1.5):
            return True
    checker.fault(where, "Escape does not close the dialog")
    return False


def pick_file(program, box, name):
    """Types `name` into the file dialog's name box, where the keyboard is
    when it opens (and where Tab brought it back), and takes it."""
    key("a", CTRL)
    type_text(name)
    key("Return")
    # A completion list open under the name takes the first Return.
    if not wait_for(lambda: box not in program.windows(), timeout=2):
        key("Return")


def run_flow(checker, program, label, menu, index, steps, tab=True):
    """Opens the entry number `index` of menu number `menu` by keyboard and
    checks each dialog on the way: a step "close" leaves it with Escape,
    "accept" with Return (its default button), ("pick", NAME) takes that
    file; the dialog after a step that goes on is checked in turn."""
    items = program.menu_items(menu)
    item = items[index]
    if not state(item, pyatspi.STATE_ENABLED):
        return
    # Down walks the enabled entries, the first Down to the first one.
    program.open_menu_entry(menu, sum(1 for i in items[:index + 1] if state(i, pyatspi.STATE_ENABLED)))
    box, where = open_dialog(program), "%s, %r" % (label, item.name)
    for number, step in enumerate(steps):
        if box is None:
            checker.fault(where, "opened no dialog (step %d)" % (number + 1))
            close_dialogs(checker, program, where)
            return
        where = "%s, dialog %r" % (label, box.name)
        check_dialog(checker, program, where, box, tab)
        if step == "close":
            close_dialogs(checker, program, where)
            return
        if step == "accept":
            key("Return")
        else:
            pick_file(program, box, step[1].format(home=program.home))
        box = open_dialog(program, box) if number + 1 < len(steps) else None
    if not wait_for(lambda: open_dialog(program, timeout=0) is None, timeout=5):
        checker.fault(where, "a dialog stayed open after the last step")
        close_dialogs(checker, program, where)


# The dialogs of the File, Model, Setup and Help menus. Save As writes the
# data file and Export Channels a channel list in the data folder, which
# Import Channels then picks; Compare with File picks a file of another model
# (so that there are differences to list).
SHELL_FLOWS = [
    (FILE_MENU, NEW, ["close"]),
    (FILE_MENU, OPEN, ["close"]),
    (FILE_MENU, SAVE_AS, [("pick", "a11y.dat")]),
    (FILE_MENU, IMPORT_TEXT, ["close"]),
    (FILE_MENU, EXPORT_TEXT, ["close"]),
    (FILE_MENU, EXPORT_CHANNELS, [("pick", "a11y.csv")]),
    (FILE_MENU, IMPORT_CHANNELS, [("pick", "a11y.csv"), "close"]),
    (FILE_MENU, COMPARE_FILE, [("pick", "{home}/other.dat"), "close"]),
    (FILE_MENU, PRINT, ["close"]),
    (FILE_MENU, PREVIEW, ["accept", "close"]),
    (MODEL_MENU, 0, ["close"]),
    (SETUP_MENU, 0, ["close"]),
    (SETUP_MENU, 1, ["close"]),
    (SETUP_MENU, 2, ["close"]),
    (HELP_MENU, 2, ["close"]),
]


def check_menu(checker, program, label, menu, tab):
    """Every dialog of the Program or Tools menu, left with Escape."""
    for index in range(len(program.menu_items(menu))):
        run_flow(checker, program, label, menu, index, ["close"], tab)


def check_font(checker, label, program):
    """With $A11Y_DESKTOP_POINTS the editors' text and number fields draw their text at
    least that large: a character as tall as the size in pixels (at 96 dpi),
    which the language file's own size is not."""
    points = int(os.environ.get("A11Y_DESKTOP_POINTS") or 0)
    if not points:
        return
    fields = [a for w in program.editors() for a in walk(w)
              if role(a) in (pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON) and state(a, pyatspi.STATE_SHOWING)]
    heights = []
    for field in fields[:5]:
        try:
            text = field.queryText()
            if text.characterCount:
                heights.append(text.getCharacterExtents(0, pyatspi.DESKTOP_COORDS)[3])
        except Exception:
            continue
    if not heights or max(heights) < points * 96 / 72:
        checker.fault(label, "the %d pt desktop font is not used: characters %r pixels tall" % (points, heights))
    print("%s: characters %r pixels tall at %d pt" % (label, heights, points), flush=True)


def run(bin_dir, sim_dir, lang, model, checker, dialogs):
    label = "%s, model %d" % (lang, model)
    program = Program(bin_dir, sim_dir, lang, model)
    try:
        checker.size(label + ", main window", program.frame)
        checker.names(label + ", main window", program.frame)
        editors = [i for i in program.menu_items(EDIT_MENU) if state(i, pyatspi.STATE_ENABLED)]
        if len(editors) < 7:
            checker.fault(label, "the Edit menu offers only %r" % [i.name for i in editors])
        for item in editors:
            before = len(program.editors())
            item.queryAction().doAction(0)
            if not wait_for(lambda: len(program.editors()) > before, timeout=10):
                checker.fault(label, "%r opened no window" % item.name)
        time.sleep(0.5)
        print("%s: %d editor windows" % (label, len(program.editors())), flush=True)
        check_font(checker, label, program)
        for window in program.editors():
            where = "%s, %r" % (label, window.name)
            check_editor(checker, program, where, window)
        # Tab order, window by window (Ctrl+F6 goes on to the next).
        visited = set()
        for _ in program.editors():
            key("F6", CTRL)
            time.sleep(0.4)
            active = next((w for w in program.editors() if program.focused(w) is not None), None)
            if active is None:
                continue  # a window with nothing to focus (the key image) is active
            visited.add(active.name)
            checker.tab_order("%s, %r" % (label, active.name), program, active)
        # Windows with nothing to focus (the key image) are passed over.
        focusable = [w for w in program.editors()
                     if any(state(a, pyatspi.STATE_FOCUSABLE) and state(a, pyatspi.STATE_SHOWING) for a in walk(w))]
        if len(visited) != len(focusable):
            checker.fault(label, "Ctrl+F6 reached only %r of %d windows" % (sorted(visited), len(focusable)))
        check_menu(checker, program, label, PROGRAM_MENU, dialogs)
        check_menu(checker, program, label, TOOL_MENU, dialogs)
        if not dialogs:
            return
        subprocess.run([os.path.join(bin_dir, "vrm650t-cli"), "new", "--model", str(3 if model != 3 else 1), "-o",
                        os.path.join(program.home, "other.dat")], check=True, stdout=subprocess.DEVNULL)
        for menu, index, steps in SHELL_FLOWS:
            run_flow(checker, program, label, menu, index, steps)
    finally:
        program.stop()


def main():
    bin_dir, sim_dir = args()
    runs = [(r.split(":")[0], int(r.split(":")[1])) for r in sys.argv[3:]] or RUNS
    checker = Checker()
    for lang, model in runs:
        run(bin_dir, sim_dir, lang, model, checker, len(sys.argv) > 3 or (lang, model) in DIALOG_RUNS)
        print("a11y tree: %s model %d walked" % (lang, model), flush=True)
    if checker.faults:
        print("a11y tree: %d faults" % checker.faults)
        return 1
    print("a11y tree: every window passes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
