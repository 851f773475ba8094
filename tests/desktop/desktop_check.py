#!/usr/bin/python3
"""The encoder on a real desktop: a real X server with a stacking window manager, the keyboard and
the mouse through xdotool, and a screen reader's view of it through AT-SPI.

    desktop_check.py ENCODER [--cli GLOMIECODE_CLI] [--checks splash,names,wheel,keyboard,paste]

Runs on a desktop that has DISPLAY, a window manager, a D-Bus bus of its own and the
accessibility bus (scripts/ci-desktop.sh sets them up). Starts the encoder with a settings file of
its own, never the user's, and ends it with Escape, which saves nothing (or, after a pasted code,
with Return, and reads back what OK stored). Prints what it checked and exits with 1 when a check
failed.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

SHEET_TITLE = "Glomie Code 1.12.05 Encoder"
SPLASH_TITLE = "Glomie Code Encoder"
INTERACTIVE = {"push button", "check box", "slider", "spin button", "combo box", "text", "list",
               "toggle button", "radio button", "page tab list"}

# Answers that open every control a page can open at once, so that Tab can reach all of them.
EVERYTHING_OPEN = """
[SM]
ChkSec=1
[Fav]
Senshi0=1
Senshi1=1
Villian0=1
Villian1=1
Assist0=1
Assist1=1
Part0=1
Part1=1
[Dis]
Senshi0=1
Villian1=1
Part0=1
[Exp]
ByNumbers=0
RawComplete=1
SubPartial=1
DubComplete=1
MangaRaw=1
MangaSub=1
[Op]
OmitDub=0
OmitSos=0
OmitOw=0
OmitAnti=0
OmitHentai=0
OmitMixx=0
[Per]
OmitAge=0
OmitStature=0
OmitWeight=0
OmitFat=0
OmitEyes=0
Same=0
ColorLeft0=1
ColorRight0=1
OmitHair=0
OmitTone=0
OmitGroup=0
OmitBloodType=0
OmitSign=0
OmitGender=0
OmitRelationship=0
"""

failures = []


def check(condition, message):
    if condition:
        print("  ok:", message)
    else:
        print("  FAILED:", message)
        failures.append(message)
    return condition


def wait_for(predicate, timeout=10.0, step=0.05):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, check=False).stdout


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


# ----------------------------------------------------------------------------------------------
# X windows


def windows_by_title():
    """The managed top-level windows, bottom to top, as (id, title)."""
    ids = [int(window, 16) for window in re.findall(r"0x[0-9a-f]+", run("xprop", "-root", "_NET_CLIENT_LIST_STACKING"))]
    titles = {int(window, 16): title
              for window, title in re.findall(r'^\s*(0x[0-9a-f]+) "(.*)":', run("xwininfo", "-root", "-tree"), re.M)}
    return [(hex(window), titles.get(window, "")) for window in ids]


def sheet_window():
    return wait_for(lambda: next((window for window, name in windows_by_title() if name == SHEET_TITLE), None))


def stacking_index(title):
    for index, (_, name) in enumerate(windows_by_title()):
        if name == title:
            return index
    return None


def frame_of(title):
    """The window's outer rectangle, with the window manager's frame: (x, y, width, height)."""
    for window, name in windows_by_title():
        if name != title:
            continue
        info = run("xwininfo", "-id", window)
        x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", info).group(1))
        y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", info).group(1))
        width = int(re.search(r"Width:\s+(\d+)", info).group(1))
        height = int(re.search(r"Height:\s+(\d+)", info).group(1))
        extents = re.findall(r"\d+", run("xprop", "-id", window, "_NET_FRAME_EXTENTS").split("=")[-1])
        left, right, top, bottom = (int(e) for e in extents) if len(extents) == 4 else (0, 0, 0, 0)
        return (x - left, y - top, width + left + right, height + top + bottom)
    return None


def screen_size():
    match = re.search(r"dimensions:\s+(\d+)x(\d+)", run("xdpyinfo"))
    return int(match.group(1)), int(match.group(2))


def inside(inner, outer):
    x, y, w, h = inner
    ox, oy, ow, oh = outer
    return ox <= x and oy <= y and x + w <= ox + ow and y + h <= oy + oh


# ----------------------------------------------------------------------------------------------
# AT-SPI


def encoder_application():
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.name == "glomiecode":
            return application
    return None


def sheet_dialog():
    application = encoder_application()
    if application is None:
        return None
    for child in application:
        if child is not None and child.name == SHEET_TITLE:
            return child
    return None


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(node, found, stop_at_controls=True):
    """The showing interactive controls under node, in tree order, as (accessible, role, name)."""
    if not showing(node):
        return found
    role = node.getRoleName()
    if role in INTERACTIVE:
        found.append((node, role, node.name))
        if stop_at_controls:
            return found
    for child in node:
        if child is not None:
            walk(child, found, stop_at_controls)
    return found


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (box.x, box.y, box.width, box.height)


def page_tabs(dialog):
    tabs = pyatspi.findDescendant(dialog, lambda n: n is not None and n.getRoleName() == "page tab list")
    return tabs, [tab for tab in tabs if tab is not None and tab.getRoleName() == "page tab"]


def show_page(dialog, index):
    _, tabs = page_tabs(dialog)
    tabs[index].queryAction().doAction(0)
    time.sleep(0.3)
    return tabs[index].name


def named(dialog, role, name):
    for node, node_role, node_name in walk(dialog, []):
        if node_role == role and node_name == name:
            return node
    return None


def code_text(dialog):
    box = named(dialog, "text", "Code")
    text = box.queryText()
    return text.getText(0, text.characterCount)


def visible_area(node, screen):
    """Where node can be seen: the screen, or the part of it its page's scrolling area shows."""
    parent = node.parent
    while parent is not None and parent.getRoleName() not in ("scroll pane", "dialog"):
        parent = parent.parent
    if parent is None or parent.getRoleName() == "dialog":
        return screen
    x, y, width, height = extents(parent)
    sx, sy, sw, sh = screen
    left, top = max(x, sx), max(y, sy)
    return (left, top, min(x + width, sx + sw) - left, min(y + height, sy + sh) - top)


