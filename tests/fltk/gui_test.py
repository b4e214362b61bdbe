#!/usr/bin/env python3
# Drives the installer's real window on an X display, the way a player
# would: mouse clicks and keys through xdotool, the close box through the
# window manager. What the window shows is read from the front end's widget
# dump (RIGBOX_DUMP_WIDGETS); every step is saved as a screenshot. What the
# wizard decides and writes is the core's tests' business: this checks that
# the window's events reach it and its answers reach the screen.
#
# Usage: gui_test.py --build BUILD --screenshots DIR --hidpi-display :N
# Needs DISPLAY (an Xvfb at 96 dpi with openbox), xdotool, wmctrl, xwininfo, strace
# and ImageMagick's import. Run from scripts/test-gui.sh.

import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
NOBODY = 65534
TIMEOUT = 15.0
HELP, CANCEL, BACK, NEXT, FINISH = range(5)
NO_GAME = "The selected directory does not contain Gravelon!"


class TestFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def poll(probe, what):
    deadline = time.monotonic() + TIMEOUT
    while not (found := probe()):
        check(time.monotonic() < deadline, f"timed out waiting for {what}")
        time.sleep(0.05)
    return found


def unescape(field):
    return field.replace("\\\\", "\0").replace("\\t", "\t").replace("\\n", "\n").replace("\0", "\\")


class Dump:
    # What the front end last wrote about its window and open dialog.
    def __init__(self, text):
        self.scale, self.window, self.dialog, self.widgets, self.models, self.buttons = 1.0, None, None, {}, {}, {}
        self.chooser = None
        for kind, *f in (line.split("\t") for line in text.splitlines()):
            key = (f[0], None if f[1] == "-" else int(f[1])) if kind in ("widget", "model") else None
            if kind == "scale":
                self.scale = float(f[0])
            elif kind == "window":
                self.window = {"xid": int(f[0]), "size": (int(f[3]), int(f[4])), "caption": unescape(f[5])}
            elif kind == "widget":
                self.widgets[key] = {"rect": tuple(map(int, f[2:6])), "shown": f[6] == "1", "enabled": f[7] == "1",
                                     "text": unescape(f[8]) if len(f) > 8 else ""}
            elif kind == "model":
                self.models[key] = tuple(map(int, f[2:6]))
            elif kind == "dialog":
                self.dialog = {"xid": int(f[0]), "icon": f[5], "title": unescape(f[6]), "text": unescape(f[7])}
            elif kind == "button":
                self.buttons[unescape(f[5])] = tuple(map(int, f[1:5]))
            elif kind == "chooser":
                self.chooser = (unescape(f[0]), f[1], f[2], [unescape(e) for e in f[3:]])

    def text(self, name, index=None):
        return self.widgets[(name, index)]["text"]

    def step(self):
        shown = [i for (name, i), w in self.widgets.items() if name == "fraStep" and w["shown"]]
        return shown[0] if len(shown) == 1 else None

    def nav(self):  # Cancel, Back, Next, Finish enabled, as "1010"
        return "".join("1" if self.widgets[("cmdNav", i)]["enabled"] else "0" for i in (CANCEL, BACK, NEXT, FINISH))


