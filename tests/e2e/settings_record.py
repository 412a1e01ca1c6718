"""The 7,172-byte settings record ("TOOLBOX"), written byte for byte as the program reads it."""

import struct

_INT_FIELDS = {"nIconAction": 0, "bAutoLogin": 168, "nLogMode": 204, "crText": 544, "crBack": 548,
               "nOutDomainMode": 552, "bShowSysMsg": 7160, "bAutoWrap": 7164, "bEcho": 7168}
_TEXT_FIELDS = {"szDefaultName": (172, 32), "szLogFile": (208, 300)}


def tester_settings(handle=None, addresses=(), **fields):
    """What every copy under test starts from: readable colours, system messages shown, the
    chat log on, and an automatic login when a handle is given. fields: the record's own names
    (nOutDomainMode=1, ...); addresses: the registered (name, address) pairs."""
    fields = {"crText": 0x000000, "crBack": 0xFFFFFF, "bShowSysMsg": 1, "nLogMode": 1, "szLogFile": "chat.log",
              **({"bAutoLogin": 1, "szDefaultName": handle} if handle is not None else {}), **fields}
    record = bytearray(7172)

    def put_text(offset, width, text):
        data = text.encode("cp932")[:width - 1]  # zero-terminated
        record[offset:offset + len(data)] = data

    for name, value in fields.items():
        if name in _TEXT_FIELDS:
            put_text(*_TEXT_FIELDS[name], value)
        else:
            struct.pack_into("<I" if name.startswith("cr") else "<i", record, _INT_FIELDS[name], value)
    for i, (name, address) in enumerate(addresses):
        put_text(560 + 50 * i, 50, name)
        put_text(5560 + 16 * i, 16, address)
    struct.pack_into("<i", record, 556, len(addresses))  # nAddrCount
    return bytes(record)
