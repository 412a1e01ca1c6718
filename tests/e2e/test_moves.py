# SPDX-License-Identifier: MIT
"""A laptop whose address changes under a running copy, and an address named on the command line that no interface holds."""

from netlab import run_scenario, start, wait_for


def moves(lab):
    lab.add_bridge("lan", router="198.18.3.1")
    ann, cid = lab.add_host("ann", "198.18.3.10"), lab.add_host("cid", "198.18.3.12")
    start(ann), start(cid)
    ann.wait_for_log("*** <<cid>> がログインしました ***")

    # cid's laptop wakes in another network: ann sees it leave and come back, and it chats again.
    cid.move("198.18.3.22")
    ann.wait_for_log("*** <<cid>> がログインしました ***", count=2, timeout=5)
    for text in ("*** <<cid>> がログアウトしました ***", f"Received CMD_HELLO {cid.address}"):
        ann.wait_for_log(text)
    cid.wait_for_log("*** アドレスが 198.18.3.22 に変わりました ***")
    cid.copies[0].say("戻りました")
    ann.wait_for_log("cid > 戻りました")

    # An address that no interface holds is told about, and the copy comes in at its own.
    dan = lab.add_host("dan", "198.18.3.13")
    copy = dan.start("--address", "203.0.113.9")
    box = wait_for(lambda: copy.windows("--all", "--name", "^Korvane$"), what="the box")[0]
    # A key that comes before the box can take it is lost: pressed until the box goes.
    wait_for(lambda: lab.xdotool("windowfocus", "--sync", box, "key", "Return", check=False) and box not in copy.windows())
    dan.wait_for_log("Received Own Message")
    ann.wait_for_log(f"Received CMD_HELLO {dan.address}")


if __name__ == "__main__":
    run_scenario(moves)
