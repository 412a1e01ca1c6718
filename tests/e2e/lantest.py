"""What the scenarios share: a lab of their own per test, copies started and logged in, and
the notices the copies write."""

import unittest

from netlab import Lab, wait_for
from settings_record import tester_settings  # noqa: F401  (scripts/screenshots takes it from here)

OWN_PACKET = "Received Own Message"


JOINED, PRESENT = "がログインしました", "がログインしています"
LEFT, VANISHED = "がログアウトしました", "はログアウトしたかもしれません"


def notice(handle, what):
    return f"*** <<{handle}>> {what} ***"


class LanTest(unittest.TestCase):
    def setUp(self):
        self.lab = Lab()
        self.addCleanup(self.lab.close)

    def add_host(self, name, address, handle=None, bridge="lan", gateway=None, **settings):
        host = self.lab.add_host(name, address, bridge=bridge, gateway=gateway)
        host.write_settings(tester_settings(handle, **settings))
        return host

    def start(self, host, handle=None):
        """Starts a copy, types handle into it unless it logs in by itself, and waits until its
        own announcement has come back: its receive loop and its login are then in place."""
        own_before = host.log_texts().count(OWN_PACKET)
        copy = host.start()
        copy.window()
        if handle:
            copy.log_in(handle)
        host.wait_for_log(OWN_PACKET, count=own_before + 1)
        return copy

    def wait_until_listed(self, host, handle):
        wait_for(lambda: {notice(handle, JOINED), notice(handle, PRESENT)} & set(host.log_texts()),
                 what=f"{host.name} listing {handle}")

    def assertLogged(self, host, text, count=1):
        self.assertEqual(host.log_texts().count(text), count, f"{text!r} in the log of {host.name}")
