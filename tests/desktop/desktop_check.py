#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The encoder on a real desktop: a real X server with a stacking window manager, the keyboard and
the mouse through xdotool, and a screen reader's view of it through AT-SPI.

    desktop_check.py ENCODER [--cli GLOMIECODE_CLI] [--checks CHECK,...]

CHECK is one of splash, names, wheel, keyboard, keys, paste (one run of the encoder), and pagekeys,
partlists, range, opener, second, place (each a run of its own, after those).

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

from checks import check, failures, wait_for

SHEET_TITLE = "Glomie Code 1.12.05 Encoder"
SPLASH_TITLE = "Glomie Code Encoder"
# Every message and dialog of the encoder is titled with the program's name.
MESSAGE_TITLE = "Glomie Code Encoder"
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
    # A busy machine can take a while to map the window the accessibility bus already shows.
    return wait_for(lambda: next((window for window, name in windows_by_title() if name == SHEET_TITLE), None),
                    timeout=30)


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
    """The code the box shows, without the invisible marks that keep its parts whole on a line."""
    box = named(dialog, "text", "Code")
    text = box.queryText()
    return text.getText(0, text.characterCount).replace("\u2060", "").replace("\u200b", "")


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


def press(node):
    """A button pressed as a screen reader presses it."""
    node.queryAction().doAction(0)


def message_dialog(title=MESSAGE_TITLE):
    """A dialog of the encoder's other than the sheet, with that title."""
    application = encoder_application()
    if application is None:
        return None
    return next((child for child in application
                 if child is not None and child.name == title and child.getRoleName() in ("dialog", "alert")
                 and showing(child)), None)


def all_text(node):
    """The names and texts of everything under node, for finding what a message says."""
    found = [node.name or ""]
    try:
        text = node.queryText()
        found.append(text.getText(0, text.characterCount))
    except Exception:
        pass
    for child in node:
        if child is not None:
            found.extend(all_text(child))
    return found


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
            # A list shows all its rows: the page scrolls, never the list.
            if role == "list":
                box = extents(node)
                if any(not inside(extents(row), box) for row in node if row is not None):
                    hidden.append(name + " (its rows)")
            # An omit box stays beside what it omits.
            if name in OMITTED_BY:
                omit = named(dialog, "check box", OMITTED_BY[name])
                if omit is None or not inside(extents(omit), visible_area(omit, screen)):
                    hidden.append(f"{OMITTED_BY[name]} (beside {name})")
        missed = sorted(wanted - set(reached))
        check(not missed and not hidden,
              f"{page}: Tab reached {len(reached)} controls" +
              (f"; never reached: {missed}" if missed else "") + (f"; off the screen: {hidden}" if hidden else ""))


# Controls and the omit box that must be in sight with them.
OMITTED_BY = {"Astrological sign": "Omit Astrological Sign", "Relationship preference": "Omit Relationship",
              "Relationship status": "Omit Relationship", "Left eye, first colour": "Omit Eyes"}


PASTED_CODE = ("GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- "
               "X:***[*]:aClr++|ClS[SS]s++++ O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|+")


def check_paste(dialog, encoder, cli, environment):
    print("A code on the clipboard, Ctrl+Shift+V and Return: OK stores it")
    # xclip keeps the clipboard in a process of its own until something else takes it.
    subprocess.run(["xclip", "-selection", "clipboard"], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL,
                   input=("my code, from my old page: " + PASTED_CODE + " -- see you!").encode())
    before = code_text(dialog)
    xdotool("windowactivate", "--sync", sheet_window(), "key", "ctrl+shift+v")
    pasted = wait_for(lambda: code_text(dialog) == PASTED_CODE, timeout=5)
    check(pasted, "the code box shows the pasted code")
    note = wait_for(lambda: pyatspi.findDescendant(
        dialog, lambda n: n is not None and n.name == "Code taken: Ctrl+Z brings back your answers" and showing(n)),
        timeout=2)
    check(note is not None, "a note beside the code box says Ctrl+Z brings the answers back")
    xdotool("key", "ctrl+z")
    check(wait_for(lambda: code_text(dialog) == before, timeout=5), "Ctrl+Z brings back the answers from before")
    xdotool("key", "ctrl+shift+v")
    check(wait_for(lambda: code_text(dialog) == PASTED_CODE, timeout=5), "and the code pasted again is taken again")
    xdotool("windowactivate", "--sync", sheet_window(), "key", "Return")
    check(encoder.wait(timeout=10) == 0, "Return closes the encoder")
    stored = subprocess.run([cli, "code"], env=environment, capture_output=True, text=True, check=False)
    check(stored.stdout.strip() == PASTED_CODE, f"the stored answers give the code again: {stored.stdout.strip()}")


