"""The few X11 requests xdotool lacks, spoken directly over the display's Unix socket: a
window's properties, and closing it as a window manager's close box does (WM_DELETE_WINDOW).
Xvfb runs without authorisation, so the handshake carries none."""

import socket
import struct


class XConnection(socket.socket):
    """Closed at the end of a with block, as any socket."""

    def __init__(self, display):
        super().__init__(socket.AF_UNIX, socket.SOCK_STREAM)
        self.settimeout(5)
        self.connect(f"/tmp/.X11-unix/X{display.lstrip(':').split('.')[0]}")
        self._read = self.makefile("rb").read  # reads all it is asked for
        self.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self._read(8)
        if head[0] != 1:
            raise OSError("the X server refused the connection")
        self._read(struct.unpack_from("<H", head, 6)[0] * 4)

    def _reply(self):
        head = self._read(32)
        if head[0] == 0:
            raise OSError(f"X error {head[1]}")
        if head[0] != 1:  # an event, sent unasked (MappingNotify): not the reply
            return self._reply()
        return head + self._read(struct.unpack_from("<I", head, 4)[0] * 4)

    def intern_atom(self, name):
        data = name.encode()
        padded = data + b"\0" * (-len(data) % 4)
        self.sendall(struct.pack("<BBHHxx", 16, 0, 2 + len(padded) // 4, len(data)) + padded)
        return struct.unpack_from("<I", self._reply(), 8)[0]

    def property_values(self, window, name):
        """The 32-bit values (atoms, window ids) of a window's property; [] when it has none."""
        self.sendall(struct.pack("<BBHIIIII", 20, 0, 6, window, self.intern_atom(name), 0, 0, 64))
        reply = self._reply()
        if reply[1] != 32:
            return []
        return list(struct.unpack_from(f"<{struct.unpack_from('<I', reply, 16)[0]}I", reply, 32))

    def close_window(self, window):
        protocols, delete = self.intern_atom("WM_PROTOCOLS"), self.intern_atom("WM_DELETE_WINDOW")
        event = struct.pack("<BBHII5I", 33, 32, 0, window, protocols, delete, 0, 0, 0, 0)
        self.sendall(struct.pack("<BBHII", 25, 0, 11, window, 0) + event)
        self.sendall(struct.pack("<BxH", 43, 1))  # GetInputFocus: a round trip
        self._reply()
