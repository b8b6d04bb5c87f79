"""What the accessibility tests share: the program started with the simulated
radio in a home of its own, its accessibility tree reached over AT-SPI, and
keys typed through the accessibility bus's keyboard synthesis."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402
import pyatspi  # noqa: E402

SCREEN = (1366, 768)
CTRL, SHIFT, ALT = 1 << 2, 1 << 0, 1 << 3
KEYS = {"Tab": 0xFF09, "Return": 0xFF0D, "Escape": 0xFF1B, "Down": 0xFF54, "Up": 0xFF52,
        "Left": 0xFF51, "Right": 0xFF53, "F6": 0xFFC3, "F11": 0xFFC8, "Home": 0xFF50,
        "BackSpace": 0xFF08, "F4": 0xFFC1}


def fail(message):
    print("FAIL: " + message, flush=True)


def wait_for(predicate, timeout=10.0, step=0.1):
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > end:
            return value
        time.sleep(step)


def state(acc, s):
    try:
        return acc.getState().contains(s)
    except Exception:
        return False


def role(acc):
    try:
        return acc.getRole()
    except Exception:
        return None


def children(acc):
    try:
        return [acc.getChildAtIndex(i) for i in range(acc.childCount)]
    except Exception:
        return []


def walk(acc, into_tables=False):
    """Every object below `acc` (the cells of tables and trees only when
    asked)."""
    for child in children(acc):
        if child is None:
            continue
        yield child
        if role(child) in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE) and not into_tables:
            continue
        yield from walk(child, into_tables)


def extents(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (e.x, e.y, e.width, e.height)


def key(name, modifiers=0):
    """Presses and releases one key with `modifiers` held."""
    sym = KEYS[name] if name in KEYS else ord(name)
    if modifiers:
        Atspi.generate_keyboard_event(modifiers, None, Atspi.KeySynthType.LOCKMODIFIERS)
    Atspi.generate_keyboard_event(sym, None, Atspi.KeySynthType.SYM)
    if modifiers:
        Atspi.generate_keyboard_event(modifiers, None, Atspi.KeySynthType.UNLOCKMODIFIERS)
    time.sleep(0.15)


def type_text(text):
    for ch in text:
        key(ch)


class Program:
    """The desktop program in a home of its own, with the simulated radio."""

    def __init__(self, bin_dir, sim_dir, lang, model):
        self.bin_dir, self.sim_dir = bin_dir, sim_dir
        self.home = tempfile.mkdtemp(prefix="vrm-a11y-")
        self.data = os.path.join(self.home, "start.dat")
        subprocess.run([os.path.join(bin_dir, "vrm650t-cli"), "new", "--model", str(model), "-o", self.data],
                       check=True, stdout=subprocess.DEVNULL)
        dump = subprocess.run([os.path.join(bin_dir, "vrm650t-cli"), "dump", self.data], check=True,
                              capture_output=True, text=True).stdout.split("\n")
        identity = next(line for line in dump if line.startswith("000:")).split()[1:17]
        config = os.path.join(self.home, ".config", "TREVONA")
        os.makedirs(config)
        with open(os.path.join(config, "VRM650T.conf"), "w") as f:
            f.write("[Backup]\nLanguageName=vrm650t_%s.lng\nLastModel=%s\n" % (lang, ":".join(identity)))
        runtime = os.path.join(self.home, "run")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_RUNTIME_DIR=runtime, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   QT_QPA_PLATFORM="xcb", LD_LIBRARY_PATH=sim_dir, LC_ALL="C.UTF-8",
                   VRM650T_SIM_STATE=os.path.join(self.home, "radio.state"))
        # $A11Y_DESKTOP_POINTS: the desktop font a low-vision user set, given
        # as a KDE desktop keeps it (Qt reads it there without a plug-in).
        points = os.environ.get("A11Y_DESKTOP_POINTS")
        if points:
            with open(os.path.join(config, "..", "kdeglobals"), "w") as f:
                f.write("[General]\nfont=DejaVu Sans,%s,-1,5,50,0,0,0,0,0\n" % points)
            env.update(XDG_CURRENT_DESKTOP="KDE", KDE_SESSION_VERSION="5", KDE_FULL_SESSION="true")
        self.wm = None
        if shutil.which("openbox"):
            self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            time.sleep(0.5)
        self.process = subprocess.Popen([os.path.join(bin_dir, "vrm650t")], env=env, cwd=self.home)
        self.app = wait_for(self._find_app, timeout=30)
        if not self.app:
            self.stop()
            raise RuntimeError("the program did not appear on the accessibility bus")
        self.frame = wait_for(lambda: next((w for w in children(self.app) if role(w) == pyatspi.ROLE_FRAME), None))
        if not self.frame:
            self.stop()
            raise RuntimeError("the program's main window did not appear")
        wait_for(lambda: state(self.frame, pyatspi.STATE_ACTIVE), timeout=5)
        print("started: %s" % self.frame.name, flush=True)

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            try:
                if app is not None and app.get_process_id() == self.process.pid:
                    return app
            except Exception:
                continue
        return None

    def windows(self):
        return [w for w in children(self.app) if w is not None and state(w, pyatspi.STATE_SHOWING)]

    def dialog(self, timeout=10.0):
        """A top-level window other than the main frame (a dialog, a box)."""
        return wait_for(lambda: next((w for w in self.windows() if role(w) != pyatspi.ROLE_FRAME), None), timeout)

    def menu_items(self, index):
        """The entries of the menu bar's menu number `index`."""
        bar = next((a for a in walk(self.frame) if role(a) == pyatspi.ROLE_MENU_BAR), None)
        entry = children(bar)[index]
        popup = next((a for a in children(entry) if a is not None), None)
        return [a for a in children(popup) if role(a) == pyatspi.ROLE_MENU_ITEM]

    def editors(self):
        """The editor windows: the frames inside the main window's MDI area."""
        area = next((a for a in children(self.frame) if role(a) == pyatspi.ROLE_LAYERED_PANE), None)
        return [w for w in children(area) if role(w) == pyatspi.ROLE_FRAME and state(w, pyatspi.STATE_SHOWING)]

    def open_menu_entry(self, menu, index):
        """Opens the menu bar's menu number `menu` and picks its entry
        number `index` by keyboard (a modal dialog behind it would hold up an
        accessibility action's reply)."""
        bar = next((a for a in walk(self.frame) if role(a) == pyatspi.ROLE_MENU_BAR), None)
        children(bar)[menu].queryAction().doAction(0)
        time.sleep(0.4)
        for _ in range(index):
            key("Down")
        key("Return")

    def focused(self, within=None):
        """The object with the keyboard focus: the deepest focused one (a
        widget whose focus goes on to a child reports the focus too)."""
        found = None
        for acc in walk(within or self.frame):
            if not state(acc, pyatspi.STATE_FOCUSED):
                continue
            # The current tab of a tab bar says it is focused whether or not
            # its bar has the focus.
            if role(acc) == pyatspi.ROLE_PAGE_TAB and not state(acc.parent, pyatspi.STATE_FOCUSED):
                continue
            # The current entry of a list keeps saying so after the list lost
            # the focus.
            if role(acc) == pyatspi.ROLE_LIST_ITEM and not state(acc.parent, pyatspi.STATE_FOCUSED):
                continue
            found = acc
        return found

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
        if self.wm:
            self.wm.terminate()
            self.wm.wait(5)
        shutil.rmtree(self.home, ignore_errors=True)


def args():
    if len(sys.argv) < 3:
        sys.exit("usage: %s BIN_DIR SIM_DIR" % sys.argv[0])
    return os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
