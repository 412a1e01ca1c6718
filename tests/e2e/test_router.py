"""Two offices joined by a router, which no broadcast crosses: only the registered addresses
bring their people together."""

import unittest

from lantest import JOINED, PRESENT, LanTest, notice


class RouterTest(LanTest):
    def test_registered_addresses_reach_the_other_subnet_and_nothing_else_does(self):
        self.lab.add_router("router", [("east", "198.18.1.1"), ("west", "198.18.2.1")])
        east, west = dict(bridge="east", gateway="198.18.1.1"), dict(bridge="west", gateway="198.18.2.1")
        alice = self.add_host("alice", "198.18.1.10", "alice", nOutDomainMode=1,
                              addresses=[("bob", "198.18.2.10")], **east)
        bob = self.add_host("bob", "198.18.2.10", "bob", nOutDomainMode=1,
                            addresses=[("alice", "198.18.1.10")], **west)
        # carol shares bob's bridge but is registered nowhere.
        carol = self.add_host("carol", "198.18.2.11", "carol", **west)
        for host in (alice, bob, carol):
            self.start(host)
        alice.wait_for_log(notice("bob", JOINED))
        bob.wait_for_log(notice("alice", PRESENT))
        bob.wait_for_log(notice("carol", JOINED))
        carol.wait_for_log(notice("bob", PRESENT))

        alice.copies[0].say("東京から hello")
        bob.wait_for_log("alice > 東京から hello")
        bob.copies[0].say("大阪です")
        for host in (alice, carol):
            host.wait_for_log("bob > 大阪です")

        self.assertLogged(bob, "alice > 東京から hello")
        self.assertLogged(alice, "bob > 大阪です")
        self.assertEqual([t for t in carol.log_texts() if "alice" in t], [])
        self.assertEqual([t for t in alice.log_texts() if "carol" in t], [])


if __name__ == "__main__":
    unittest.main()
