#!/usr/bin/python3
"""What a screen reader hears: starts the calculator on a private X server, in a private
D-Bus session with its own accessibility bus, types keys into it and reads the focused
object and the name changes over AT-SPI, as Orca does.

usage: screen_reader_test.py PATH/TO/bansho
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Keys whose result is checked one key at a time, with how many name changes each may send.
KEYS = [
    # key, shown afterwards
    ("KP_7", "7."),
    ("KP_8", "78."),
    ("KP_Multiply", "78."),
    ("KP_2", "2."),
    ("KP_Enter", "156."),
    ("KP_Add", "156."),
    ("KP_1", "1."),
    ("KP_Enter", "157."),
]


def log(*args):
    print(f"[{time.monotonic():.1f}]", *args, file=sys.stderr, flush=True)


def wait_for(pred, timeout=10.0, step=0.05):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        v = pred()
        if v:
            return v
        pump(step)
    return pred()


def pump(seconds):
    """Runs the GLib loop so that AT-SPI events are delivered."""
    loop = GLib.MainLoop()
    GLib.timeout_add(int(seconds * 1000), loop.quit)
    loop.run()


def settle(events, quiet=0.5, limit=8.0):
    """Runs the loop until no event has come for `quiet` seconds (at most `limit`)."""
    end = time.monotonic() + limit
    seen = -1
    while time.monotonic() < end and seen != len(events):
        seen = len(events)
        pump(quiet)


def find_app(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if os.environ.get("KEEP_LOGS"):
                log("application", app and app.get_name(), app and app.get_process_id())
            if app is not None and app.get_process_id() == pid:
                return app
        except GLib.Error as e:
            log("error", e)
    return None


def focused(obj, depth=0):
    """The innermost object with the focused state: a window whose focus is delegated reads
    as focused too, but the keyboard is with the object inside it."""
    if obj is None or depth > 30:
        return None
    try:
        for i in range(obj.get_child_count()):
            f = focused(obj.get_child_at_index(i), depth + 1)
            if f is not None:
                return f
        if obj.get_state_set().contains(Atspi.StateType.FOCUSED):
            return obj
    except GLib.Error:
        return None
    return None


ENVIRONMENT_FAILED = 75


def main():
    program = os.path.abspath(sys.argv[1])
    failures = []
    work = tempfile.mkdtemp(prefix="bansho-a11y-")
    procs = []
    try:
        # The program keeps its settings beside itself: run a copy in a folder of our own.
        shutil.copy(program, os.path.join(work, "bansho"))
        home = os.path.join(work, "home")
        os.makedirs(home)
        env = dict(os.environ)
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_RUNTIME_DIR=work, QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", NO_AT_BRIDGE="0")
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        env.pop("AT_SPI_BUS_ADDRESS", None)

        rfd, wfd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(wfd), "-screen", "0", "1280x800x24",
                                 "-nolisten", "tcp", "-noreset"], pass_fds=[wfd],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        procs.append(xvfb)
        os.close(wfd)
        # Xvfb writes the number and then a newline, in two writes: closing the pipe after
        # the first read kills it ("Cannot write display number") when they come apart.
        display = b""
        while not display.endswith(b"\n"):
            chunk = os.read(rfd, 16)
            if not chunk:
                break
            display += chunk
        os.close(rfd)
        display = display.decode().strip()
        env["DISPLAY"] = ":" + display
        log("X server", env["DISPLAY"])

        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
        procs.append(bus)
        env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        launcher = "/usr/libexec/at-spi-bus-launcher"
        procs.append(subprocess.Popen([launcher, "--launch-immediately"], env=env,
                                      stdout=subprocess.DEVNULL,
                                      stderr=open(os.path.join(work, "bus.log"), "w")))
        # The accessibility bus's address, once the launcher has it; the program and this
        # script both go there directly.
        address = ""
        end = time.monotonic() + 20
        while not address and time.monotonic() < end:
            r = subprocess.run(["dbus-send", "--session", "--print-reply=literal",
                                "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                               env=env, capture_output=True, text=True, timeout=10)
            address = r.stdout.strip() if r.returncode == 0 else ""
            if not address:
                time.sleep(0.1)
        if not address:
            failures.append("the accessibility bus did not start")
            return report(failures)
        os.environ.update({k: env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        os.environ["AT_SPI_BUS_ADDRESS"] = address
        Atspi.init()
        Atspi.set_timeout(3000, 15000)
        log("accessibility bus reached")
        # The registry is started on the bus by the first call to it. Started here, before the
        # program, so that the program's registration and this script's first question do not
        # both start it at once (on a loaded machine the second start dropped the first).
        def registry_answers():
            try:
                return Atspi.get_desktop(0).get_child_count() >= 0
            except GLib.Error:
                return False
        if not wait_for(registry_answers, timeout=20):
            # The registry could not open the X server (its log says why, below). Nothing of
            # the program has been checked yet; the run starts afresh.
            print("the accessibility registry did not answer", file=sys.stderr)
            with open(os.path.join(work, "bus.log")) as f:
                sys.stderr.write(f.read()[-2000:])
            return ENVIRONMENT_FAILED
        log("registry answers")

        names = []

        def on_name(event):
            try:
                if event.source is not None and event.source.get_process_id() == app_pid[0]:
                    names.append((event.source.path, event.source.get_name()))
            except GLib.Error:
                pass

        listener = Atspi.EventListener.new(on_name)
        listener.register("object:property-change:accessible-name")

        app_proc = subprocess.Popen([os.path.join(work, "bansho")], env=env, cwd=work,
                                    stdout=subprocess.DEVNULL,
                                    stderr=open(os.path.join(work, "program.log"), "w"))
        procs.append(app_proc)
        app_pid = [app_proc.pid]

        log("program started")
        app = wait_for(lambda: find_app(app_proc.pid), timeout=20)
        log("program on the bus:", app is not None)
        if app is None:
            failures.append("the program never appeared on the accessibility bus")
            return report(failures)
        def main_window():
            ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                  str(app_proc.pid)], env=env, capture_output=True,
                                 text=True, timeout=10).stdout.split()
            for i in ids:
                name = subprocess.run(["xdotool", "getwindowname", i], env=env,
                                      capture_output=True, text=True, timeout=10).stdout
                if "ver 3" in name:
                    return [i]
            return None

        wid = wait_for(main_window, timeout=20)
        if not wid:
            failures.append("the main window never showed")
            return report(failures)
        # The main window, activated as a window manager does when a program starts.
        subprocess.run(["xdotool", "windowactivate", "--sync", wid[0]], env=env,
                       capture_output=True, timeout=10)
        subprocess.run(["xdotool", "windowfocus", "--sync", wid[0]], env=env,
                       capture_output=True, timeout=10)

        def check_focus(what, expected):
            """Checks the focused object and returns its object path."""
            obj = wait_for(lambda: (lambda f: f if f is not None and f.get_name() == expected
                                    else None)(focused(app)), timeout=5)
            obj = obj or focused(app)
            if obj is None:
                failures.append(f"{what}: nothing in the program has the keyboard focus")
                return None
            role = obj.get_role_name()
            name = obj.get_name()
            if role not in ("label", "status bar", "static"):
                failures.append(f"{what}: the focused object is a {role!r} named {name!r}, "
                                f"not the number display")
            if name != expected:
                failures.append(f"{what}: the focused object reads {name!r}, the display "
                                f"shows {expected!r}")
            return obj.path

        check_focus("after start", "0.")
        settle(names)
        before = "0."
        for key, shown in KEYS:
            names.clear()
            subprocess.run(["xdotool", "key", "--delay", "0", key], env=env, timeout=10)
            path = check_focus(f"after {key}", shown)
            settle(names)
            expected = [] if shown == before else [shown]
            heard = [n for p, n in names if p == path]
            if heard != expected:
                failures.append(f"after {key}: the name changes were {heard!r}, a screen "
                                f"reader should hear {expected!r}")
            before = shown

        # An error reads as a word, not as the display's dashes.
        for key in ("KP_1", "KP_Divide", "KP_0", "KP_Enter"):
            subprocess.run(["xdotool", "key", key], env=env, timeout=10)
        check_focus("after a division by zero", "エラー")
    finally:
        for p in reversed(procs):
            if p.poll() is None:
                p.send_signal(signal.SIGTERM)
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
        if failures and os.environ.get("KEEP_LOGS"):
            for name in ("bus.log", "program.log"):
                try:
                    sys.stderr.write(f"--- {name}\n" + open(os.path.join(work, name)).read())
                except OSError:
                    pass
        shutil.rmtree(work, ignore_errors=True)

    return report(failures)


def report(failures):
    for f in failures:
        print("FAIL:", f)
    if not failures:
        print("ok: the focused object reads the shown number after start and after every key, "
              "one announcement per change")
    return 1 if failures else 0


if __name__ == "__main__":
    if os.environ.get("BANSHO_A11Y_RUN"):
        sys.exit(main())
    # Each run in a process of its own (the accessibility library keeps its first bus); only
    # a run whose X server, buses and registry did not come up is tried again.
    for attempt in range(3):
        run = subprocess.run([sys.executable, os.path.abspath(__file__)] + sys.argv[1:],
                             env=dict(os.environ, BANSHO_A11Y_RUN="1"))
        if run.returncode != ENVIRONMENT_FAILED:
            sys.exit(run.returncode)
        log("starting the X server and the buses afresh")
    print("FAIL: the accessibility registry never came up")
    sys.exit(1)
