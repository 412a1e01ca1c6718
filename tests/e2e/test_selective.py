"""Messages to the members picked in the list."""

import unittest

from lantest import BC_MSG, SL_MSG, LanTest


class SelectiveTest(LanTest):
    def test_only_the_selected_members_see_the_message(self):
        capture = self.lab.capture()
        alice, bob, hanako = self.three_logged_in()
        copy = alice.copies[0]
        # alice's list holds bob, then 花子, in the order they answered her.
        copy.select_member(0)
        copy.say("ないしょ話 secret")
        bob.wait_for_log("alice(特定)> ないしょ話 secret")
        hanako.wait_for_log("Received Other SL_MSG")
        self.settle()

        self.assertLogged(bob, "alice(特定)> ないしょ話 secret")
        self.assertLogged(alice, "alice > ないしょ話 secret")
        self.assertFalse([t for t in hanako.log_texts() if "ないしょ話" in t], "hanako shows the message")
        traces = hanako.log_texts()
        self.assertEqual(traces[traces.index(f"Received SL_MSG {alice.address}") + 1], "Received Other SL_MSG")
        sent = self.packets(capture, SL_MSG)
        self.assertEqual([(p.source, p.target) for p in sent], [(alice.address, bob.address)])

        # A ctrl-click adds 花子; the selection is kept: one packet per member, in list order.
        copy.select_member(1, add=True)
        copy.say("二人へ")
        for host in (bob, hanako):
            host.wait_for_log("alice(特定)> 二人へ")
        self.settle()
        for host in (bob, hanako):
            self.assertLogged(host, "alice(特定)> 二人へ")
        self.assertLogged(alice, "alice > 二人へ")
        sent = self.packets(capture, SL_MSG)[1:]
        self.assertEqual([p.target for p in sent], [bob.address, hanako.address])
        self.assertEqual(self.packets(capture, BC_MSG), [])


if __name__ == "__main__":
    unittest.main()
