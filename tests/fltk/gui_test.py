#!/usr/bin/env python3
"""Drives the installer's real window on an X display, the way a player
would: mouse clicks and keys through xdotool, the close box through the
window manager. It reads what the window shows from the front end's widget
dump (RIGBOX_DUMP_WIDGETS), saves a screenshot of every step and checks the
game folder's files afterwards.

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


class TestFailure(Exception):
    pass


def poll(probe, what):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    raise TestFailure(f"timed out waiting for {what}")


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def unescape(field):
    out, i = [], 0
    while i < len(field):
        if field[i] == "\\" and i + 1 < len(field):
            out.append({"t": "\t", "n": "\n", "\\": "\\"}.get(field[i + 1], field[i + 1]))
            i += 2
        else:
            out.append(field[i])
            i += 1
    return "".join(out)


class Widget:
    def __init__(self, fields):
        self.x, self.y, self.w, self.h = (int(v) for v in fields[3:7])
        self.shown = fields[7] == "1"
        self.enabled = fields[8] == "1"
        self.text = unescape(fields[9]) if len(fields) > 9 else ""


class Dump:
    """What the front end last wrote about its window and open dialog."""

    def __init__(self, text):
        self.scale = 1.0
        self.window = None
        self.widgets = {}
        self.models = {}  # where the model puts each widget, the form's client area too
        self.dialog = None
        self.buttons = []
        for line in text.splitlines():
            fields = line.split("\t")
            if fields[0] == "scale":
                self.scale = float(fields[1])
            elif fields[0] == "window":
                self.window = {"xid": int(fields[1]), "w": int(fields[4]), "h": int(fields[5]),
                               "caption": unescape(fields[6])}
            elif fields[0] == "widget":
                index = None if fields[2] == "-" else int(fields[2])
                self.widgets[(fields[1], index)] = Widget(fields)
            elif fields[0] == "model":
                index = None if fields[2] == "-" else int(fields[2])
                self.models[(fields[1], index)] = tuple(int(v) for v in fields[3:7])
            elif fields[0] == "dialog":
                self.dialog = {"xid": int(fields[1]), "icon": fields[6], "title": unescape(fields[7]),
                               "text": unescape(fields[8])}
            elif fields[0] == "button":
                self.buttons.append({"x": int(fields[2]), "y": int(fields[3]), "w": int(fields[4]),
                                     "h": int(fields[5]), "caption": unescape(fields[6])})

    def get(self, name, index=None):
        return self.widgets[(name, index)]

    def text(self, name, index=None):
        return self.get(name, index).text

    def step(self):
        shown = [index for (name, index), w in self.widgets.items() if name == "fraStep" and w.shown]
        return shown[0] if len(shown) == 1 else None

    def nav(self):
        """Enabled state of Cancel, Back, Next, Finish."""
        return tuple(self.get("cmdNav", i).enabled for i in (CANCEL, BACK, NEXT, FINISH))


class Session:
    """One run of an installer with its window."""

    def __init__(self, test, name, game_dir_registry, language="C.UTF-8", display=None, arguments=()):
        self.test = test
        self.name = name
        self.dump_path = test.world / f"dump-{name}.txt"
        test.write_registry(game_dir_registry)
        env = {k: v for k, v in os.environ.items() if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES")}
        env.update({"LANG": language, "WINEPREFIX": str(test.world / "prefix"), "HOME": str(test.world / "home"),
                    "RIGBOX_DUMP_WIDGETS": str(self.dump_path)})
        if display:
            env["DISPLAY"] = display
        self.env = env
        test.hand_over()
        command = test.as_player([str(test.installer), *arguments])
        self.process = subprocess.Popen(command, cwd=test.world, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT)
        self.dump = None

    def wait_for_window(self):
        self.wait(lambda d: d.window is not None and d.window["xid"] != 0, "the window to show")

    # Waiting on what the window shows.
    def read(self):
        try:
            return Dump(self.dump_path.read_text(encoding="utf-8"))
        except (FileNotFoundError, IndexError, ValueError):
            return None

    def wait(self, condition, what):
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            dump = self.read()
            if dump is not None:
                try:
                    if condition(dump):
                        self.dump = dump
                        return dump
                except KeyError:
                    pass
            if self.process.poll() is not None:
                raise TestFailure(f"{self.name}: the installer ended while waiting for {what}: {self.output()}")
            time.sleep(0.05)
        raise TestFailure(f"{self.name}: timed out waiting for {what}")

    def wait_dialog(self, title):
        return self.wait(lambda d: d.dialog is not None and d.dialog["title"] == title, f"the dialog {title!r}")

    def wait_no_dialog(self):
        return self.wait(lambda d: d.dialog is None, "the dialog to close")

    # Input.
    def xdo(self, *args):
        subprocess.run(["xdotool", *args], check=True, env=self.env)

    def click(self, name, index=None):
        widget = self.dump.get(name, index)
        self.xdo("mousemove", "--window", str(self.dump.window["xid"]), str(widget.x + widget.w // 2),
                 str(widget.y + widget.h // 2), "click", "1")

    def click_dialog(self, caption):
        button = next(b for b in self.dump.buttons if b["caption"] == caption)
        self.xdo("mousemove", "--window", str(self.dump.dialog["xid"]), str(button["x"] + button["w"] // 2),
                 str(button["y"] + button["h"] // 2), "click", "1")

    def keys(self, window_id, *keys):
        self.xdo("windowactivate", "--sync", str(window_id))
        self.xdo("key", "--delay", "40", *keys)

    def close_box(self):
        """WM_DELETE_WINDOW through the window manager, as the close box sends it."""
        subprocess.run(["wmctrl", "-i", "-c", hex(self.dump.window["xid"])], check=True, env=self.env)

    def windows_named(self, name_pattern):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name_pattern],
                               capture_output=True, text=True, env=self.env)
        return [int(i) for i in found.stdout.split()]

    def find_window(self, name_pattern):
        return poll(lambda: (self.windows_named(name_pattern) or [None])[-1], f"a window named {name_pattern!r}")

    def wait_window_gone(self, name_pattern):
        """A modal window still mapped swallows clicks on the wizard: wait until it is gone."""
        poll(lambda: not self.windows_named(name_pattern), f"the window {name_pattern!r} to close")

    def pick_folder(self, chooser_title, relative_path):
        """Change..., then types the folder into FLTK's chooser, enters it and confirms."""
        self.click("btnBrowse", 0)
        chooser = self.find_window(chooser_title)
        time.sleep(0.3)  # the chooser lists its folder after mapping
        self.screenshot(f"chooser-{relative_path}")
        self.keys(chooser, "End", "shift+Home", "BackSpace")
        self.xdo("type", "--delay", "60", relative_path)
        self.xdo("key", "--delay", "300", "Return", "Return")
        self.wait_window_gone(chooser_title)

    def screenshot(self, label):
        self.test.screenshot(f"{self.name}-{label}", self.env)

    def output(self):
        if self.process.poll() is None:
            return ""
        return self.process.stdout.read().decode("utf-8", "replace")

    def wait_exit(self):
        try:
            status = self.process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            raise TestFailure(f"{self.name}: the installer did not end")
        return status

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class GuiTest:
    def __init__(self, build, screenshots):
        self.build = build
        self.shots = screenshots
        self.shot_number = 0
        self.work = pathlib.Path(tempfile.mkdtemp(prefix="rigbox-gui-"))
        self.work.chmod(0o755)  # the installer may run as another user
        self.world = self.work / "world"
        self.unprivileged = os.geteuid() == 0
        self.sessions = []

    # The world: game folders, the prefix, the installer.
    def setup(self):
        subprocess.run(["bash", str(ROOT / "scripts/make-demo.sh"), str(self.build), str(self.world)], check=True)
        self.installer = self.world / "dmo-installer"
        self.game = self.world / "game"
        self.pristine = self.snapshot(self.game)
        (self.world / "wrong").mkdir()
        (self.world / "wrong" / "readme.txt").write_bytes(b"not the game\r\n")
        (self.world / "home").mkdir()
        self.car = {str(p.relative_to(ROOT / "demo/car")): p.read_bytes()
                    for p in sorted((ROOT / "demo/car").rglob("*")) if p.is_file()}

    def copy_pristine_game(self, name):
        target = self.world / name
        for relative, data in self.pristine.items():
            path = target / relative
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
        for folder in ("Data/Cars/FOC", "Data/Cars/RLY", "Data/Profiles"):
            (target / folder).mkdir(parents=True, exist_ok=True)
        return target

    def write_registry(self, folder):
        """The game's record in the prefix's registry, as Wine keeps it (a Z: path)."""
        windows = "Z:" + str(folder).replace("/", "\\") + "\\"
        escaped = windows.replace("\\", "\\\\").replace('"', '\\"')
        (self.world / "prefix" / "system.reg").write_text(
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
            "[Software\\\\Wow6432Node\\\\Brackmoor\\\\Gravelon] 1700000000\n"
            f'"DestinationDir"="{escaped}"\n\n', encoding="utf-8")

    # Root ignores read-only files: the installer then runs as nobody.
    def hand_over(self):
        if self.unprivileged:
            subprocess.run(["chown", "-R", f"{NOBODY}:{NOBODY}", str(self.world)], check=True)

    def as_player(self, command):
        if not self.unprivileged:
            return command
        return ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", "--", *command]

    @staticmethod
    def snapshot(folder):
        return {str(p.relative_to(folder)): p.read_bytes() for p in sorted(folder.rglob("*")) if p.is_file()}

    def screenshot(self, label, env=None):
        self.shot_number += 1
        path = self.shots / f"{self.shot_number:02d}-{label}.png"
        subprocess.run(["import", "-window", "root", str(path)], check=True, env=env)

    def session(self, *args, **kwargs):
        session = Session(self, *args, **kwargs)
        self.sessions.append(session)
        session.wait_for_window()
        return session

    # The checks.
    def check_layout(self, s, factor=1.0):
        dump = s.dump
        check(abs(dump.scale - factor) < 1e-6, f"scale {dump.scale}, expected {factor}")
        client = dump.models[("frmMain", None)][2:]
        check((dump.window["w"], dump.window["h"]) == client, f"client area {dump.window['w']}x{dump.window['h']}")
        info = subprocess.run(["xwininfo", "-id", str(dump.window["xid"])], capture_output=True, text=True,
                              check=True, env=s.env).stdout
        size = {line.split(":")[0].strip(): line.split(":")[1].strip() for line in info.splitlines() if ":" in line}
        check((size.get("Width"), size.get("Height")) == tuple(str(v) for v in client),
              f"X window {size.get('Width')}x{size.get('Height')}")
        grey, white = dump.get("Line1", 1), dump.get("Line1", 2)
        check(white.y == grey.y + grey.h and grey.h == white.h,
              f"the etched separator's lines are not adjacent: {grey.y}+{grey.h}, {white.y}+{white.h}")
        check(("dlgFile", None) not in dump.widgets, "the common dialog is drawn")

    def check_start_state(self, dump):
        check(dump.step() == 0, f"step {dump.step()} shown at start")
        check(dump.nav() == (True, False, True, False), f"buttons at start: {dump.nav()}")
        help_button = dump.get("cmdNav", HELP)
        check(not help_button.shown and not help_button.enabled, "Help is in sight")
        check(dump.window["caption"] == "RIGBOX Extract (Vehiforge 0.96a)", dump.window["caption"])

    def expect_dialog(self, s, title, icon, text, buttons):
        d = s.wait_dialog(title)
        check(d.dialog["icon"] == icon, f"{title}: icon {d.dialog['icon']}")
        check(d.dialog["text"] == text, f"{title}: text {d.dialog['text']!r}")
        check([b["caption"] for b in d.buttons] == buttons, f"{title}: buttons {d.buttons}")

    def check_installed(self, game):
        now = self.snapshot(game)
        check(all(now.get("Data/Cars/DMO/" + k) == v for k, v in self.car.items()), "car files not extracted")
        check(now["Vehiforge.ini"] == b"[Cars]\r\nCarsCount=1\r\nCarID1=DMO\r\n", f"profile {now['Vehiforge.ini']!r}")

    # Every path of the wizard, in English.
    def test_install(self):
        s = self.session("install", self.world / "wrong")
        s.screenshot("start")
        self.check_layout(s)
        self.check_start_state(s.dump)
        check(s.dump.text("lblTitle") == "Select game's directory", s.dump.text("lblTitle"))
        check(s.dump.text("lblGameFolder") == str(self.world / "wrong") + "/", s.dump.text("lblGameFolder"))

        no_game = "The selected directory does not contain Gravelon!"
        s.click("cmdNav", NEXT)
        self.expect_dialog(s, "Error", "critical", no_game, ["OK"])
        s.screenshot("no-game-error")
        s.keys(s.dump.dialog["xid"], "Return")
        check(s.wait_no_dialog().step() == 0, "left step 0 without the game")

        s.pick_folder("^Select Gravelon directory$", "wrong")
        self.expect_dialog(s, "Error", "critical", no_game, ["OK"])
        s.screenshot("picked-wrong-folder")
        s.click_dialog("OK")
        s.wait_no_dialog()
        check(s.dump.text("lblGameFolder") == str(self.world / "wrong") + "/", "a wrong pick changed the folder")

        s.pick_folder("^Select Gravelon directory$", "game")
        s.wait(lambda d: d.text("lblGameFolder") == str(self.game) + "/", "the picked folder")
        s.screenshot("picked-game-folder")

        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.step() == 6, "step 6")
        check(d.text("lblTitle") == "Ready" and d.nav() == (True, True, True, False), f"step 6: {d.nav()}")
        s.screenshot("ready")
        s.click("cmdNav", BACK)
        d = s.wait(lambda d: d.step() == 0, "step 0 after Back")
        check(d.nav() == (True, False, True, False), f"step 0 after Back: {d.nav()}")
        s.screenshot("back-to-game-folder")
        s.click("cmdNav", NEXT)
        s.wait(lambda d: d.step() == 6, "step 6 again")

        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.get("cmdNav", FINISH).enabled, "the end of the run")
        check(d.step() == 4 and d.text("lblAction") == "Successfully completed", d.text("lblAction"))
        check(d.text("prgsAction") == "200/200" and d.nav() == (False, False, False, True), f"after run {d.nav()}")
        s.screenshot("installed")

        s.close_box()
        self.expect_dialog(s, "RIGBOX Extract", "question", "Are you sure?", ["Yes", "No"])
        s.screenshot("close-question")
        s.click_dialog("No")
        s.wait_no_dialog()
        check(s.process.poll() is None, "No on the close question ended the program")
        s.click("cmdNav", FINISH)
        check(s.wait_exit() == 0, "Finish: exit status")
        self.check_installed(self.game)
        check(self.snapshot(self.world / "wrong") == {"readme.txt": b"not the game\r\n"}, "the wrong folder changed")

    # The car is installed now: the replace question, declined then accepted.
    def test_replace(self):
        s = self.session("replace", self.game)
        question = "A car with this ID already exists. Do you want to replace it?"
        s.click("cmdNav", NEXT)
        self.expect_dialog(s, "Warning", "question", question, ["OK", "Cancel"])
        s.screenshot("replace-question")
        s.click_dialog("Cancel")
        check(s.wait_no_dialog().step() == 0, "Cancel on the replace question left step 0")
        s.click("cmdNav", NEXT)
        self.expect_dialog(s, "Warning", "question", question, ["OK", "Cancel"])
        s.keys(s.dump.dialog["xid"], "Return")
        s.wait(lambda d: d.dialog is None and d.step() == 6, "step 6 after OK")
        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.get("cmdNav", FINISH).enabled, "the end of the replacing run")
        check(d.text("lblAction") == "Successfully completed", d.text("lblAction"))
        s.screenshot("replaced")
        s.click("cmdNav", FINISH)
        check(s.wait_exit() == 0, "Finish after replacing: exit status")
        self.check_installed(self.game)

    # A run that fails: a read-only file in the car's folder.
    def test_failed_run(self):
        game = self.copy_pristine_game("game-failing")
        blocked = game / "Data/Cars/DMO/Texts.scr"
        blocked.parent.mkdir(parents=True)
        blocked.write_bytes(b"old\r\n")
        blocked.chmod(0o444)
        s = self.session("failed", game)
        s.click("cmdNav", NEXT)
        s.wait(lambda d: d.step() == 6, "step 6")
        s.click("cmdNav", NEXT)
        d = s.wait_dialog("Error")
        check(d.dialog["text"].startswith("File:" + str(self.installer) + "\n"), f"run error {d.dialog}")
        s.screenshot("run-error")
        s.keys(d.dialog["xid"], "Return")
        d = s.wait(lambda d: d.dialog is None and d.get("cmdNav", FINISH).enabled, "Finish after the failure")
        check(d.text("lblAction") == "Error!", d.text("lblAction"))
        check(d.text("prgsAction") == "100/200" and d.nav() == (False, False, False, True), f"after failure {d.nav()}")
        s.screenshot("after-failure")
        # Escape goes the close box's way.
        s.keys(d.window["xid"], "Escape")
        self.expect_dialog(s, "RIGBOX Extract", "question", "Are you sure?", ["Yes", "No"])
        s.click_dialog("Yes")
        check(s.wait_exit() == 0, "Yes on the close question: exit status")
        check("Vehiforge.ini" not in self.snapshot(game), "a failed run wrote the profile")

    # The Polish interface: texts with their accented letters.
    def test_polish(self):
        game = self.copy_pristine_game("game-polish")
        # Started with a file dropped onto it: the window opens all the same.
        s = self.session("polish", game, language="pl_PL.UTF-8", arguments=["car.rigbox"])
        d = s.dump
        check((d.text("lblTitle"), d.text("cmdNav", NEXT)) == ("Wybór katalogu z grą", "Dalej >"), "Polish texts")
        s.screenshot("start")
        s.click("btnBrowse", 0)
        chooser = s.find_window("Gravelon:$")  # "Wybierz katalog z grą Gravelon:"
        time.sleep(0.3)
        s.screenshot("chooser")
        s.keys(chooser, "Escape")
        s.wait(lambda d: d.text("lblGameFolder") == str(game) + "/", "the folder kept after a cancelled pick")
        s.wait_window_gone("Gravelon:$")
        s.click("cmdNav", NEXT)
        d = s.wait(lambda d: d.step() == 6, "step 6")
        check(d.text("lblTitle") == "Gotowy", d.text("lblTitle"))
        s.screenshot("ready")
        s.click("cmdNav", CANCEL)
        self.expect_dialog(s, "RIGBOX Extract", "question", "Czy jesteś pewien?", ["Tak", "Nie"])
        s.screenshot("close-question")
        s.keys(s.dump.dialog["xid"], "Escape")
        s.wait_no_dialog()
        s.close_box()
        s.wait_dialog("RIGBOX Extract")
        s.click_dialog("Tak")
        check(s.wait_exit() == 0, "Polish close: exit status")
        check("Vehiforge.ini" not in self.snapshot(game), "the Polish run installed something")

    # A double-density screen: everything twice as large.
    def test_hidpi(self, display):
        s = self.session("hidpi", self.game, display=display)
        self.check_layout(s, factor=2.0)
        s.screenshot("start")
        s.click("cmdNav", CANCEL)
        s.wait_dialog("RIGBOX Extract")
        s.click_dialog("Yes")
        check(s.wait_exit() == 0, "HiDPI close: exit status")

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
