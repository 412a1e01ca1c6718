"""Two offices joined by a router, which no broadcast crosses: only the registered addresses
(datagrams to port 9828) bring their people together."""

import unittest

from lantest import LanTest, joined, present

ALICE, BOB = "198.18.1.10", "198.18.2.10"
UNICAST_PORT = 9828


class OutOfDomainTest(LanTest):
    def two_offices(self, register):
        self.lab.add_router("router", [("east", "198.18.1.1"), ("west", "198.18.2.1")])
        wires = self.lab.capture("east"), self.lab.capture("west")
        alice = self.add_host("alice", ALICE, "alice", bridge="east", gateway="198.18.1.1",
                              nOutDomainMode=1, addresses=[("bob", BOB)] if register else [])
        bob = self.add_host("bob", BOB, "bob", bridge="west", gateway="198.18.2.1",
                            nOutDomainMode=1, addresses=[("alice", ALICE)] if register else [])
        return alice, bob, wires

    def test_registered_addresses_log_in_and_chat_across_the_router(self):
        alice, bob, (east, west) = self.two_offices(register=True)
        self.start(alice)
        self.start(bob)
        alice.wait_for_log(joined("bob"))
        bob.wait_for_log(present("alice"))
        alice.copies[0].say("東京から、こんにちは")
        bob.wait_for_log("alice > 東京から、こんにちは")
        bob.copies[0].say("大阪です")
        alice.wait_for_log("bob > 大阪です")
        self.settle()

        self.assertLogged(bob, "alice > 東京から、こんにちは")
        self.assertLogged(alice, "bob > 大阪です")
        # What crossed the router is unicast to port 9828 and nothing else, in both directions.
        for wire, stranger, local in ((west, ALICE, BOB), (east, BOB, ALICE)):
            crossed = [p for p in self.packets(wire) if p.source == stranger]
            self.assertTrue(crossed)
            self.assertEqual({(p.destination, p.port) for p in crossed}, {(local, UNICAST_PORT)})

    def test_without_registered_addresses_the_offices_stay_apart(self):
        alice, bob, (east, west) = self.two_offices(register=False)
        self.start(alice)
        self.start(bob)
        alice.copies[0].say("誰かいますか")
        alice.wait_for_log("alice > 誰かいますか")
        self.settle()

        for host in (alice, bob):
            self.assertEqual([t for t in host.log_texts() if t.startswith("*** ")], [],
                             f"notices in the log of {host.name}")
        self.assertFalse([t for t in bob.log_texts() if "誰かいますか" in t])
        self.assertTrue(self.packets(east, source=ALICE), "alice sent nothing at all")
        self.assertEqual(self.packets(west, source=ALICE), [])
        self.assertEqual(self.packets(east, source=BOB), [])


if __name__ == "__main__":
    unittest.main()
