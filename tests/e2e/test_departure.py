"""Closing the window says goodbye."""

import unittest

from lantest import CMD_BYE, LanTest, joined, left
from netlab import wait_for


class DepartureTest(LanTest):
    def test_closing_the_window_announces_the_departure(self):
        capture = self.lab.capture()
        alice, bob, hanako = self.three_logged_in()
        copy = hanako.copies[0]
        copy.close_window()
        wait_for(lambda: not copy.alive(), what="hanako's copy to end")
        self.assertEqual(copy.process.returncode, 0)
        for host in (alice, bob):
            host.wait_for_log(left("花子"))
        self.settle()

        # The window, the application and the window object each announce it once.
        self.assertEqual([p.source for p in self.packets(capture, CMD_BYE)], [hanako.address] * 3)
        for host in (alice, bob):
            self.assertListed(host, 1)
            self.assertLogged(host, left("花子"))
            self.assertLogged(host, "Already disconnect member", count=2)
        self.assertLogged(hanako, "Already Mailslot was closed")

        # Nobody lists her any more: coming back, she is welcomed as a newcomer.
        self.start(hanako)
        for host in (alice, bob):
            host.wait_for_log(joined("花子"), count=2)


if __name__ == "__main__":
    unittest.main()
