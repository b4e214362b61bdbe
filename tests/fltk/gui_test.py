#!/usr/bin/env python3
"""Drives the installer's real window on an X display, the way a player
would: mouse clicks and keys through xdotool, the close box through the
window manager. What the window shows is read from the front end's widget
dump (RIGBOX_DUMP_WIDGETS); every step is saved as a screenshot. What the
wizard decides and writes is the core's tests' business: this checks that
the window's events reach it and its answers reach the screen.

Usage: gui_test.py --build BUILD --screenshots DIR [--hidpi-display :N]
Needs DISPLAY (an Xvfb at 96 dpi with openbox), xdotool, wmctrl, xwininfo
and ImageMagick's import. Run from scripts/test-gui.sh.
"""

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
CHOOSER = "^Select Gravelon directory$"


class TestFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def poll(probe, what):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    raise TestFailure(f"timed out waiting for {what}")


def unescape(field):
    return field.replace("\\\\", "\0").replace("\\t", "\t").replace("\\n", "\n").replace("\0", "\\")


def key_of(fields):
    return fields[1], None if fields[2] == "-" else int(fields[2])


class Dump:
    """What the front end last wrote about its window and open dialog."""

    def __init__(self, text):
        self.scale, self.window, self.dialog = 1.0, None, None
        self.widgets, self.models, self.buttons = {}, {}, {}
        for fields in (line.split("\t") for line in text.splitlines()):
            kind = fields[0]
            if kind == "scale":
                self.scale = float(fields[1])
            elif kind == "window":
                self.window = {"xid": int(fields[1]), "size": (int(fields[4]), int(fields[5])),
                               "caption": unescape(fields[6])}
            elif kind == "widget":
                self.widgets[key_of(fields)] = {"rect": tuple(int(v) for v in fields[3:7]),
                                                "shown": fields[7] == "1", "enabled": fields[8] == "1",
                                                "text": unescape(fields[9]) if len(fields) > 9 else ""}
            elif kind == "model":
                self.models[key_of(fields)] = tuple(int(v) for v in fields[3:7])
            elif kind == "dialog":
                self.dialog = {"xid": int(fields[1]), "icon": fields[6], "title": unescape(fields[7]),
                               "text": unescape(fields[8])}
            elif kind == "button":
                self.buttons[unescape(fields[6])] = tuple(int(v) for v in fields[2:6])

    def text(self, name, index=None):
        return self.widgets[(name, index)]["text"]

    def step(self):
        shown = [i for (name, i), w in self.widgets.items() if name == "fraStep" and w["shown"]]
        return shown[0] if len(shown) == 1 else None

    def nav(self):
        """Cancel, Back, Next, Finish enabled, as "1010"."""
        return "".join("1" if self.widgets[("cmdNav", i)]["enabled"] else "0" for i in (CANCEL, BACK, NEXT, FINISH))


