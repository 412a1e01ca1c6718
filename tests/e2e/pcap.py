"""Reads the UDP datagrams of a classic pcap file (Ethernet, IPv4)."""

import socket
import struct


def read_udp(path):
    data = path.read_bytes()
    if len(data) < 24:
        return []
    magic = struct.unpack_from("<I", data)[0]
    endian = "<" if magic in (0xA1B2C3D4, 0xA1B23C4D) else ">"
    nano = magic in (0xA1B23C4D, 0x4D3CB2A1)
    datagrams, offset = [], 24
    while offset + 16 <= len(data):
        seconds, fraction, captured, _ = struct.unpack_from(endian + "IIII", data, offset)
        frame = data[offset + 16: offset + 16 + captured]
        offset += 16 + captured
        if len(frame) < 14 + 20 + 8 or frame[12:14] != b"\x08\x00":
            continue
        ip = frame[14:]
        header = (ip[0] & 0x0F) * 4
        if ip[9] != 17:
            continue
        total = struct.unpack_from(">H", ip, 2)[0]
        udp = ip[header:total]
        port = struct.unpack_from(">H", udp, 2)[0]
        stamp = seconds + fraction / (1e9 if nano else 1e6)
        datagrams.append((stamp, socket.inet_ntoa(ip[12:16]), socket.inet_ntoa(ip[16:20]), port, udp[8:]))
    return datagrams