def focused(dialog):
    for node, role, name in walk(dialog, []):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node, role, name
    return None


# ----------------------------------------------------------------------------------------------
# The checks


def check_splash():
    print("The splash stays in front of the sheet and a click on it ends it")
    both = wait_for(lambda: stacking_index(SHEET_TITLE) is not None and stacking_index(SPLASH_TITLE) is not None,
                    timeout=5)
    if not check(both, "the sheet and the splash are both on the screen"):
        print("  windows:", windows_by_title())
        return
    check(stacking_index(SPLASH_TITLE) > stacking_index(SHEET_TITLE), "the splash is stacked above the sheet")
    x, y, width, height = frame_of(SPLASH_TITLE)
    xdotool("mousemove", str(x + width // 2), str(y + height // 2), "click", "1")
    gone = wait_for(lambda: stacking_index(SPLASH_TITLE) is None, timeout=1.5)
    check(gone, "a click on the splash ends it")
    dialog = wait_for(sheet_dialog, timeout=20)
    active = wait_for(lambda: dialog is not None and dialog.getState().contains(pyatspi.STATE_ACTIVE), timeout=3)
    check(active, "the sheet stays the active window, so its keys work")


def check_names(dialog):
    print("Every control has a name of its own on its page, and a list keeps its name")
    _, tabs = page_tabs(dialog)
    for index in range(len(tabs)):
        page = show_page(dialog, index)
        controls = walk(dialog, [])
        names = [name for _, _, name in controls]
        unnamed = [role for _, role, name in controls if not name.strip()]
        repeated = sorted({name for name in names if name and names.count(name) > 1})
        check(not unnamed and not repeated,
              f"{page}: {len(controls)} controls named" +
              (f"; unnamed: {unnamed}" if unnamed else "") + (f"; repeated: {repeated}" if repeated else ""))
    show_page(dialog, 1)
    first = named(dialog, "combo box", "First senshi")
    if check(first is not None, "the first senshi's list is found by its name"):
        code = code_text(dialog)
        first.queryComponent().grabFocus()
        time.sleep(0.2)
        xdotool("key", "Down")
        time.sleep(0.3)
        check(code_text(dialog) != code, "a key chooses another senshi")
        check(first.name == "First senshi", "the list keeps its name when its choice changes")


def check_wheel(dialog):
    print("The mouse wheel changes no answer of a control without the focus")
    for page, role, name in ((1, "combo box", "First senshi"), (0, "slider", "Primary obsession level")):
        show_page(dialog, page)
        control = named(dialog, role, name)
        if not check(control is not None, f"{name} is found"):
            continue
        code = code_text(dialog)
        named(dialog, "push button", "Copy Code").queryComponent().grabFocus()
        x, y, width, height = extents(control)
        xdotool("mousemove", str(x + width // 2), str(y + height // 2))
        for _ in range(3):
            xdotool("click", "5")
        xdotool("click", "4")
        time.sleep(0.3)
        check(code_text(dialog) == code, f"rolling the wheel over '{name}' left the code as it was")


def check_keyboard(dialog):
    print("The sheet fits the screen, and Tab brings every control of every page into sight")
    width, height = screen_size()
    screen = (0, 0, width, height)
    frame = frame_of(SHEET_TITLE)
    check(frame is not None and inside(frame, screen), f"the sheet {frame} fits the {width}x{height} screen")
    for button in ("OK", "Cancel", "Help"):
        node = named(dialog, "push button", button)
        check(node is not None and inside(extents(node), screen), f"{button} is on the screen")
    tab_list, tabs = page_tabs(dialog)
    for index in range(len(tabs)):
        page = show_page(dialog, index)
        wanted = {name for node, role, name in walk(dialog, [])
                  if node.getState().contains(pyatspi.STATE_ENABLED)
                  and node.getState().contains(pyatspi.STATE_FOCUSABLE)
                  and name not in ("OK", "Cancel", "Help") and role != "page tab list"}
        # From the tabs, as a keyboard user comes to a page.
        tab_list.queryComponent().grabFocus()
        previous = wait_for(lambda: (lambda f: f if f and f[1] == "page tab list" else None)(focused(dialog)),
                            timeout=2)
        check(previous is not None, f"{page}: the tabs take the focus")
        reached, hidden = [], []
        for _ in range(80):
            xdotool("key", "Tab")
            now = wait_for(lambda: (lambda f: f if f and (not previous or f[0] != previous[0]) else None)(
                focused(dialog)), timeout=2)
            if not now or now[2] in ("OK", "Cancel", "Help") or now[1] == "page tab list":
                break
            previous = now
            node, role, name = now
            reached.append(name)
            if not inside(extents(node), visible_area(node, screen)):
                hidden.append(name)
        missed = sorted(wanted - set(reached))
        check(not missed and not hidden,
              f"{page}: Tab reached {len(reached)} controls" +
              (f"; never reached: {missed}" if missed else "") + (f"; off the screen: {hidden}" if hidden else ""))


PASTED_CODE = ("GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- "
               "X:***[*]:aClr++|ClS[SS]s++++ O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|+")


def check_paste(dialog, encoder, cli, environment):
    print("A code on the clipboard, Ctrl+Shift+V and Return: OK stores it")
    # xclip keeps the clipboard in a process of its own until something else takes it.
    subprocess.run(["xclip", "-selection", "clipboard"], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL,
                   input=("my code, from my old page: " + PASTED_CODE + " -- see you!").encode())
    xdotool("windowactivate", "--sync", sheet_window(), "key", "ctrl+shift+v")
    pasted = wait_for(lambda: code_text(dialog) == PASTED_CODE, timeout=5)
    check(pasted, "the code box shows the pasted code")
    xdotool("windowactivate", "--sync", sheet_window(), "key", "Return")
    check(encoder.wait(timeout=10) == 0, "Return closes the encoder")
    stored = subprocess.run([cli, "code"], env=environment, capture_output=True, text=True, check=False)
    check(stored.stdout.strip() == PASTED_CODE, f"the stored answers give the code again: {stored.stdout.strip()}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("encoder")
    parser.add_argument("--cli", help="glomiecode-cli, for the paste check")
    parser.add_argument("--checks", default="splash,names,wheel,keyboard,paste")
    arguments = parser.parse_args()
    checks = arguments.checks.split(",")

    home = tempfile.mkdtemp(prefix="glomie-desktop-")
    config = os.path.join(home, ".config")
    os.makedirs(os.path.join(config, "kvrq"))
    with open(os.path.join(config, "kvrq", "glomiecode.conf"), "w", encoding="utf-8") as answers:
        answers.write(EVERYTHING_OPEN)
    runtime = os.path.join(home, "runtime")
    os.makedirs(runtime, mode=0o700)
    environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=runtime,
                       QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                       GLOMIECODE_DECODER_HOST="decoder.invalid")
    encoder = subprocess.Popen([arguments.encoder] + ([] if "splash" in checks else ["-Embedding"]),
                               env=environment)
    try:
        if "splash" in checks:
            check_splash()
        dialog = wait_for(sheet_dialog, timeout=20)
        if not check(dialog is not None, "the sheet is seen through the accessibility bus"):
            return 1
        xdotool("windowactivate", "--sync", sheet_window())
        if "names" in checks:
            check_names(dialog)
        if "wheel" in checks:
            check_wheel(dialog)
        if "keyboard" in checks:
            check_keyboard(dialog)
        if "paste" in checks:
            check_paste(dialog, encoder, arguments.cli, environment)
        else:
            xdotool("windowactivate", "--sync", sheet_window(), "key", "Escape")
            check(encoder.wait(timeout=10) == 0, "Escape closes the encoder")
    finally:
        if encoder.poll() is None:
            encoder.kill()
        shutil.rmtree(home, ignore_errors=True)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("every check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
