# SPDX-License-Identifier: MIT
"""Tells the moment a top-level window is mapped on an X display, by listening to the root
window's MapNotify events over the X protocol itself (no toolkit, no polling)."""

import os
import select
import socket
import struct
import time

_MAP_NOTIFY = 19
_SUBSTRUCTURE_NOTIFY = 1 << 19
_CW_EVENT_MASK = 1 << 11


def _read_exact(sock, count):
    data = b""
    while len(data) < count:
        chunk = sock.recv(count - len(data))
        if not chunk:
            raise ConnectionError("the X server closed the connection")
        data += chunk
    return data


class MapWatcher:
    """Connect before starting the program; then wait_for_map() returns when a window is mapped."""

    def __init__(self, display):
        number = display.lstrip(":").split(".")[0]
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(f"/tmp/.X11-unix/X{number}")
        # Little-endian, protocol 11.0, no authorisation (the test server has none).
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        status, _, _, _, extra = struct.unpack("<BBHHH", _read_exact(self.sock, 8))
        setup = _read_exact(self.sock, extra * 4)
        if status != 1:
            raise ConnectionError("the X server refused the connection")
        vendor_length = struct.unpack_from("<H", setup, 16)[0]
        formats = setup[21]
        screen = 32 + (vendor_length + 3) // 4 * 4 + 8 * formats
        root = struct.unpack_from("<I", setup, screen)[0]
        # ChangeWindowAttributes(root, event-mask = SubstructureNotify).
        self.sock.sendall(struct.pack("<BxHIII", 2, 4, root, _CW_EVENT_MASK, _SUBSTRUCTURE_NOTIFY))

    def wait_for_map(self, timeout):
        """(monotonic time the event was read, window id) of the next MapNotify, or None."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.sock], [], [], left)[0]:
                return None
            event = _read_exact(self.sock, 32)
            now = time.monotonic()
            code = event[0] & 0x7F
            if code == 1:  # a reply carries more data after its first 32 bytes
                _read_exact(self.sock, struct.unpack_from("<I", event, 4)[0] * 4)
            elif code == _MAP_NOTIFY:
                window, override_redirect = struct.unpack_from("<IB", event, 8)
                if not override_redirect:
                    return now, window

    def focus_nothing(self):
        """Takes the keyboard focus from every window, as when the user works in another
        program: no window is active, so no caret blinks."""
        # SetInputFocus(revert-to None, focus None, CurrentTime), then a round trip
        # (GetInputFocus) so that the server has done it when this returns.
        self.sock.sendall(struct.pack("<BBHII", 42, 0, 3, 0, 0) + struct.pack("<BxH", 43, 1))
        while True:
            reply = _read_exact(self.sock, 32)
            if reply[0] == 1:
                return
            if reply[0] == 0:
                raise RuntimeError("the X server refused to move the focus")

    def close(self):
        self.sock.close()


if __name__ == "__main__":
    watcher = MapWatcher(os.environ.get("DISPLAY", ":0"))
    print(watcher.wait_for_map(30))
