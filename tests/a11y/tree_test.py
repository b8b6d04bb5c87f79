"""Walks the accessibility tree of every editor window and dialog, for each
model family in English and German, as a screen reader sees it over AT-SPI.
Fails on a focusable object without a name, a grid whose cells say nothing
(no place, or no text where the grid shows text), a tab step that runs
against the visual order, and a window larger than the 1366 by 768 screen.
    tree_test.py BIN_DIR SIM_DIR [lang:model ...]"""

import sys
import time

import pyatspi

from a11y_common import (CTRL, SCREEN, Program, args, children, extents, fail, key, role, state, wait_for, walk)

# The models of the three families: four typed channels, the Varitel model
# with its preset list, sixteen typed channels.
RUNS = [("en", 1), ("en", 2), ("en", 3), ("de", 1), ("de", 2), ("de", 3)]
EDIT_MENU, PROGRAM_MENU, TOOL_MENU = 2, 3, 4
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
        window, or right along the same line; once in the round the focus
        may wrap from the last control back up to the first."""
        first = program.focused(window)
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
            if not ((same_line and nx >= px) or (not same_line and ny >= py)):
                wraps.append("%s at %d,%d to %s at %d,%d" % (describe(previous), px, py, describe(now), nx, ny))
            if now == first or now in seen:
                break
            seen.append(now)
            previous = now
        else:
            self.fault(where, "Tab never comes back round (a trap?)")
            return
        if len(seen) == 1 and sum(1 for a in walk(window) if state(a, pyatspi.STATE_FOCUSABLE)
                                  and state(a, pyatspi.STATE_SHOWING) and role(a) not in SKIP_ROLES) > 1:
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


def check_dialogs(checker, program, label, menu, skip=()):
    items = program.menu_items(menu)
    for index, item in enumerate(items):
        name = item.name
        if not state(item, pyatspi.STATE_ENABLED) or index in skip:
            continue
        # Down walks the enabled entries, the first Down to the first one.
        program.open_menu_entry(menu, sum(1 for i in items[:index + 1] if state(i, pyatspi.STATE_ENABLED)))
        box = program.dialog()
        if box is None:
            checker.fault(label, "%r opened no dialog" % name)
            continue
        time.sleep(0.3)
        where = "%s, dialog %r" % (label, box.name)
        checker.size(where, box)
        checker.names(where, box)
        checker.grids(where, box)
        # A dialog busy with the radio (Radio Information reads at once)
        # takes Escape once it is done.
        closed = False
        for _ in range(20):
            key("Escape")
            if wait_for(lambda: program.dialog(timeout=0) is None, timeout=1.5):
                closed = True
                break
        if not closed:
            checker.fault(where, "Escape does not close the dialog")
            return


def run(bin_dir, sim_dir, lang, model, checker):
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
        check_dialogs(checker, program, label, PROGRAM_MENU)
        check_dialogs(checker, program, label, TOOL_MENU)
    finally:
        program.stop()


def main():
    bin_dir, sim_dir = args()
    runs = [(r.split(":")[0], int(r.split(":")[1])) for r in sys.argv[3:]] or RUNS
    checker = Checker()
    for lang, model in runs:
        run(bin_dir, sim_dir, lang, model, checker)
        print("a11y tree: %s model %d walked" % (lang, model), flush=True)
    if checker.faults:
        print("a11y tree: %d faults" % checker.faults)
        return 1
    print("a11y tree: every window passes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