class Session:
    # One run of the installer with its window.
    def __init__(self, test, name, game, language="C.UTF-8", display=None, arguments=(), path=None,
                 installer=None, tracer=()):
        self.test, self.name, self.dump = test, name, None
        test.sessions.append(self)
        self.dump_path = test.world / f"dump-{name}.txt"
        test.write_registry(game)
        self.env = {k: v for k, v in os.environ.items() if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES")}
        self.env.update(LANG=language, WINEPREFIX=str(test.world / "prefix"), HOME=str(test.world / "home"),
                        TMPDIR=str(test.world / "tmp"), RIGBOX_DUMP_WIDGETS=str(self.dump_path),
                        DISPLAY=display or os.environ["DISPLAY"], PATH=path or os.environ["PATH"])
        # Root ignores read-only files: the installer then runs as nobody.
        command = [str(installer or test.installer), *arguments]
        if os.geteuid() == 0:
            subprocess.run(["chown", "-R", f"{NOBODY}:{NOBODY}", str(test.world)], check=True)
            command = ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", "--", *command]
        command = [*tracer, *command]
        self.process = subprocess.Popen(command, cwd=test.world, env=self.env, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT)
        self.wait(lambda d: d.window is not None and d.window["xid"] != 0, "the window to show")

    def wait(self, condition, what):
        def probe():
            if self.process.poll() is not None:
                output = self.process.stdout.read().decode("utf-8", "replace")
                raise TestFailure(f"the installer ended while waiting for {what}: {output}")
            try:
                dump = Dump(self.dump_path.read_text(encoding="utf-8"))
                return dump if condition(dump) else None
            except (FileNotFoundError, IndexError, ValueError, KeyError):
                return None
        self.dump = poll(probe, f"{self.name}: {what}")
        return self.dump

    def expect_dialog(self, title, icon, text, buttons):
        d = self.wait(lambda d: d.dialog is not None and d.dialog["title"] == title, f"the dialog {title!r}")
        check((d.dialog["icon"], d.dialog["text"], list(d.buttons)) == (icon, text, buttons), f"dialog {d.dialog}")
        self.screenshot(title)

    def no_dialog(self):
        return self.wait(lambda d: d.dialog is None, "the dialog to close")

    def xdo(self, *args):
        subprocess.run(["xdotool", *args], check=True, env=self.env)

    def click_at(self, window, rect):
        self.xdo("mousemove", "--window", str(window), str(rect[0] + rect[2] // 2), str(rect[1] + rect[3] // 2),
                 "click", "1")

    def click(self, name, index=None):
        self.click_at(self.dump.window["xid"], self.dump.widgets[(name, index)]["rect"])

    def click_dialog(self, caption):
        self.click_at(self.dump.dialog["xid"], self.dump.buttons[caption])

    def keys(self, window_id, *keys):
        self.xdo("windowactivate", "--sync", str(window_id))
        self.xdo("key", "--delay", "40", *keys)

    def windows_named(self, pattern):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern], capture_output=True,
                               text=True, env=self.env)
        return [int(i) for i in found.stdout.split()]

    # Change..., then a folder typed into FLTK's chooser and confirmed, or Escape; waits until it is
    # gone, since a modal window still mapped swallows clicks on the wizard.
    def chooser(self, pattern, folder=None):
        self.click("btnBrowse", 0)
        chooser = poll(lambda: (self.windows_named(pattern) or [None])[-1], f"a window named {pattern!r}")
        time.sleep(0.3)  # the chooser lists its folder after mapping
        self.wait(lambda d: d.chooser is not None, "the chooser in the dump")
        self.screenshot("chooser")
        if folder is None:
            self.keys(chooser, "Escape")
        else:
            self.keys(chooser, "End", "shift+Home", "BackSpace")
            self.xdo("type", "--delay", "60", folder)
            self.xdo("key", "--delay", "300", "Return", "Return")
        poll(lambda: not self.windows_named(pattern), f"the window {pattern!r} to close")

    def screenshot(self, label):
        self.test.screenshot(f"{self.name}-{label}", self.env)

    # Asks to close (the close box through the window manager, Escape or Cancel) and answers the question.
    def close_answering(self, how, answer, question=("Are you sure?", ["Yes", "No"])):
        if how == "close box":
            subprocess.run(["wmctrl", "-i", "-c", hex(self.dump.window["xid"])], check=True, env=self.env)
        elif how == "Escape":
            self.keys(self.dump.window["xid"], "Escape")
        else:
            self.click("cmdNav", CANCEL)
        self.expect_dialog("RIGBOX Extract", "question", *question)
        self.click_dialog(answer)

    def ends_with(self, status):
        check(self.process.wait(timeout=TIMEOUT) == status, f"{self.name}: exit status")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class GuiTest:
    def __init__(self, build, screenshots, hidpi_display):
        self.build, self.shots, self.hidpi_display = build, screenshots, hidpi_display
        self.shot_number, self.sessions = 0, []
        self.work = pathlib.Path(tempfile.mkdtemp(prefix="rigbox-gui-"))
        self.work.chmod(0o755)  # the installer may run as another user
        self.world = self.work / "world"

    def setup(self):
        subprocess.run(["bash", str(ROOT / "scripts/make-demo.sh"), str(self.build), str(self.world)], check=True)
        self.installer, self.game = self.world / "dmo-installer", self.world / "game"
        shutil.copytree(self.game, self.world / "pristine", symlinks=True)
        (self.world / "wrong").mkdir()
        (self.world / "home").mkdir()
        (self.world / "tmp").mkdir()
        (self.world / "wrong/.hidden").mkdir()

    # Nothing written outside the game folder: the home and the temporary folder as they were.
    def check_nothing_left(self):
        left = [str(p) for folder in ("home", "tmp") for p in (self.world / folder).iterdir()]
        check(not left, f"left behind: {left}")

    # The game's record in the prefix's registry, as Wine keeps it (a Z: path).
    def write_registry(self, folder):
        windows = ("Z:" + str(folder).replace("/", "\\") + "\\").replace("\\", "\\\\").replace('"', '\\"')
        (self.world / "prefix" / "system.reg").write_text(
            "WINE REGISTRY Version 2\n\n[Software\\\\Wow6432Node\\\\Brackmoor\\\\Gravelon] 1700000000\n"
            f'"DestinationDir"="{windows}"\n', encoding="utf-8")

    def screenshot(self, label, env=None):
        self.shot_number += 1
        path = self.shots / f"{self.shot_number:02d}-{label.replace(' ', '-')}.png"
        subprocess.run(["import", "-window", "root", str(path)], check=True, env=env)

    # The window's scale; the X window as large as the model's client area, each widget where the model puts it.
    def check_window(self, s, factor):
        d = s.dump
        check(abs(d.scale - factor) < 1e-6, f"scale {d.scale}, expected {factor}")
        client = d.models[("frmMain", None)][2:]
        info = subprocess.run(["xwininfo", "-id", str(d.window["xid"])], capture_output=True, text=True,
                              check=True, env=s.env).stdout.splitlines()
        x_size = tuple(int(line.split(":")[1]) for line in info if line.strip().startswith(("Width:", "Height:")))
        check(d.window["size"] == client == x_size, f"window {d.window['size']}, X window {x_size}, model {client}")
        misplaced = [key for key, widget in d.widgets.items() if widget["rect"] != d.models[key]]
        check(not misplaced, f"widgets away from the model's place: {misplaced}")

    # Every path of the wizard to a successful run, in English.
    def test_install(self):
        s = Session(self, "install", self.world / "wrong", arguments=("--log", "run.log"))
        s.screenshot("start")
        self.check_window(s, 1.0)
        d = s.dump
        check((d.step(), d.nav(), d.widgets[("cmdNav", HELP)]["shown"], d.window["caption"]) ==
              (0, "1010", False, "RIGBOX Extract (Vehiforge 0.96a)"), f"start {d.nav()} {d.window}")
        # Only a bordered frame shows its title.
        check((d.text("fraGameFolder", 0), d.text("fraStep", 0)) == ("Game's directory", ""), "frame titles")

        s.click("cmdNav", NEXT)
        s.expect_dialog("Error", "critical", NO_GAME, ["OK"])
        s.keys(s.dump.dialog["xid"], "Return")
        check(s.no_dialog().step() == 0, "left step 0 without the game")

        check(not any(map(shutil.which, ("zenity", "kdialog"))), "a desktop chooser on PATH hides FLTK's")
        s.chooser("^Select Gravelon directory$", "game")  # FLTK's takes a typed name from the working folder
        # Opened on the game folder, hidden folders listed, no filter and no preview.
        check(s.dump.chooser[:3] == (str(self.world / "wrong"), "0", "0") and ".hidden/" in s.dump.chooser[3],
              f"FLTK's chooser {s.dump.chooser}")
        s.wait(lambda d: d.text("lblGameFolder") == str(self.game) + "/", "the picked folder")

        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.step() == 6, "step 6")
        check((d.text("lblTitle"), d.nav()) == ("Ready", "1110"), f"step 6: {d.nav()}")
        s.screenshot("ready")
        s.click("cmdNav", BACK)
        s.wait(lambda d: d.step() == 0 and d.nav() == "1010", "step 0 after Back")
        s.click("cmdNav", NEXT)
        s.wait(lambda d: d.step() == 6, "step 6 again")
        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.dialog is None and d.widgets[("cmdNav", FINISH)]["enabled"], "the end of the run")
        check((d.step(), d.text("lblAction"), d.text("prgsAction"), d.nav()) ==
              (4, "Successfully completed", "200/200", "0001"), f"after the run {d.nav()}")
        s.screenshot("run-ended")

        s.close_answering("close box", "No")
        s.no_dialog()
        check(s.process.poll() is None, "No on the close question ended the program")
        s.click("cmdNav", FINISH)
        s.ends_with(0)
        check(b"CarID1=DMO" in (self.game / "Vehiforge.ini").read_bytes(), "the car is not in the profile")
        log = (self.world / "run.log").read_text(encoding="utf-8").splitlines()
        check(f"Game folder: {self.game}/ (chosen in the window)" in log and log[-1] == "Exit status 0", f"log {log}")
        self.check_nothing_left()

    # The desktop's chooser, run with the title and the game folder; when it crashes, FLTK's instead.
    def test_desktop_chooser(self):
        bin_folder = self.world / "bin"
        bin_folder.mkdir()
        zenity = bin_folder / "zenity"
        zenity.write_text('#!/bin/sh\nprintf "%s\\n" "$@" >"$0.args"\n'
                          '[ -e "$0.crash" ] && rm "$0.crash" && kill -SEGV $$\n'
                          f'echo "{self.game}"\n', encoding="utf-8")
        zenity.chmod(0o755)
        pathlib.Path(f"{zenity}.crash").touch()
        s = Session(self, "desktop", self.world / "wrong", path=f"{bin_folder}:{os.environ['PATH']}")
        s.chooser("^Select Gravelon directory$")
        s.click("btnBrowse", 0)
        s.wait(lambda d: d.text("lblGameFolder") == str(self.game) + "/", "the folder zenity printed")
        check(pathlib.Path(f"{zenity}.args").read_text(encoding="utf-8").splitlines() ==
              ["--file-selection", "--directory", "--title=Select Gravelon directory",
               f"--filename={self.world / 'wrong'}/"], "zenity's arguments")
        s.close_answering("Cancel", "Yes")
        s.ends_with(8)  # closed without installing
        self.check_nothing_left()

    # The Polish interface, started with a file dropped onto it, and a run that fails: its error in a
    # dialog while the run is under way.
    def test_polish_failed_run(self):
        game = shutil.copytree(self.world / "pristine", self.world / "game-failing", symlinks=True)
        blocked = game / "Data/Cars/DMO/Texts.scr"
        blocked.parent.mkdir(parents=True)
        blocked.write_bytes(b"old\r\n")
        blocked.chmod(0o444)
        s = Session(self, "polish", game, language="pl_PL.UTF-8", arguments=["car.rigbox"])
        check((s.dump.text("lblTitle"), s.dump.text("cmdNav", NEXT)) == ("Wybór katalogu z grą", "Dalej >"),
              "Polish texts")
        s.screenshot("start")
        s.chooser("Gravelon:$")  # "Wybierz katalog z grą Gravelon:", left with Escape
        s.wait(lambda d: d.text("lblGameFolder") == str(game) + "/", "the folder kept after a cancelled pick")
        s.click("cmdNav", NEXT)
        s.wait(lambda d: d.step() == 6 and d.text("lblTitle") == "Gotowy", "step 6")
        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.dialog is not None, "the run's error")
        check(d.dialog["text"].startswith("File:" + str(self.installer) + "\n"), f"run error {d.dialog}")
        s.screenshot("run-error")
        s.keys(d.dialog["xid"], "Return")
        s.wait(lambda d: d.dialog is None and d.nav() == "0001", "only Finish after the failed run")
        # Escape goes the close box's way; on the question it declines.
        s.keys(s.dump.window["xid"], "Escape")
        s.expect_dialog("RIGBOX Extract", "question", "Czy jesteś pewien?", ["Tak", "Nie"])
        s.keys(s.dump.dialog["xid"], "Escape")
        s.no_dialog()
        s.close_answering("close box", "Tak", ("Czy jesteś pewien?", ["Tak", "Nie"]))
        s.ends_with(1)  # the failed run's status

    # A large car's extraction moves the bar: while the second of its two large files waits to be
    # created (strace holds that call for 3 s), the bar shows the first one's share of the bytes.
    def test_progress(self):
        car, installer = self.work / "large-car", self.world / "large-installer"
        shutil.copytree(ROOT / "demo/car", car)
        for name in ("1.dds", "2.dds"):
            (car / "Textures" / name).write_bytes(os.urandom(16 << 20))
        rigbox = self.build / "tools/rigbox/rigbox"
        subprocess.run([rigbox, "pack", "--id", "DMO", "-o", self.work / "large.rigbox", car], check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run([rigbox, "sfx", "--stub", self.build / "src/frontends/fltk/rigbox-extract", "-o", installer,
                        self.work / "large.rigbox"], check=True, stdout=subprocess.DEVNULL)
        game = shutil.copytree(self.world / "pristine", self.world / "game-large", symlinks=True)
        held = game / "Data/Cars/DMO/Textures/2.dds"
        tracer = ["strace", "-f", "-qq", "--seccomp-bpf", "-o", str(self.work / "strace.txt"), "-e", "trace=openat",
                  "-e", "inject=openat:delay_enter=3000000", "-P", str(held)]
        s = Session(self, "large", game, installer=installer, tracer=tracer)
        s.click("cmdNav", NEXT)
        s.wait(lambda d: d.step() == 6, "step 6")
        s.click("cmdNav", NEXT)
        # Half of the bar, then the first file's share of the extraction's (65 of 200).
        d = s.wait(lambda d: d.text("lblAction") == "Extracting RIGBOX..." and
                   int(d.text("prgsAction").split("/")[0]) >= 125, "the bar to move through the extraction")
        check(int(d.text("prgsAction").split("/")[0]) <= 133 and not held.exists(), f"mid-run {d.text('prgsAction')}")
        s.screenshot("extracting")
        d = s.wait(lambda d: d.widgets[("cmdNav", FINISH)]["enabled"], "the end of the run")
        check(d.text("prgsAction") == "200/200", f"after the run {d.text('prgsAction')}")
        s.click("cmdNav", FINISH)
        s.ends_with(0)

    # A double-density screen: everything twice as large; a game folder too long for its label loses its middle.
    def test_hidpi(self):
        folder = self.world / ("Steam Library " * 6) / "steamapps/common/Gravelon"
        s = Session(self, "hidpi", folder, display=self.hidpi_display)
        self.check_window(s, 2.0)
        shown = s.dump.text("lblGameFolder")
        check(shown.startswith(str(self.world)[:8]) and shown.endswith(".../Gravelon/") and
              len(shown) < len(str(folder)), f"long folder shown as {shown!r}")
        s.close_answering("Cancel", "Yes")
        s.ends_with(8)  # closed without installing

    def stop_all(self):
        for session in self.sessions:
            session.stop()


def main():
    parser = argparse.ArgumentParser()
    for option in ("--build", "--screenshots", "--hidpi-display"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    shots = pathlib.Path(args.screenshots).resolve()
    shots.mkdir(parents=True, exist_ok=True)
    for old in shots.glob("*.png"):
        old.unlink()
    test = GuiTest(pathlib.Path(args.build).resolve(), shots, args.hidpi_display)
    cases = {"install": test.test_install, "polish failed run": test.test_polish_failed_run,
             "desktop chooser": test.test_desktop_chooser, "progress": test.test_progress,
             "192 dpi": test.test_hidpi}
    failures = 0
    try:
        test.setup()
        for name, case in cases.items():
            started = time.monotonic()
            try:
                case()
                print(f"PASS {name} ({time.monotonic() - started:.1f} s)")
            except (TestFailure, subprocess.TimeoutExpired) as failure:  # the latter: the installer did not end
                failures += 1
                print(f"FAIL {name}: {failure}")
                test.screenshot(f"failure-{name}")
                test.stop_all()
    finally:
        test.stop_all()
        subprocess.run(["chmod", "-R", "u+w", str(test.work)])
        shutil.rmtree(test.work, ignore_errors=True)
    print(f"GUI tests: {len(cases) - failures} passed, {failures} failed; screenshots in {shots}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
