#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The encoder as a Windows program under Wine, on a real X server with a window manager, used as
a person uses it: the keyboard through xdotool, the clipboard through xclip, the answers read back
from Wine's registry with `wine reg query`.

    windows_check.py --dist DIST --setup SETUP.exe --cli-linux GLOMIECODE_CLI --version VERSION
                     [--screenshot PNG] [--work FOLDER]

Runs on a desktop that has DISPLAY and a window manager, in the Wine prefix WINEPREFIX names, which
must hold no answers yet (scripts/ci-windows.sh makes a fresh one). Prints what it checked and exits
with 1 when a check failed; a window that never comes is a failed check, never a crash.
"""

import argparse
import http.client
import os
import re
import shutil
import subprocess
import sys
import time
import urllib.parse

# The checks shared with the encoder's desktop check on Linux.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
from checks import check, failures, wait_for  # noqa: E402

KEY = r"HKCU\Software\kvrq\glomiecode"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\glomiecode"
MESSAGE_TITLE = "Glomie Code Encoder"
COVER_TITLE = "Untitled - Notepad"
PASTED_CODE = ("GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- "
               "X:***[*]:aClr++|ClS[SS]s++++ O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|+")


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, check=False, **options)


def xdotool(*arguments):
    # A window gone between finding it and pressing a key is a failed check later, not a crash.
    return run("xdotool", *arguments).returncode == 0


def wine(*arguments, **options):
    result = run("wine", *arguments, **options)
    result.stdout = result.stdout.replace("\r", "")
    return result


# ----------------------------------------------------------------------------------------------
# X windows


def windows():
    """The managed top-level windows, bottom to top, as (id, title)."""
    ids = [int(window, 16)
           for window in re.findall(r"0x[0-9a-f]+", run("xprop", "-root", "_NET_CLIENT_LIST_STACKING").stdout)]
    titles = {int(window, 16): title for window, title in
              re.findall(r'^\s*(0x[0-9a-f]+) "(.*)":', run("xwininfo", "-root", "-tree").stdout, re.M)}
    return [(hex(window), titles.get(window, "")) for window in ids]


def window_titled(title, timeout=0.0):
    return wait_for(lambda: next((window for window, name in windows() if name == title), None), timeout=timeout)


def splash_window():
    """The splash: a window of the encoder's with the splash's size and no frame (Wine leaves such
    a window unmanaged, without a title), while it is viewable."""
    tree = run("xwininfo", "-root", "-tree").stdout
    for window in re.findall(r'^\s*(0x[0-9a-f]+) [^\n]*\("glomiecode.exe" "glomiecode.exe"\)\s+500x572\+', tree, re.M):
        if "IsViewable" in run("xwininfo", "-id", window).stdout:
            return window
    return None


def active_window():
    active = run("xdotool", "getactivewindow").stdout.strip()
    return int(active) if active.isdigit() else None


def keys(window, *names):
    """Presses keys in the window, made the active one first; nothing when there is no window."""
    if window is None:
        return
    for name in names:
        xdotool("windowactivate", "--sync", window)
        xdotool("key", "--clearmodifiers", name)
        time.sleep(0.15)


def put_on_clipboard(text):
    # xclip keeps the clipboard in a process of its own until something else takes it: it must not
    # hold this program's output open meanwhile.
    subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode(), check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def clipboard():
    return run("xclip", "-o", "-selection", "clipboard", timeout=5).stdout


last_copy = [0.0]


def ready(window):
    """Waits until a window just mapped is the active one and has settled, so its keys arrive."""
    wait_for(lambda: active_window() == int(window, 16) or xdotool("windowactivate", "--sync", window) and False,
             timeout=10, step=0.3)
    time.sleep(0.5)
    return window


def copied_code(window):
    """The code box's text, as Copy Code (Alt+C) puts it on the clipboard."""
    for _ in range(3):
        # The button says "Copied", without its mnemonic, for two seconds after a copy.
        time.sleep(max(0.0, last_copy[0] + 2.3 - time.monotonic()))
        put_on_clipboard("")
        keys(window, "alt+c")
        last_copy[0] = time.monotonic()
        code = wait_for(lambda: clipboard().strip().startswith("GlomieCode") and clipboard().strip(), timeout=5)
        if code:
            return code
    return ""


def closed_with(encoder, window, key):
    """Presses key in the window until the encoder ends (a busy machine may lose the first); its status."""
    for _ in range(3):
        keys(window, key)
        status = encoder.ended(timeout=10)
        if status is not None:
            return status
    return None


# ----------------------------------------------------------------------------------------------
# The registry


