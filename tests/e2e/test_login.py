"""Three people log in one after another by typing their handles."""

import unittest

from lantest import CMD_HELLO, RSP_HELLO, LanTest, joined, present
from xwindow import XConnection


class LoginTest(LanTest):
    def test_each_newcomer_is_welcomed_and_learns_who_is_there(self):
        capture = self.lab.capture()
        hosts, handles = [], []
        for name, address, handle in self.PEOPLE:
            host = self.add_host(name, address)
            copy = self.start(host, logs_in=False)
            if not hosts:
                self.assertOrdinaryWindow(copy)
            self.log_in(copy, handle)
            # Everyone who was there before has welcomed the newcomer, and the newcomer knows them.
            for earlier, earlier_handle in zip(hosts, handles):
                earlier.wait_for_log(joined(handle))
                host.wait_for_log(present(earlier_handle))
            hosts.append(host)
            handles.append(handle)
        self.settle()

        expected = {
            "alice": [joined("bob"), joined("花子")],
            "bob": [present("alice"), joined("花子")],
            "hanako": [present("alice"), present("bob")],
        }
        for host in hosts:
            self.assertListed(host, 2)
            # The earlier copies answer a newcomer independently, in no particular order.
            notices = sorted(text for text in host.log_texts() if text.startswith("*** "))
            self.assertEqual(notices, sorted(expected[host.name]), f"notices in the log of {host.name}")

        # On the wire: one announcement each, carrying the handle as typed (two-byte characters
        # included), and exactly one answer from every earlier copy, addressed to the newcomer.
        hellos = self.packets(capture, CMD_HELLO)
        self.assertEqual([(p.source, p.handle) for p in hellos],
                         [(host.address, handle) for host, handle in zip(hosts, handles)])
        answers = sorted((p.source, p.target, p.handle) for p in self.packets(capture, RSP_HELLO))
        alice, bob, hanako = (h.address for h in hosts)
        self.assertEqual(answers, sorted([(alice, bob, "alice"), (alice, hanako, "alice"),
                                          (bob, hanako, "bob")]))

    def assertOrdinaryWindow(self, copy):
        """Task bars and window switchers list the window: a normal top-level window, transient
        for nobody, neither modal nor kept off the task bar or the pager."""
        with XConnection(self.lab.xvfb.display) as x:
            window = int(copy.window())
            self.assertEqual(x.property_values(window, "_NET_WM_WINDOW_TYPE"),
                             [x.intern_atom("_NET_WM_WINDOW_TYPE_NORMAL")])
            self.assertEqual(x.property_values(window, "WM_TRANSIENT_FOR"), [])
            states = x.property_values(window, "_NET_WM_STATE")
            for hidden in ("_NET_WM_STATE_MODAL", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"):
                self.assertNotIn(x.intern_atom(hidden), states, hidden)


if __name__ == "__main__":
    unittest.main()