class Session:
    """One run of the installer with its window."""

    def __init__(self, test, name, game, language="C.UTF-8", display=None, arguments=()):
        self.test, self.name, self.dump = test, name, None
        self.dump_path = test.world / f"dump-{name}.txt"
        test.write_registry(game)
        self.env = {k: v for k, v in os.environ.items() if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES")}
        self.env.update({"LANG": language, "WINEPREFIX": str(test.world / "prefix"),
                         "HOME": str(test.world / "home"), "RIGBOX_DUMP_WIDGETS": str(self.dump_path)})
        if display:
            self.env["DISPLAY"] = display
        # Root ignores read-only files: the installer then runs as nobody.
        command = [str(test.installer), *arguments]
        if os.geteuid() == 0:
            subprocess.run(["chown", "-R", f"{NOBODY}:{NOBODY}", str(test.world)], check=True)
            command = ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", "--", *command]
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
        return d

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

    def close_box(self):
        """WM_DELETE_WINDOW through the window manager, as the close box sends it."""
        subprocess.run(["wmctrl", "-i", "-c", hex(self.dump.window["xid"])], check=True, env=self.env)

    def windows_named(self, pattern):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern], capture_output=True,
                               text=True, env=self.env)
        return [int(i) for i in found.stdout.split()]

    def chooser(self, pattern, folder=None):
        """Change..., then a folder typed into FLTK's chooser and confirmed, or Escape; waits until
        it is gone, since a modal window still mapped swallows clicks on the wizard."""
        self.click("btnBrowse", 0)
        chooser = poll(lambda: (self.windows_named(pattern) or [None])[-1], f"a window named {pattern!r}")
        time.sleep(0.3)  # the chooser lists its folder after mapping
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

    def close_answering(self, how, answer, question=("Are you sure?", ["Yes", "No"])):
        """Asks to close (close box, Escape or Cancel) and answers the question."""
        if how == "close box":
            self.close_box()
        elif how == "Escape":
            self.keys(self.dump.window["xid"], "Escape")
        else:
            self.click("cmdNav", CANCEL)
        self.expect_dialog("RIGBOX Extract", "question", *question)
        self.screenshot("close-question")
        self.click_dialog(answer)

    def exit_status(self):
        try:
            return self.process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            raise TestFailure(f"{self.name}: the installer did not end")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class GuiTest:
    def __init__(self, build, screenshots):
        self.build, self.shots, self.shot_number, self.sessions = build, screenshots, 0, []
        self.work = pathlib.Path(tempfile.mkdtemp(prefix="rigbox-gui-"))
        self.work.chmod(0o755)  # the installer may run as another user
        self.world = self.work / "world"

    def setup(self):
        subprocess.run(["bash", str(ROOT / "scripts/make-demo.sh"), str(self.build), str(self.world)], check=True)
        self.installer, self.game = self.world / "dmo-installer", self.world / "game"
        shutil.copytree(self.game, self.world / "pristine", symlinks=True)
        (self.world / "wrong").mkdir()
        (self.world / "home").mkdir()

    def fresh_game(self, name):
        return shutil.copytree(self.world / "pristine", self.world / name, symlinks=True)

    def write_registry(self, folder):
        """The game's record in the prefix's registry, as Wine keeps it (a Z: path)."""
        windows = ("Z:" + str(folder).replace("/", "\\") + "\\").replace("\\", "\\\\").replace('"', '\\"')
        (self.world / "prefix" / "system.reg").write_text(
            "WINE REGISTRY Version 2\n\n[Software\\\\Wow6432Node\\\\Brackmoor\\\\Gravelon] 1700000000\n"
            f'"DestinationDir"="{windows}"\n', encoding="utf-8")

    def screenshot(self, label, env=None):
        self.shot_number += 1
        path = self.shots / f"{self.shot_number:02d}-{label}.png"
        subprocess.run(["import", "-window", "root", str(path)], check=True, env=env)

    def session(self, *args, **kwargs):
        self.sessions.append(Session(self, *args, **kwargs))
        return self.sessions[-1]

    def check_window(self, s, factor):
        """The window's scale, and the X window as large as the model's client area."""
        d = s.dump
        check(abs(d.scale - factor) < 1e-6, f"scale {d.scale}, expected {factor}")
        client = d.models[("frmMain", None)][2:]
        info = subprocess.run(["xwininfo", "-id", str(d.window["xid"])], capture_output=True, text=True,
                              check=True, env=s.env).stdout
        size = {line.split(":")[0].strip(): line.split(":")[1].strip() for line in info.splitlines() if ":" in line}
        check(d.window["size"] == client and (size["Width"], size["Height"]) == tuple(map(str, client)),
              f"window {d.window['size']}, X window {size['Width']}x{size['Height']}, model {client}")

    def run_to_end(self, s, status_text):
        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.dialog is None and d.widgets[("cmdNav", FINISH)]["enabled"], "the end of the run")
        check((d.step(), d.text("lblAction"), d.nav()) == (4, status_text, "0001"), f"after the run {d.nav()}")
        s.screenshot("run-ended")

    # Every path of the wizard, in English.
    def test_install(self):
        s = self.session("install", self.world / "wrong")
        s.screenshot("start")
        self.check_window(s, 1.0)
        d = s.dump
        check((d.step(), d.nav(), d.widgets[("cmdNav", HELP)]["shown"]) == (0, "1010", False), f"start {d.nav()}")
        check(d.window["caption"] == "RIGBOX Extract (Vehiforge 0.96a)", d.window["caption"])

        s.click("cmdNav", NEXT)
        s.expect_dialog("Error", "critical", NO_GAME, ["OK"])
        s.screenshot("no-game-error")
        s.keys(s.dump.dialog["xid"], "Return")
        check(s.no_dialog().step() == 0, "left step 0 without the game")

        s.chooser(CHOOSER, "wrong")
        s.expect_dialog("Error", "critical", NO_GAME, ["OK"])
        s.click_dialog("OK")
        check(s.no_dialog().text("lblGameFolder") == str(self.world / "wrong") + "/", "a wrong pick was taken")
        s.chooser(CHOOSER, "game")
        s.wait(lambda d: d.text("lblGameFolder") == str(self.game) + "/", "the picked folder")

        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.step() == 6, "step 6")
        check((d.text("lblTitle"), d.nav()) == ("Ready", "1110"), f"step 6: {d.nav()}")
        s.screenshot("ready")
        s.click("cmdNav", BACK)
        s.wait(lambda d: d.step() == 0 and d.nav() == "1010", "step 0 after Back")
        s.click("cmdNav", NEXT)
        s.wait(lambda d: d.step() == 6, "step 6 again")
        self.run_to_end(s, "Successfully completed")
        check(s.dump.text("prgsAction") == "200/200", s.dump.text("prgsAction"))

        s.close_answering("close box", "No")
        s.no_dialog()
        check(s.process.poll() is None, "No on the close question ended the program")
        s.click("cmdNav", FINISH)
        check(s.exit_status() == 0, "Finish: exit status")
        check(b"CarID1=DMO" in (self.game / "Vehiforge.ini").read_bytes(), "the car is not in the profile")

    # The car is installed now: the replace question, declined, then accepted.
    def test_replace(self):
        s = self.session("replace", self.game)
        question = "A car with this ID already exists. Do you want to replace it?"
        s.click("cmdNav", NEXT)
        s.expect_dialog("Warning", "question", question, ["OK", "Cancel"])
        s.screenshot("replace-question")
        s.click_dialog("Cancel")
        check(s.no_dialog().step() == 0, "Cancel on the replace question left step 0")
        s.click("cmdNav", NEXT)
        s.expect_dialog("Warning", "question", question, ["OK", "Cancel"])
        s.keys(s.dump.dialog["xid"], "Return")
        s.wait(lambda d: d.dialog is None and d.step() == 6, "step 6 after OK")
        s.close_answering("Cancel", "Yes")
        check(s.exit_status() == 0, "Yes on the close question: exit status")

    # A run that fails: its error in a dialog while the run is under way.
    def test_failed_run(self):
        game = self.fresh_game("game-failing")
        blocked = game / "Data/Cars/DMO/Texts.scr"
        blocked.parent.mkdir(parents=True)
        blocked.write_bytes(b"old\r\n")
        blocked.chmod(0o444)
        s = self.session("failed", game)
        s.click("cmdNav", NEXT)
        s.wait(lambda d: d.step() == 6, "step 6")
        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.dialog is not None, "the run's error")
        check(d.dialog["text"].startswith("File:" + str(self.installer) + "\n"), f"run error {d.dialog}")
        s.screenshot("run-error")
        s.keys(d.dialog["xid"], "Return")
        s.wait(lambda d: d.dialog is None and d.text("lblAction") == "Error!" and d.nav() == "0001", "Finish")
        # Escape goes the close box's way.
        s.close_answering("Escape", "Yes")
        check(s.exit_status() == 0, "Yes on the close question: exit status")

    # The Polish interface; started with a file dropped onto it, the window opens all the same.
    def test_polish(self):
        game = self.fresh_game("game-polish")
        s = self.session("polish", game, language="pl_PL.UTF-8", arguments=["car.rigbox"])
        check((s.dump.text("lblTitle"), s.dump.text("cmdNav", NEXT)) == ("Wybór katalogu z grą", "Dalej >"),
              "Polish texts")
        s.screenshot("start")
        s.chooser("Gravelon:$")  # "Wybierz katalog z grą Gravelon:"
        s.wait(lambda d: d.text("lblGameFolder") == str(game) + "/", "the folder kept after a cancelled pick")
        s.click("cmdNav", NEXT)
        s.wait(lambda d: d.step() == 6 and d.text("lblTitle") == "Gotowy", "step 6")
        s.click("cmdNav", CANCEL)
        s.wait(lambda d: d.dialog is not None, "the question")
        s.keys(s.dump.dialog["xid"], "Escape")
        s.no_dialog()
        s.close_answering("close box", "Tak", ("Czy jesteś pewien?", ["Tak", "Nie"]))
        check(s.exit_status() == 0, "Polish close: exit status")
        check(not (game / "Vehiforge.ini").exists(), "the Polish run installed something")

    # A double-density screen: everything twice as large.
    def test_hidpi(self, display):
        s = self.session("hidpi", self.game, display=display)
        self.check_window(s, 2.0)
        s.close_answering("Cancel", "Yes")
        check(s.exit_status() == 0, "HiDPI close: exit status")

    def cleanup(self):
        for session in self.sessions:
            session.stop()
        subprocess.run(["chmod", "-R", "u+w", str(self.work)])
        shutil.rmtree(self.work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, type=pathlib.Path)
    parser.add_argument("--screenshots", required=True, type=pathlib.Path)
    parser.add_argument("--hidpi-display")
    args = parser.parse_args()
    args.screenshots.mkdir(parents=True, exist_ok=True)
    for old in args.screenshots.glob("*.png"):
        old.unlink()

    test = GuiTest(args.build.resolve(), args.screenshots.resolve())
    cases = [("install", test.test_install), ("replace", test.test_replace),
             ("failed run", test.test_failed_run), ("polish", test.test_polish)]
    if args.hidpi_display:
        cases.append(("hidpi", lambda: test.test_hidpi(args.hidpi_display)))
    failures = 0
    try:
        test.setup()
        for name, case in cases:
            started = time.monotonic()
            try:
                case()
                print(f"PASS {name} ({time.monotonic() - started:.1f} s)")
            except TestFailure as failure:
                failures += 1
                print(f"FAIL {name}: {failure}")
                test.screenshot(f"failure-{name.replace(' ', '-')}")
                for session in test.sessions:
                    session.stop()
    finally:
        test.cleanup()
    print(f"GUI tests: {len(cases) - failures} passed, {failures} failed; screenshots in {args.screenshots}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
