"""One office on one bridge, in the order a day goes: logins, a line for everyone, a line for
two picked members, a crash and an instant restart on the same host, a goodbye, and at the real
liveness check (90 s after login, 10 s for answers) the crashed copy that never came back is
dropped. The scenario takes about a hundred seconds, nearly all of it that wait."""

import itertools
import time
import unittest

from lantest import JOINED, LEFT, VANISHED, LanTest, notice
from xwindow import XConnection


class OfficeTest(LanTest):
    def test_a_day_at_the_office(self):
        alice = self.add_host("alice", "198.18.0.10", "alice")
        bob = self.add_host("bob", "198.18.0.11", "bob")
        dave = self.add_host("dave", "198.18.0.13", "dave")
        hanako = self.add_host("hanako", "198.18.0.12")  # types her handle (two bytes a character)
        self.start(alice)
        login = time.monotonic()  # the liveness check counts from here
        self.assertOrdinaryWindow(alice.copies[0])
        self.start(bob)
        self.start(dave)
        self.start(hanako, "花子")
        everyone = {alice: "alice", bob: "bob", dave: "dave", hanako: "花子"}
        for host, other in itertools.permutations(everyone, 2):
            self.wait_until_listed(host, everyone[other])

        # A line for everyone, then one for bob and 花子 (alice lists them in the order they came).
        say = alice.copies[0].say
        say("おはよう everyone")
        alice.copies[0].select_member(0)
        alice.copies[0].select_member(2, add=True)
        say("ないしょ secret")
        for host in (bob, hanako):
            host.wait_for_log("alice(特定)> ないしょ secret")
        dave.wait_for_log("Received Other SL_MSG")
        for host in (bob, dave, hanako):
            self.assertLogged(host, "alice > おはよう everyone")
        self.assertEqual([t for t in dave.log_texts() if "ないしょ" in t], [])

        # dave crashes for good; 花子's copy crashes and her host starts another at once.
        for host in (dave, hanako):
            host.copies[0].process.kill()
            host.copies[0].process.wait()
        again = self.start(hanako, "花子")
        self.assertEqual(again.message_boxes(), [], "no clean start")
        # The others still list her address: the same handle from there is no newcomer.
        for host in (alice, bob):
            host.wait_for_log("Already connected member")
        again.say("ただいま")
        for host in (alice, bob):
            host.wait_for_log("花子 > ただいま")
            self.assertLogged(host, notice("花子", JOINED))

        # bob closes his window as a window manager's close box does.
        with XConnection(self.lab.xvfb.display) as x:
            x.close_window(int(bob.copies[0].window()))
        alice.wait_for_log(notice("bob", LEFT))
        self.assertEqual(bob.copies[0].process.wait(5), 0)

        # The moment of alice's query shows in her log as 花子's answer.
        alice.wait_for_log(f"Received RSP_HLTHY {hanako.address}", timeout=login + 95 - time.monotonic())
        asked = time.monotonic()
        alice.wait_for_log(notice("dave", VANISHED), timeout=15)
        self.assertAlmostEqual(asked - login, 90, delta=1.5)
        self.assertAlmostEqual(time.monotonic() - asked, 10, delta=1.5)
        self.assertLogged(alice, notice("花子", VANISHED), count=0)  # her new copy answered
        # dave's row is gone: coming back, he is welcomed as a newcomer.
        self.start(dave)
        alice.wait_for_log(notice("dave", JOINED), count=2)

    def assertOrdinaryWindow(self, copy):
        """Task bars and window switchers list it: a normal top-level window, transient for
        nobody, neither modal nor kept off the task bar or the pager."""
        with XConnection(self.lab.xvfb.display) as x:
            window = int(copy.window())
            self.assertEqual(x.property_values(window, "_NET_WM_WINDOW_TYPE"),
                             [x.intern_atom("_NET_WM_WINDOW_TYPE_NORMAL")])
            self.assertEqual(x.property_values(window, "WM_TRANSIENT_FOR"), [])
            hidden = {x.intern_atom(f"_NET_WM_STATE_{state}") for state in ("MODAL", "SKIP_TASKBAR", "SKIP_PAGER")}
            self.assertFalse(hidden & set(x.property_values(window, "_NET_WM_STATE")))


if __name__ == "__main__":
    unittest.main()
