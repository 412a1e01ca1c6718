"""What the scenarios share: a lab of their own per test, copies started one after another
and logged in, the texts the copies write, and the lab's logs and packets printed when a
test fails."""

import atexit
import sys
import time
import unittest

from netlab import Lab, wait_for
from settings_record import tester_settings

OWN_PACKET = "Received Own Message"
LOGGED_OUT = "*** ログアウトしました ***"

# Code of each packet kind, bytes 4-7.
CMD_HELLO, RSP_HELLO, CMD_BYE, SL_MSG = b"0010", b"0011", b"0020", b"0030"
BC_MSG, REQ_OUT, CMD_HLTHY, RSP_HLTHY = b"0040", b"0050", b"0060", b"0061"


def joined(handle):
    return f"*** <<{handle}>> がログインしました ***"


def present(handle):
    return f"*** <<{handle}>> がログインしています ***"


def left(handle):
    return f"*** <<{handle}>> がログアウトしました ***"


def vanished(handle):
    return f"*** <<{handle}>> はログアウトしたかもしれません ***"


def field(payload, start, end):
    """A zero-padded text field of a packet."""
    return payload[start:end].split(b"\0")[0].decode("cp932")


class Packet:
    """A datagram seen on a bridge, with the fields the scenarios look at."""

    def __init__(self, datagram):
        self.time, self.source, self.destination, self.port, self.payload = datagram
        self.code = self.payload[4:8]
        self.address = field(self.payload, 8, 24)
        self.target = field(self.payload, 24, 40)
        # An announcement has no target: its handle comes straight after the address.
        self.handle = field(self.payload, 24, 74) if self.code == CMD_HELLO else field(self.payload, 40, 90)
        self.text = self.payload[90:].split(b"\r")[0]


class LanTest(unittest.TestCase):
    # The fixture's people: host name, address, handle (one handle needs two bytes a character).
    PEOPLE = (("alice", "198.18.0.10", "alice"), ("bob", "198.18.0.11", "bob"),
              ("hanako", "198.18.0.12", "花子"))

    def setUp(self):
        self.lab = Lab()
        self.addCleanup(self.lab.close)
        atexit.register(self.lab.close)  # also when the run is interrupted

    def run(self, result=None):
        result = result if result is not None else self.defaultTestResult()
        before = len(result.failures) + len(result.errors)
        outcome = super().run(result)
        lab = getattr(self, "lab", None)
        if lab is not None and len(result.failures) + len(result.errors) > before:
            print(f"\n===== what the lab saw in {self.id()}\n{lab.summary}", file=sys.stderr)
        return outcome

    def add_host(self, name, address, handle=None, bridge="lan", gateway=None, **settings):
        host = self.lab.add_host(name, address, bridge=bridge, gateway=gateway)
        host.write_settings(tester_settings(handle, **settings))
        return host

    def start(self, host, logs_in=True):
        """Starts a copy and waits for its window; when it logs in at start, also until its own
        announcement has come back, so that its receive loop and its login are in place."""
        own_before = host.count_in_log(OWN_PACKET)
        copy = host.start()
        copy.window()
        if logs_in:
            host.wait_for_log(OWN_PACKET, count=own_before + 1)
        return copy

    def log_in(self, copy, handle):
        host = copy.host
        own_before = host.count_in_log(OWN_PACKET)
        copy.log_in(handle)
        host.wait_for_log(OWN_PACKET, count=own_before + 1)

    def three_logged_in(self, register_others=False):
        """alice, bob and hanako, logged in one after another, each listing the other two;
        with register_others, each also has the other two as out-of-domain addresses."""
        def settings(name):
            if not register_others:
                return {}
            return dict(nOutDomainMode=1, addresses=[(n, a) for n, a, _ in self.PEOPLE if n != name])
        hosts = [self.add_host(*person, **settings(person[0])) for person in self.PEOPLE]
        for host in hosts:
            self.start(host)
        for host, (_, _, handle) in zip(hosts, self.PEOPLE):
            for other in hosts:
                if other is not host:
                    wait_for(lambda: joined(handle) in other.log_texts() or present(handle) in other.log_texts(),
                             what=f"{other.name} listing {handle}")
        return hosts

    @staticmethod
    def packets(capture, code=None, source=None):
        found = [Packet(d) for d in capture.datagrams()]
        return [p for p in found if (code is None or p.code == code) and (source is None or p.source == source)]

    @staticmethod
    def settle():
        """Gives a late or repeated packet five of the receiver's polling periods to show up."""
        time.sleep(0.5)

    def assertListed(self, host, count):
        """The member list on host's screen shows count rows (once the window has repainted)."""
        copy = host.copies[-1]
        try:
            wait_for(lambda: copy.listed_members() == count, timeout=5)
        except AssertionError:
            self.fail(f"the screen of {host.name} lists {copy.listed_members()} members, not {count}")

    def assertLogged(self, host, text, count=1):
        self.assertEqual(host.count_in_log(text), count, f"{text!r} in the log of {host.name}")
