"""A copy that crashed leaves nothing behind that keeps the next one from starting."""

import unittest

from lantest import LanTest


class RestartTest(LanTest):
    def test_the_host_of_a_killed_copy_can_start_one_again_at_once(self):
        alice, bob, hanako = self.three_logged_in()
        crashed = hanako.copies[0]
        crashed.process.kill()
        crashed.process.wait()

        copy = self.start(hanako)
        self.assertEqual(len(copy.windows()), 1, "a message box came up instead of a clean start")
        # The new copy holds the single-instance guard and both carriers itself.
        sockets = hanako.exec("ss", "-uanp").stdout + hanako.exec("ss", "-xlp").stdout
        for local in ("0.0.0.0:9829", f"{hanako.address}:9828", "@Korvane"):
            owners = [line for line in sockets.splitlines() if f" {local} " in line]
            self.assertEqual(len(owners), 1, f"{local} in\n{sockets}")
            self.assertIn(f"pid={copy.pid},", owners[0])

        # The others still list the crashed copy, so its successor's announcement is not news;
        # what it says arrives all the same.
        for host in (alice, bob):
            host.wait_for_log(f"Received CMD_HELLO {hanako.address}", count=2)
            host.wait_for_log("Already connected member")
        copy.say("ただいま")
        for host in (alice, bob):
            host.wait_for_log("花子 > ただいま")
        self.assertTrue(copy.alive())


if __name__ == "__main__":
    unittest.main()
