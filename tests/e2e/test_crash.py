"""A copy that dies without a word is noticed by the others' liveness check (the real
90-second period and 10-second answer window, so this test takes about a hundred seconds)."""

import time
import unittest

from lantest import CMD_HELLO, CMD_HLTHY, RSP_HLTHY, LanTest, joined, vanished


class CrashTest(LanTest):
    def test_a_killed_copy_is_dropped_by_the_liveness_check(self):
        capture = self.lab.capture()
        alice, bob, hanako = self.three_logged_in()
        # The crash comes a moment after the logins, not in the same instant: a check's 90 + 10 s
        # count from its copy's login, and timers of that length may fire half a second late.
        time.sleep(2)
        hanako.copies[0].process.kill()
        hanako.copies[0].process.wait()
        killed = time.monotonic()
        for host in (alice, bob):
            host.wait_for_log(vanished("花子"), timeout=100 - (time.monotonic() - killed))
        self.settle()

        for host, other in ((alice, "bob"), (bob, "alice")):
            self.assertLogged(host, vanished("花子"))
            self.assertLogged(host, vanished(other), count=0)
            self.assertListed(host, 1)
        # Each survivor asked once, 90 s after its login, and the other survivor answered it.
        for host in (alice, bob):
            hello, = self.packets(capture, CMD_HELLO, source=host.address)
            query, = self.packets(capture, CMD_HLTHY, source=host.address)
            self.assertAlmostEqual(query.time - hello.time, 90, delta=1.0)
        answers = {(p.source, p.target) for p in self.packets(capture, RSP_HLTHY)}
        self.assertEqual(answers, {(alice.address, bob.address), (bob.address, alice.address)})

        # The row is gone: coming back, she is welcomed as a newcomer.
        self.start(hanako)
        for host in (alice, bob):
            host.wait_for_log(joined("花子"), count=2)


if __name__ == "__main__":
    unittest.main()
