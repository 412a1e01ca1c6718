"""The 7,172-byte settings record ("TOOLBOX"), written byte for byte as the program reads it."""

import struct

RECORD_SIZE = 7172
_INT_FIELDS = {
    "nIconAction": 0, "bIconizeAtStart": 164, "bAutoLogin": 168, "nLogMode": 204,
    "bLogSizeLimit": 508, "crText": 544, "crBack": 548, "nOutDomainMode": 552,
    "nAddrCount": 556, "bShowSysMsg": 7160, "bAutoWrap": 7164, "bEcho": 7168,
}
_TEXT_FIELDS = {"szDefaultName": (172, 32), "szLogFile": (208, 300), "szLogSizeKB": (512, 32)}


def _put_text(record, offset, width, text):
    data = text.encode("cp932")
    if len(data) >= width:
        raise ValueError(f"{text!r} does not fit in {width} bytes")
    record[offset:offset + len(data)] = data


def settings_record(phrases=(), addresses=(), **fields):
    """fields: the record's own names (bAutoLogin=1, szDefaultName="太郎", ...);
    phrases: up to five fixed phrases; addresses: (name, address) pairs, nAddrCount follows."""
    record = bytearray(RECORD_SIZE)
    for name, value in fields.items():
        if name in _INT_FIELDS:
            struct.pack_into("<I" if name.startswith("cr") else "<i", record, _INT_FIELDS[name], value)
        else:
            _put_text(record, *_TEXT_FIELDS[name], value)
    for i, phrase in enumerate(phrases):
        _put_text(record, 4 + 32 * i, 32, phrase)
    for i, (name, address) in enumerate(addresses):
        _put_text(record, 560 + 50 * i, 50, name)
        _put_text(record, 5560 + 16 * i, 16, address)
    if addresses and "nAddrCount" not in fields:
        struct.pack_into("<i", record, 556, len(addresses))
    return bytes(record)


def tester_settings(handle=None, **fields):
    """What every copy under test starts from: readable colours, system messages shown, the
    chat log on, and an automatic login when a handle is given."""
    base = dict(crText=0x000000, crBack=0xFFFFFF, bShowSysMsg=1, nLogMode=1, szLogFile="chat.log")
    if handle is not None:
        base.update(bAutoLogin=1, szDefaultName=handle)
    base.update(fields)
    return settings_record(**base)