def check_keys(dialog):
    print("An Alt+letter that is no shortcut changes no list; plain letters, a space among them, search")
    show_page(dialog, 2)
    listed = named(dialog, "combo box", "First assisting character")
    if not check(listed is not None, "the first assisting character's list is found"):
        return
    code = code_text(dialog)
    listed.queryComponent().grabFocus()
    time.sleep(0.2)
    for key in ("alt+o", "alt+k", "ctrl+k"):
        xdotool("key", key)
    time.sleep(0.3)
    check(code_text(dialog) == code and message_dialog() is None, "Alt+O, Alt+K and Ctrl+K left the code as it was")
    show_page(dialog, 1)
    first = named(dialog, "combo box", "First senshi")
    first.queryComponent().grabFocus()
    time.sleep(0.2)
    xdotool("type", "--delay", "40", "sailor ch")
    time.sleep(0.5)
    check(" F:sCh" in code_text(dialog), f"typing 'sailor ch' chose Sailor Chibimoon: {code_text(dialog)}")


def check_page_keys(dialog):
    print("Ctrl+Tab and Ctrl+Page Down change the page from a list and from a button")
    # Qt's page tabs say nothing of which is selected: a page is known by a question only it shows.
    def shows(name):
        return lambda: any(found == name for _, _, found in walk(dialog, []))
    show_page(dialog, 1)
    named(dialog, "combo box", "First senshi").queryComponent().grabFocus()
    time.sleep(0.2)
    xdotool("key", "ctrl+Tab")
    check(wait_for(shows("First assisting character"), timeout=2), "Ctrl+Tab from a list goes to the next page")
    show_page(dialog, 4)
    named(dialog, "push button", "OK").queryComponent().grabFocus()
    time.sleep(0.2)
    xdotool("key", "ctrl+Next")
    check(wait_for(shows("Years as a fan"), timeout=2), "Ctrl+Page Down from OK goes to the next page")
    named(dialog, "push button", "Decode").queryComponent().grabFocus()
    time.sleep(0.2)
    xdotool("key", "ctrl+shift+Tab")
    check(wait_for(shows("First assisting character"), timeout=2), "Ctrl+Shift+Tab from Decode goes back")
    xdotool("key", "ctrl+Tab")
    check(wait_for(shows("Years as a fan"), timeout=2), "and Ctrl+Tab from the tabs goes on again")


def check_part_lists(dialog):
    print("Experience's part lists show all nine rows without scrolling")
    show_page(dialog, 5)
    for form in ("raw", "subbed", "dubbed"):
        for how in ("completely", "partially"):
            name = f"Parts of the {form} anime seen {how}"
            listed = named(dialog, "list", name)
            if not check(listed is not None, f"'{name}' is found"):
                continue
            box = extents(listed)
            rows = [child for child in listed if child is not None]
            hidden = [row.name for row in rows if not inside(extents(row), box)]
            check(len(rows) == 9 and not hidden,
                  f"'{name}' shows its {len(rows)} rows" + (f"; out of sight: {hidden}" if hidden else ""))


RANGE_CODE = "GlomieCode(1.12.05) SM:6+m+ X:**:a999s"


def check_range_paste(dialog, encoder, cli, environment):
    print("A pasted count past its page's range: listed, nothing changes behind the question, OK after Take")
    before = code_text(dialog)
    subprocess.run(["xclip", "-selection", "clipboard"], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, input=RANGE_CODE.encode())
    xdotool("windowactivate", "--sync", sheet_window(), "key", "ctrl+shift+v")
    question = wait_for(message_dialog, timeout=5)
    if not check(question is not None, "a question titled 'Glomie Code Encoder' asks what to take"):
        print("  windows:", windows_by_title())
        return
    said = " ".join(all_text(question))
    check("Experience: Episodes of the subbed anime 999; the page goes up to 200, so 200 is taken" in said
          and "position" not in said, "it names the page, the answer and what the page takes for it, in words")
    check(code_text(dialog) == before, "behind the question the code box still shows the code from before")
    take = pyatspi.findDescendant(question, lambda n: n is not None and n.getRoleName() == "push button"
                                  and n.name.replace("&", "") == "Take What Was Read")
    press(take)
    check(wait_for(lambda: code_text(dialog) == RANGE_CODE.replace("a999s", "a200s"), timeout=5),
          "Take shows what the page can hold")
    show_page(dialog, 5)
    xdotool("windowactivate", "--sync", sheet_window(), "key", "Return")
    check(encoder.wait(timeout=10) == 0, "OK closes the encoder after Take")
    stored = subprocess.run([cli, "code"], env=environment, capture_output=True, text=True, check=False)
    check(stored.stdout.strip() == RANGE_CODE.replace("a999s", "a200s"), "and stores what was taken")


