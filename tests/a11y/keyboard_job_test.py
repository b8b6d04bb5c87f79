"""A screen-reader user's job, by keyboard alone and heard through AT-SPI:
open the channel grid from the tree, create a channel by typing a receive
frequency outside the band, hear the message that it was moved into the
band, hear the cell's new text, save, and write to the simulated radio. The
radio is read back afterwards to prove the channel arrived.
    keyboard_job_test.py BIN_DIR SIM_DIR"""

import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

from a11y_common import CTRL, ALT, Program, args, children, fail, key, role, state, type_text, wait_for, walk


def pump():
    """Hands the accessibility events that arrived to their listeners."""
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def heard_box(program, what):
    """The message box now open: its text must reach a screen reader as the
    box's description. Returns the text and closes the box with Return."""
    box = wait_for(lambda: next((w for w in program.windows() if role(w) == pyatspi.ROLE_ALERT), None), 30)
    if box is None:
        fail("no message box after %s" % what)
        return None
    text = (box.description or "").strip()
    labels = [a.name for a in walk(box) if role(a) == pyatspi.ROLE_LABEL and a.name]
    if not text or text not in labels:
        fail("the box after %s does not say its text as its description: %r (labels %r)" % (what, text, labels))
    print("heard after %s: %r: %r" % (what, box.name, text), flush=True)
    key("Return")
    wait_for(lambda: program.dialog(timeout=0) is None, timeout=10)
    return text


def main():
    bin_dir, sim_dir = args()
    program = Program(bin_dir, sim_dir, "en", 3)
    cli = os.path.join(bin_dir, "vrm650t-cli")
    env = dict(os.environ, LD_LIBRARY_PATH=sim_dir, VRM650T_SIM_STATE=os.path.join(program.home, "radio.state"))
    faults = 0
    try:
        # Alt+0 shows the tree with the keyboard in it; the first editor
        # below the model is Channel Information.
        key("0", ALT)
        key("Down")
        key("Return")
        grid = wait_for(lambda: next((a for a in walk(program.frame) if role(a) == pyatspi.ROLE_TABLE
                                      and state(a, pyatspi.STATE_FOCUSED)), None), timeout=10)
        if grid is None:
            fail("the channel grid did not take the keyboard")
            return 1
        table = grid.queryTable()
        last = table.nRows - 1
        for _ in range(last):
            key("Down")
        cell = table.getAccessibleAt(last, 1)
        if not state(cell, pyatspi.STATE_FOCUSED):
            fail("Down did not reach the last channel's first field (%r)" % cell.description)
            faults += 1
        if cell.name:
            fail("the last channel is not empty: %r" % cell.name)
            faults += 1
        # Typing starts the cell's editor, which keeps the cell's name: the
        # object the focus event names, as a screen reader hears it.
        focus = []
        on_focus = lambda event: focus.append(event.source) if event.detail1 else None
        pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
        type_text("5")
        editor = wait_for(lambda: pump() or next((a for a in reversed(focus) if role(a) == pyatspi.ROLE_TEXT), None), 5)
        pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
        if editor is None or editor.name != cell.description:
            fail("the cell's editor is named %r, not %r" % (editor.name if editor else None, cell.description))
            faults += 1
        type_text("00")
        # The committed cell announces its new text (a name change of the cell).
        renamed = []
        on_name = lambda event: renamed.append(event.source) if role(event.source) == pyatspi.ROLE_TABLE_CELL else None
        pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
        key("Return")
        message = heard_box(program, "typing 500 MHz")
        wait_for(lambda: pump() or renamed, 5)
        pyatspi.Registry.deregisterEventListener(on_name, "object:property-change:accessible-name")
        if not any((c.description or "") == cell.description for c in renamed):
            fail("the committed cell did not announce its new text (%d name changes)" % len(renamed))
            faults += 1
        if not message:
            faults += 1
        cell = table.getAccessibleAt(last, 1)
        heard = wait_for(lambda: table.getAccessibleAt(last, 1).name, timeout=5)
        print("the cell now says %r (%r)" % (heard, cell.description), flush=True)
        if not heard or not heard.startswith("480"):
            fail("the channel's receive frequency reads %r, not the band's top" % heard)
            faults += 1

        # Save: the status bar's note is the only word, and it is heard.
        key("s", CTRL)
        bar = next((a for a in walk(program.frame) if role(a) == pyatspi.ROLE_STATUS_BAR), None)
        note = wait_for(lambda: bar.description if bar else None, timeout=10)
        if not note:
            faults += 1
            fail("Save said nothing a screen reader can hear (status bar %r)" % (bar,))
        print("heard after Ctrl+S: %r" % note, flush=True)

        # Write: Ctrl+W opens the write dialog, Return starts it (its default
        # button), the result comes as a box.
        key("w", CTRL)
        dialog = program.dialog(timeout=10)
        if dialog is None:
            fail("Ctrl+W opened no dialog")
            return 1
        print("write dialog %r" % dialog.name, flush=True)
        # What a screen reader is told while the write runs: the progress
        # bar's description changes at every tenth of each phase (backup
        # read, write, read-back), not at every block. The bridge's event
        # names the object, not the new text, so the text is read as the
        # event is handled (as a screen reader does): the count proves the
        # steps, the texts the words.
        events, said = [], []

        def listener(event):
            if role(event.source) == pyatspi.ROLE_PROGRESS_BAR:
                events.append(event)
                said.append(event.source.description)

        pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-description")
        key("Return")
        end = time.monotonic() + 60
        result = None
        while time.monotonic() < end:
            pump()
            if any(role(w) == pyatspi.ROLE_ALERT for w in program.windows()):
                pump()
                result = heard_box(program, "the write")
                break
            time.sleep(0.05)
        pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-description")
        print("progress: %d announcements, heard %r" % (len(events), sorted(set(said))), flush=True)
        blocks = 64
        if not (3 * 10 <= len(events) <= 3 * 12) or not any(re.search(r"\b100\b", d or "") for d in said):
            fail("the write's progress was announced %d times (a tenth of 3 phases of %d blocks is about 33), "
                 "ending with %r" % (len(events), blocks, said[-1:]))
            faults += 1
        if result is None:
            fail("the write ended without a box")
            faults += 1
        wait_for(lambda: program.dialog(timeout=0) is None, timeout=10)
        for w in program.windows():
            if role(w) != pyatspi.ROLE_FRAME:
                key("Escape")
    finally:
        program.process.terminate()
        program.process.wait(10)
    # The radio holds the channel.
    back = os.path.join(program.home, "back.dat")
    subprocess.run([cli, "radio", "read", "--yes", "-o", back], env=env, check=False, capture_output=True)
    got = subprocess.run([cli, "get", back, "channel.%d.rx" % (last + 1)], env=env, capture_output=True, text=True)
    print("the radio's channel %d: %r" % (last + 1, got.stdout.strip()), flush=True)
    if not got.stdout.strip().startswith("480"):
        fail("the radio does not hold the new channel: %r %r" % (got.stdout, got.stderr))
        faults += 1
    program.stop()
    print("a11y keyboard job: %s" % ("passes" if not faults else "%d faults" % faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