def registry():
    """The answers under the key: {group: {name: (type, value)}}; empty when the key is missing."""
    result = wine("reg", "query", KEY, "/s")
    groups, group = {}, None
    for line in result.stdout.splitlines():
        if line.startswith("HKEY_"):
            group = line.split("\\")[-1] if line.rstrip() != KEY.replace("HKCU", "HKEY_CURRENT_USER") else None
            if group is not None:
                groups.setdefault(group, {})
            continue
        match = re.match(r"\s+(\S+)\s+(REG_\w+)\s+(.*)$", line)
        if match and group is not None:
            groups[group][match.group(1)] = (match.group(2), match.group(3).strip())
    return groups


def layout(cli_linux, folder):
    """Every group and value name the Linux build stores, from a settings file it wrote."""
    path = os.path.join(folder, "layout.ini")
    run(cli_linux, "import", "--settings", path, PASTED_CODE)
    groups, group = {}, None
    with open(path, encoding="utf-8") as settings:
        for line in settings:
            line = line.strip()
            if line.startswith("["):
                group = line[1:-1]
                groups[group] = set()
            elif "=" in line and group is not None:
                groups[group].add(line.split("=", 1)[0])
    return groups


# ----------------------------------------------------------------------------------------------
# The checks


class Encoder:
    """One run of the encoder; ended by the check, or killed when it is left running."""

    def __init__(self, program, *arguments, environment=None):
        self.process = subprocess.Popen(["wine", program, *arguments], env=environment,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def ended(self, timeout=15):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        """Ends a run that a failed check left going: all of Wine, since ending `wine` itself
        leaves the Windows program running, holding the single-instance lock."""
        if self.process.poll() is None:
            run("wineserver", "-k")
            run("wineserver", "-w")
            self.process.kill()
            self.process.wait()


def check_first_run(program, sheet_title, cli_linux, arguments, environment):
    print("First start: the splash and the sheet; the keyboard changes answers and the code; Return stores them",
          flush=True)
    default_code = run(cli_linux, "code", "--settings", os.path.join(arguments.work, "empty.ini")).stdout.strip()
    encoder = Encoder(program, environment=environment)
    try:
        splash = wait_for(splash_window, timeout=60, step=0.02)
        sheet = window_titled(sheet_title, timeout=60)
        if not check(sheet is not None, f"the sheet's window, titled '{sheet_title}', is on the screen"):
            print("  windows:", windows())
            return None
        check(splash is not None, "the splash (500x572, frameless) was on the screen with it")
        # The splash goes by itself after two seconds.
        check(wait_for(lambda: splash_window() is None, timeout=10), "the splash goes")
        first = copied_code(sheet)
        check(first == default_code, f"Copy Code gives the default answers' code: {first!r}")

        # The SM page: Alt+P takes the Primary slider, Right moves it.
        keys(sheet, "alt+p", "Right", "Right")
        moved = copied_code(sheet)
        check(moved.startswith("GlomieCode") and moved != first, f"Alt+P and Right change the code: {moved!r}")

        # The next page with Ctrl+Tab, into its first question with Tab, a choice with Down.
        keys(sheet, "ctrl+Tab", "Tab", "Down")
        chosen = copied_code(sheet)
        check(chosen.startswith("GlomieCode") and chosen != moved,
              f"Ctrl+Tab, Tab and Down change an answer on the next page: {chosen!r}")

        if arguments.screenshot:
            keys(sheet, "ctrl+shift+Tab")
            time.sleep(0.5)
            # The sheet with the window manager's frame: the frame is the sheet's parent window.
            parent = re.search(r"Parent window id: (0x[0-9a-f]+)", run("xwininfo", "-tree", "-id", sheet).stdout)
            shot = run("import", "-window", parent.group(1) if parent else sheet, arguments.screenshot)
            check(shot.returncode == 0 and os.path.exists(arguments.screenshot) and os.path.getsize(arguments.screenshot) > 0,
                  f"a screenshot of the sheet in {arguments.screenshot}")

        check(closed_with(encoder, sheet, "Return") == 0, "Return closes the encoder")
        return chosen
    finally:
        encoder.stop()


def check_registry(stored_code, cli_linux, arguments):
    print(f"The answers under {KEY}: a key per group, a number per answer", flush=True)
    groups = registry()
    # Beside the answers, the sheet's place, in a group of its own.
    place = groups.pop("Window", {})
    check(set(place) == {"X", "Y", "Width", "Height"}, f"the sheet's place is kept too: {sorted(place)}")
    wanted = layout(cli_linux, arguments.work)
    check(set(groups) == set(wanted), f"the groups are those the Linux build stores: {sorted(groups)}")
    names = sum(len(values) for values in groups.values())
    check(names == sum(len(values) for values in wanted.values()), f"{names} answers are stored")
    missing = [f"{group}\\{name}" for group, values in wanted.items() for name in values
               if name not in groups.get(group, {})]
    check(not missing, "every answer has its value" + (f"; missing: {missing[:5]}" if missing else ""))
    types = {kind for values in groups.values() for kind, _ in values.values()}
    check(types == {"REG_DWORD"}, f"every answer is a number (REG_DWORD): {sorted(types)}")
    # The stored answers, written out for the Linux command line, give the code the box showed.
    path = os.path.join(arguments.work, "stored.ini")
    with open(path, "w", encoding="utf-8") as settings:
        for group, values in groups.items():
            settings.write(f"[{group}]\n")
            for name, (_, value) in values.items():
                settings.write(f"{name}={int(value, 16) if value.startswith('0x') else value}\n")
    linux = run(cli_linux, "code", "--settings", path).stdout.strip()
    check(linux == stored_code, f"they give the code the code box showed: {linux!r}")
    windows_cli = wine(os.path.join(arguments.dist, "bin", "glomiecode-cli.exe"), "code").stdout.strip()
    check(windows_cli == stored_code, f"glomiecode-cli.exe code reads them from the registry: {windows_cli!r}")


def check_next_start_and_second(program, sheet_title, stored_code, environment):
    print("The next start shows the stored answers; a second start is refused and raises the first", flush=True)
    encoder = Encoder(program, "-Embedding", environment=environment)
    try:
        sheet = window_titled(sheet_title, timeout=60)
        if not check(sheet is not None, "the sheet comes again"):
            return
        ready(sheet)
        check(copied_code(sheet) == stored_code, "it shows the stored answers' code")

        # A Windows program's window over the sheet: Wine 8 cannot take the focus from a window of
        # another X client (it has no _NET_ACTIVE_WINDOW), only from one of its own.
        cover = subprocess.Popen(["wine", "notepad"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            cover_window = window_titled(COVER_TITLE, timeout=30)
            if cover_window:
                xdotool("windowsize", "--sync", cover_window, "1200", "760")
                xdotool("windowmove", "--sync", cover_window, "0", "0")
                xdotool("windowactivate", "--sync", cover_window)
            stack = [name for _, name in windows()]
            check(COVER_TITLE in stack and stack.index(COVER_TITLE) > stack.index(sheet_title),
                  "another program's window covers the sheet")
            second = Encoder(program, "-Embedding", environment=environment)
            refused = window_titled(MESSAGE_TITLE, timeout=30)
            if check(refused is not None, f"the second copy says so in a message titled '{MESSAGE_TITLE}'"):
                keys(refused, "Return")
            check(second.ended() == 1, "the second copy ends with status 1")
            second.stop()

            def raised():
                stack = [name for _, name in windows()]
                return sheet_title in stack and stack.index(sheet_title) > stack.index(COVER_TITLE)
            check(wait_for(raised, timeout=10), "the running sheet is stacked above the window that covered it")
            # Activation is not checked here: Wine 8 gives a window the focus only when the window
            # manager does, and it cannot ask it to (no _NET_ACTIVE_WINDOW); the Linux desktop
            # check asserts it, and on Windows the refused copy lets the running one take it.
            active = wait_for(lambda: active_window() == int(sheet, 16), timeout=3)
            print(f"  (note: the sheet is {'' if active else 'not '}the active window)")
        finally:
            cover.kill()
            cover.wait()
            # The killed cover's window may still be going; one gone meanwhile needs no closing.
            keys(window_titled(COVER_TITLE), "alt+F4")
        check(closed_with(encoder, sheet, "Escape") == 0, "Escape closes the encoder")
    finally:
        encoder.stop()


def check_decode_and_paste(program, sheet_title, arguments, environment):
    print("Decode hands the encoder's own decoder page to the browser; Paste Code takes the clipboard's code",
          flush=True)
    recorded = os.path.join(arguments.work, "browser.log")
    if os.path.exists(recorded):
        os.remove(recorded)
    encoder = Encoder(program, "-Embedding", environment=environment)
    try:
        sheet = window_titled(sheet_title, timeout=60)
        if not check(sheet is not None, "the sheet is on the screen"):
            return
        ready(sheet)
        code = copied_code(sheet)
        keys(sheet, "alt+d")
        address = wait_for(lambda: os.path.exists(recorded) and open(recorded, encoding="utf-8").read().strip(),
                           timeout=20)
        if check(bool(address), f"the browser was given an address: {address!r}"):
            url = urllib.parse.urlsplit(address.splitlines()[-1])
            check(url.hostname == "127.0.0.1", "on this computer")
            try:
                connection = http.client.HTTPConnection(url.hostname, url.port, timeout=10)
                connection.request("GET", url.path + ("?" + url.query if url.query else ""))
                response = connection.getresponse()
                page = response.read().decode("utf-8", "replace")
                check(response.status == 200, f"the encoder's decoder page answers: {response.status}")
                check("Glomie" in page and "<html" in page.lower(), "with a page")
            except OSError as error:
                check(False, f"the encoder's decoder page answers: {error}")
        # Paste Code: a message with a code in it, Ctrl+Shift+V, and the code box shows that code.
        put_on_clipboard("my code: " + PASTED_CODE + " -- bye")
        time.sleep(0.3)
        keys(sheet, "ctrl+shift+v")
        time.sleep(0.5)
        check(copied_code(sheet) == PASTED_CODE, "Paste Code shows the clipboard's code in the code box")
        check(closed_with(encoder, sheet, "Escape") == 0, "Escape closes the encoder and stores nothing")
        check(code != PASTED_CODE, "(the stored answers were not the pasted ones)")
    finally:
        encoder.stop()


def check_setup(arguments, sheet_title, environment):
    print("The setup program installs silently; the installed encoder runs and finds its help; "
          "the uninstaller removes it and leaves the answers", flush=True)
    before = registry()
    result = wine(arguments.setup, "/S")
    run("wineserver", "-w")
    check(result.returncode == 0, f"the setup program ends with 0 ({result.returncode})")
    folder = wine("cmd", "/c", "echo", "%ProgramW6432%").stdout.strip() + "\\Glomie Code Encoder"
    unix_folder = run("winepath", "-u", folder).stdout.strip()
    installed = os.path.join(unix_folder, "bin", "glomiecode.exe")
    check(os.path.isfile(installed), f"the encoder is installed in {folder}\\bin")
    check(os.path.isfile(os.path.join(unix_folder, "Help", "glomiecode.txt")), "with its help")
    start_menu = wine("cmd", "/c", "echo", "%ProgramData%").stdout.strip() + \
        "\\Microsoft\\Windows\\Start Menu\\Programs\\Glomie Code Encoder.lnk"
    check(os.path.isfile(run("winepath", "-u", start_menu).stdout.strip()), "a Start menu entry")
    entry = wine("reg", "query", UNINSTALL_KEY).stdout
    check(f"DisplayVersion    REG_SZ    {arguments.version}" in entry and "Publisher" in entry
          and "UninstallString" in entry, "an uninstaller in Add/Remove Programs, with version and publisher")

    help_path = wine(installed, "--print-help-path").stdout.strip()
    check(help_path.replace("/", "\\").lower() == (folder + "\\Help\\glomiecode.txt").lower(),
          f"the installed encoder finds its help: {help_path!r}")
    encoder = Encoder(installed, "-Embedding", environment=environment)
    try:
        sheet = window_titled(sheet_title, timeout=60)
        if check(sheet is not None, "the installed encoder shows its sheet"):
            check(closed_with(encoder, ready(sheet), "Escape") == 0, "and Escape closes it")
    finally:
        encoder.stop()

    result = wine(os.path.join(unix_folder, "uninstall.exe"), "/S")
    run("wineserver", "-w")
    check(wait_for(lambda: not os.path.exists(unix_folder), timeout=20), "the uninstaller removes the folder")
    check(not os.path.exists(run("winepath", "-u", start_menu).stdout.strip()), "and the Start menu entry")
    check(wine("reg", "query", UNINSTALL_KEY).returncode != 0, "and its Add/Remove Programs entry")
    check(registry() == before and before, f"and leaves the answers under {KEY}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--dist", required=True)
    parser.add_argument("--setup", required=True)
    parser.add_argument("--cli-linux", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--screenshot")
    parser.add_argument("--work", default="build/windows-cross/desktop-check")
    arguments = parser.parse_args()
    arguments.work = os.path.abspath(arguments.work)
    shutil.rmtree(arguments.work, ignore_errors=True)
    os.makedirs(arguments.work)
    open(os.path.join(arguments.work, "empty.ini"), "w").close()
    sheet_title = f"Glomie Code {arguments.version} Encoder"
    program = os.path.join(arguments.dist, "bin", "glomiecode.exe")

    # Wine hands an address to the first of these programs it finds: one that records it.
    browser = os.path.join(arguments.work, "record-browser")
    with open(browser, "w", encoding="utf-8") as script:
        script.write(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{arguments.work}/browser.log'\n")
    os.chmod(browser, 0o755)
    wine("reg", "add", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/t", "REG_SZ", "/d", browser, "/f")
    # The encoder serves the decoder page itself.
    environment = {key: value for key, value in os.environ.items() if key != "GLOMIECODE_DECODER_HOST"}

    if not check(not registry(), f"the Wine prefix holds no answers under {KEY} yet"):
        return 1
    stored = check_first_run(program, sheet_title, arguments.cli_linux, arguments, environment)
    if stored:
        check_registry(stored, arguments.cli_linux, arguments)
        check_next_start_and_second(program, sheet_title, stored, environment)
    check_decode_and_paste(program, sheet_title, arguments, environment)
    check_setup(arguments, sheet_title, environment)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("every check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