def check_opener(dialog):
    print("Help and Decode with a desktop opener that fails (xdg-open exits 3)")
    xdotool("windowactivate", "--sync", sheet_window(), "key", "F1")
    help_window = wait_for(lambda: (lambda d: d if d and named(d, "text", "Help") else None)(
        message_dialog("Glomie Code Encoder Help")), timeout=5)
    if check(help_window is not None, "F1: the help text comes in the encoder's own window"):
        text = named(help_window, "text", "Help").queryText()
        check(text.getText(0, 30).startswith("GLOMIE CODE ENCODER"), "it holds the help file's text")
        check(named(help_window, "push button", "Close") is not None, "it has Close")
        check(help_window.name == "Glomie Code Encoder Help", f"it is titled '{help_window.name}'")
        window = next(window for window, name in windows_by_title() if name == "Glomie Code Encoder Help")
        xdotool("windowactivate", "--sync", window, "key", "ctrl+f")
        time.sleep(0.3)
        xdotool("type", "--delay", "20", "Ctrl")
        xdotool("key", "Return")
        time.sleep(0.5)
        check(message_dialog("Glomie Code Encoder Help") is not None, "Return in its Find box finds, and leaves Help open")
        xdotool("key", "Return")
        time.sleep(0.3)
        xdotool("key", "Escape")
        check(wait_for(lambda: message_dialog("Glomie Code Encoder Help") is None, timeout=3), "Escape closes it")
    show_page(dialog, 0)
    press(named(dialog, "push button", "Decode"))
    message = wait_for(message_dialog, timeout=5)
    if check(message is not None, "Decode: a message says the browser could not be opened"):
        said = " ".join(all_text(message))
        check("works while the encoder runs" in said, "it says the address works while the encoder runs")
        address = named(message, "text", "Decoder address")
        shown = address.queryText().getText(0, address.queryText().characterCount) if address else ""
        check(shown.startswith("http://127.0.0.1:") and "/cgi-usr/qpx/gcp.pl?name=GlomieCode" in shown,
              f"it holds the whole address: {shown}")
        check(address is not None and extents(address)[2] >= 400, "in a field wide enough to read it")
        copy = named(message, "push button", "Copy Address")
        if check(copy is not None, "with a Copy button"):
            field, button, box = extents(address), extents(copy), extents(message)
            apart = field[0] + field[2] <= button[0] or button[0] + button[2] <= field[0] or \
                field[1] + field[3] <= button[1] or button[1] + button[3] <= field[1]
            check(apart and inside(field, box) and inside(button, box),
                  f"the field {field} and the button {button} are whole in the box {box}, side by side")
            press(copy)
            time.sleep(0.3)
            copied = run("xclip", "-selection", "clipboard", "-o")
            check(copied == shown, "which copies it")
            check(wait_for(lambda: named(message, "push button", "Copied") is not None, timeout=1),
                  "and then says 'Copied'")
        press(named(message, "push button", "OK"))
        check(wait_for(lambda: message_dialog() is None, timeout=3), "OK closes the message")


