"""A line typed on one copy reaches everyone."""

import unittest

from lantest import BC_MSG, SL_MSG, LanTest


class BroadcastTest(LanTest):
    def test_a_typed_line_appears_once_on_every_other_copy(self):
        capture = self.lab.capture()
        alice, bob, hanako = self.three_logged_in()
        greeting = "みなさん、おはようございます！ Good morning ①"
        alice.copies[0].say(greeting)
        for host in (bob, hanako):
            host.wait_for_log(f"alice > {greeting}")
        # The same words twice in a row are two messages, not a repeat to drop.
        for _ in range(2):
            hanako.copies[0].say("了解")
        for host in (alice, bob):
            host.wait_for_log("花子 > 了解", count=2)
        self.settle()

        for host in (alice, bob, hanako):
            self.assertLogged(host, f"alice > {greeting}")
            self.assertLogged(host, "花子 > 了解", count=2)
        sent = self.packets(capture, BC_MSG)
        self.assertEqual([(p.source, p.handle, p.text) for p in sent],
                         [(alice.address, "alice", greeting.encode("cp932"))] +
                         [(hanako.address, "花子", "了解".encode("cp932"))] * 2)
        self.assertEqual(self.packets(capture, SL_MSG), [])

    def test_a_line_that_arrives_on_both_carriers_is_shown_once(self):
        capture = self.lab.capture()
        alice, bob, hanako = self.three_logged_in(register_others=True)
        alice.copies[0].say("二重に届く")
        for host in (bob, hanako):
            host.wait_for_log("alice > 二重に届く")
        self.settle()

        for host in (alice, bob, hanako):
            self.assertLogged(host, "alice > 二重に届く")
        # The one message went out three times: broadcast, then to each registered address.
        sent = self.packets(capture, BC_MSG)
        self.assertEqual([(p.destination, p.port) for p in sent],
                         [("198.18.0.255", 9829), (bob.address, 9828), (hanako.address, 9828)])
        self.assertEqual(len({p.payload for p in sent}), 1)


if __name__ == "__main__":
    unittest.main()
