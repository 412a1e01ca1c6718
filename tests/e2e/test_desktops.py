"""Desktops as people have them: a container bridge listed before the LAN link, and an address that changes."""

import itertools
import time

from netlab import run_scenario, start, wait_for


def desktops(lab):
    lab.add_bridge("lan", router="198.18.3.1")
    ann, ben, cid = (lab.add_host(name, f"198.18.3.{number}", desktop=True)
                     for name, number in (("ann", 10), ("ben", 11), ("cid", 12)))
    for host in (ann, ben, cid):
        start(host)
    # Each is reached at its LAN address: with the bridge's, all would take the others' first packets for their own.
    for host, other in itertools.permutations((ann, ben, cid), 2):
        wait_for(lambda: any(f"<<{other.name}>> がログイン" in text for text in host.log_texts()),
                 what=f"{host.name}: {other.name}")
    # ann lists ben first: a line chosen for him reaches him alone.
    ann.copies[0].click(50, 52)
    ann.copies[0].say("ないしょ")
    ben.wait_for_log("ann(特定)> ないしょ")
    cid.wait_for_log("Received Other SL_MSG")

    # cid's laptop wakes in another network: the others see it leave and come back, and it chats again.
    moved = time.monotonic()
    cid.move("198.18.3.22")
    for host in (ann, ben):
        host.wait_for_log("*** <<cid>> がログアウトしました ***")
        host.wait_for_log(f"Received CMD_HELLO {cid.address}")
        host.wait_for_log("*** <<cid>> がログインしました ***", count=2)
    assert time.monotonic() - moved < 5, f"back after {time.monotonic() - moved:.1f} s"
    cid.wait_for_log("*** ネットワークが変わりました。アドレス 198.18.3.22 で接続します ***")
    cid.copies[0].say("戻りました")
    for host in (ann, ben):
        host.wait_for_log("cid > 戻りました")

    # An address that no interface holds is told about, and the copy comes in at its own.
    dan = lab.add_host("dan", "198.18.3.13", desktop=True)
    copy = dan.start("--address", "203.0.113.9")
    box = wait_for(lambda: copy.windows("--all", "--name", "^Korvane$"), what="the box")[0]
    # A key that comes before the box can take it is lost: pressed until the box goes.
    wait_for(lambda: lab.xdotool("windowfocus", "--sync", box, "key", "Return", check=False) and box not in copy.windows())
    dan.wait_for_log("Received Own Message")
    ann.wait_for_log(f"Received CMD_HELLO {dan.address}")


if __name__ == "__main__":
    run_scenario(desktops)