def check_second_start(encoder_path, environment):
    print("A second start says only one copy runs, then brings the running sheet to the front")
    cover = subprocess.Popen(["xmessage", "-name", "cover", "-title", "cover", "-geometry", "1200x760+0+0",
                              "a window over the sheet"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for(lambda: stacking_index("cover") is not None, timeout=5)
        cover_window = next(window for window, name in windows_by_title() if name == "cover")
        xdotool("windowactivate", "--sync", cover_window)
        check(stacking_index("cover") > stacking_index(SHEET_TITLE), "the other window covers the sheet")
        second = subprocess.Popen([encoder_path, "-Embedding"], env=environment)
        refused = wait_for(lambda: next((window for window, name in windows_by_title()
                                         if name == MESSAGE_TITLE), None), timeout=10)
        if check(refused is not None, "the second copy says so in a message titled 'Glomie Code Encoder'"):
            xdotool("windowactivate", "--sync", refused, "key", "Return")
        check(second.wait(timeout=10) == 1, "the second copy ends")
        check(wait_for(lambda: stacking_index(SHEET_TITLE) > stacking_index("cover"), timeout=5),
              "the running sheet is stacked above the window that covered it")
        active = run("xdotool", "getactivewindow").strip()
        check(active and int(active) == int(sheet_window(), 16), "and is the active window")
    finally:
        cover.kill()
        cover.wait()


def check_place(encoder_path, environment):
    print("The sheet opens where and as large as it was left")
    first = subprocess.Popen([encoder_path, "-Embedding"], env=environment)
    try:
        window = sheet_window()
        if not check(window is not None, "the sheet's window is on the screen"):
            return
        xdotool("windowsize", "--sync", window, "900", "620")
        xdotool("windowmove", "--sync", window, "120", "90")
        time.sleep(0.5)
        left = frame_of(SHEET_TITLE)
        xdotool("windowactivate", "--sync", window, "key", "Return")
        check(first.wait(timeout=10) == 0, "OK closes the encoder")
    finally:
        if first.poll() is None:
            first.kill()
    again = subprocess.Popen([encoder_path, "-Embedding"], env=environment)
    try:
        if not check(sheet_window() is not None, "the sheet's window is on the screen again"):
            return
        time.sleep(0.5)
        back = frame_of(SHEET_TITLE)
        check(back == left, f"it comes back at {back}, where it was left: {left}")
        xdotool("windowactivate", "--sync", sheet_window(), "key", "Escape")
        again.wait(timeout=10)
    finally:
        if again.poll() is None:
            again.kill()


def run_session(encoder_path, environment, checks, arguments):
    """One run of the encoder for the checks that share it; True when it ended as it should."""
    encoder = subprocess.Popen([encoder_path] + ([] if "splash" in checks else ["-Embedding"]), env=environment)
    try:
        if "splash" in checks:
            check_splash()
        dialog = wait_for(sheet_dialog, timeout=20)
        if not check(dialog is not None, "the sheet is seen through the accessibility bus"):
            return False
        window = sheet_window()
        if not check(window is not None, "the sheet's window is on the screen"):
            print("  windows:", windows_by_title(), run("xwininfo", "-root", "-tree")[:2000])
            return False
        xdotool("windowactivate", "--sync", window)
        if "names" in checks:
            check_names(dialog)
        if "wheel" in checks:
            check_wheel(dialog)
        if "keyboard" in checks:
            check_keyboard(dialog)
        if "keys" in checks:
            check_keys(dialog)
        if "pagekeys" in checks:
            check_page_keys(dialog)
        if "partlists" in checks:
            check_part_lists(dialog)
        if "opener" in checks:
            check_opener(dialog)
        if "second" in checks:
            check_second_start(encoder_path, environment)
        if "paste" in checks:
            check_paste(dialog, encoder, arguments.cli, environment)
        elif "range" in checks:
            check_range_paste(dialog, encoder, arguments.cli, environment)
        else:
            xdotool("windowactivate", "--sync", sheet_window(), "key", "Escape")
            check(encoder.wait(timeout=10) == 0, "Escape closes the encoder")
        return True
    finally:
        if encoder.poll() is None:
            encoder.kill()


def guarded(name, function, *arguments):
    """Runs one group of checks; an error in it (a window that never came, a command that failed)
    is that group's failed check, and the groups after it still run."""
    try:
        function(*arguments)
    except Exception as error:  # pylint: disable=broad-except
        check(False, f"the {name} checks ran to their end, but: {type(error).__name__}: {error}")


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
    try:
        first = [check for check in ("splash", "names", "wheel", "keyboard", "keys", "paste") if check in checks]
        if first:
            guarded(",".join(first), run_session, arguments.encoder, environment, first, arguments)
        for own in ("pagekeys", "partlists", "range", "second"):
            if own in checks:
                guarded(own, run_session, arguments.encoder, environment, [own], arguments)
        if "opener" in checks:
            # A desktop whose opener fails, and the decoder page served by the encoder itself.
            failing = os.path.join(home, "failing-opener")
            os.makedirs(failing)
            with open(os.path.join(failing, "xdg-open"), "w", encoding="utf-8") as opener:
                opener.write("#!/bin/sh\nexit 3\n")
            os.chmod(os.path.join(failing, "xdg-open"), 0o755)
            served = {key: value for key, value in environment.items() if key != "GLOMIECODE_DECODER_HOST"}
            served["PATH"] = failing + os.pathsep + environment.get("PATH", "")
            guarded("opener", run_session, arguments.encoder, served, ["opener"], arguments)
        if "place" in checks:
            guarded("place", check_place, arguments.encoder, environment)
    finally:
        shutil.rmtree(home, ignore_errors=True)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("every check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
