# SPDX-License-Identifier: MIT
"""An office of desktops on one bridge and a registered partner behind a router, from the logins to the liveness check."""

import itertools
import time

from netlab import close_window, run_scenario, start, wait_for


def office(lab):
    lab.add_bridge("east", router="198.18.1.1")
    lab.add_bridge("west", router="198.18.2.1")
    # Only alice and erin know each other's address; carol shares erin's bridge; hanako types her handle.
    alice = lab.add_host("alice", "198.18.1.10", "east", "alice", [("erin", "198.18.2.10")])
    start(alice)
    login = time.monotonic()  # the liveness check counts from here
    bob, dave = lab.add_host("bob", "198.18.1.11", "east"), lab.add_host("dave", "198.18.1.12", "east")
    hanako = lab.add_host("hanako", "198.18.1.13", "east", None)
    erin = lab.add_host("erin", "198.18.2.10", "west", "erin", [("alice", "198.18.1.10")])
    carol = lab.add_host("carol", "198.18.2.11", "west")
    for host in (bob, dave, hanako, erin, carol):
        start(host, "花子" if host is hanako else None)
    for host, other in [*itertools.permutations((alice, bob, dave, hanako), 2), (alice, erin), (erin, alice),
                        (erin, carol), (carol, erin)]:
        handle = "花子" if other is hanako else other.name
        # Whether it came before or after host, host has noted its login.
        wait_for(lambda: any(f"<<{handle}>> がログイン" in text for text in host.log_texts()), what=f"{host.name}: {handle}")

    # A line for everyone, then one for bob and 花子, whom alice lists first and third (in the order they came).
    alice.copies[0].say("おはよう everyone")
    alice.copies[0].click(50, 52)
    alice.copies[0].click(50, 78, "ctrl")
    alice.copies[0].say("ないしょ")
    for host, text in ((bob, "alice(特定)> ないしょ"), (hanako, "alice(特定)> ないしょ"), (dave, "Received Other SL_MSG")):
        host.wait_for_log(text)
    for host in (bob, dave, hanako, erin):
        assert host.log_texts().count("alice > おはよう everyone") == 1, f"alice's line in the log of {host.name}"
    # Nothing crossed the router but to and from the registered addresses.
    for host, stranger in ((bob, "erin"), (carol, "alice"), (alice, "carol"), (dave, "ないしょ"), (erin, "ないしょ")):
        assert not [text for text in host.log_texts() if stranger in text], f"{stranger} in the log of {host.name}"

    # dave crashes for good; 花子's copy crashes and her host starts another at once.
    for host in (dave, hanako):
        host.copies[0].process.kill()
        host.copies[0].process.wait()
    again = start(hanako, "花子")
    assert again.message_boxes() == [], "no clean start"
    # The others still list her address: the same handle from there is no newcomer.
    for host in (alice, bob):
        host.wait_for_log("Already connected member")
    again.say("ただいま")
    for host in (alice, bob):
        host.wait_for_log("花子 > ただいま")
        assert host.log_texts().count("*** <<花子>> がログインしました ***") == 1

    # bob closes his window as a window manager's close box does.
    close_window(lab.xvfb.display, int(bob.copies[0].window()))
    alice.wait_for_log("*** <<bob>> がログアウトしました ***")
    assert bob.copies[0].process.wait(5) == 0

    # The moment of alice's query shows in her log as 花子's answer.
    alice.wait_for_log(f"Received RSP_HLTHY {hanako.address}", timeout=login + 95 - time.monotonic())
    asked = time.monotonic()
    alice.wait_for_log("*** <<dave>> はログアウトしたかもしれません ***", timeout=15)
    assert abs(asked - login - 90) < 1.5, f"asked {asked - login:.1f} s after the login"
    assert abs(time.monotonic() - asked - 10) < 1.5, f"dropped {time.monotonic() - asked:.1f} s after asking"
    # With its log on a copy keeps the others' answers to each other: erin's to alice, in carol's log.
    carol.wait_for_log("Received Other RSP_HLTHY", timeout=1)
    assert [text for text in alice.log_texts() if "かもしれません" in text] == ["*** <<dave>> はログアウトしたかもしれません ***"]
    # dave's row is gone: coming back, he is welcomed as a newcomer.
    start(dave)
    alice.wait_for_log("*** <<dave>> がログインしました ***", count=2)


if __name__ == "__main__":
    run_scenario(office)
