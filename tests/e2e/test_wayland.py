# SPDX-License-Identifier: MIT
"""Two copies as native clients of weston: chat, the settings dialog, and a desktop with no notification area."""

import re

from netlab import run_scenario, start, wait_for


def told(host, pattern):
    # What the copy told the compositor or heard from it (WAYLAND_DEBUG).
    return re.findall(pattern, (host.workdir / "stderr.txt").read_text(errors="replace"))


def keyboard_came(host, since='set_title("Korvane")'):
    # The keyboard came to the copy after the last line with since, and it is there now.
    _, found, after = (host.workdir / "stderr.txt").read_text(errors="replace").rpartition(since)
    return found and re.findall(r"wl_keyboard@\d+\.(enter|leave)\(", after)[-1:] == ["enter"]


def wayland(lab):
    lab.add_bridge("lan", router="198.18.6.1")
    ann, ben = lab.add_host("ann", "198.18.6.10"), lab.add_host("ben", "198.18.6.11")
    start(ann)
    wait_for(lambda: keyboard_came(ann), what="ann's window")  # then ben's, the last to come, takes the keyboard
    start(ben)
    lab.xdotool("search", "--classname", "^weston", "windowfocus", "--sync")  # the X window weston draws in
    keys = lambda *names: lab.xdotool("key", "--delay", "100", *names)

    def say(host, text):
        wait_for(lambda: keyboard_came(host), what=f"the keyboard at {host.name}")
        lab.xdotool("type", "--delay", "50", text)
        keys("Return")

    say(ben, "hello wayland")
    ann.wait_for_log("ben > hello wayland")

    # 設定 (Alt+S) → 環境設定, its last item, is a window of its own, which Enter closes.
    keys("alt+s")
    wait_for(lambda: told(ben, "get_popup"), what="the menu")
    keys("Up", "Return")
    dialog = wait_for(lambda: told(ben, r'xdg_toplevel@(\d+)\.set_title\("環境設定"\)'), what="the settings dialog")[0]
    wait_for(lambda: keyboard_came(ben, "環境設定"), what="the keyboard at the dialog")
    keys("Return")
    wait_for(lambda: keyboard_came(ben, f"xdg_toplevel@{dialog}.destroy()"), what="the dialog closed")

    # With no notification area Escape minimises the window: a hidden one could not be brought back. A message
    # brings it back (mapped anew: the window cannot leave the minimised state itself), with the keyboard.
    keys("Escape")
    wait_for(lambda: told(ben, r"xdg_toplevel@\d+\.set_minimized\(\)"), what="the window minimised")
    keys("super+Tab")  # weston's window switcher: to ann
    say(ann, "are you there")
    say(ben, "here again")
    ann.wait_for_log("ben > here again")


if __name__ == "__main__":
    run_scenario(wayland, wayland=True)
