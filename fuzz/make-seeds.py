#!/usr/bin/env python3
"""Writes the small seed corpora of the fuzz targets (run by hand; the seeds are committed)."""
import os
import struct
import uuid

HERE = os.path.dirname(os.path.abspath(__file__))


def u32(*values):
    return b"".join(struct.pack("<I", v & 0xFFFFFFFF) for v in values)


def f32(*values):
    return b"".join(struct.pack("<f", v) for v in values)


def guid(text):
    return uuid.UUID(text).bytes_le


def frame(tag, payload):
    return u32(tag, len(payload)) + payload


def link(kind, body):
    return u32(kind, len(body)) + body


def call(method, iid, call_id, values):
    return u32(method) + guid(iid) + u32(len(values), call_id) + values


CLASSES = [  # clsid, iid
    ("B2C8CFC9-4568-B37B-84B0-2CB3DE5C60FB", "9EB2B9C8-43CE-48C0-CC43-A698E67D0088"),
    ("6E4843E2-4B0C-D3DC-9CE3-97B253B35161", "8DE722B2-4368-1AD6-94E8-DDB4DA8AB0CE"),
    ("566F7D09-4E9A-0EFF-413F-5BA306E82794", "D5008716-443F-4CBA-1B81-58807EAA4DEE"),
    ("9EF7F1BF-43B9-1B85-0AF7-E0817838CAE2", "D8AC1384-4372-73A9-68B6-7FAD22AB8DAF"),
    ("26781734-418F-9079-56CB-FD8B95CF0DBA", "39570BD6-4501-336D-BB55-9E9AF9904304"),
    ("9C5DCAD3-4499-2FBE-FC18-029B1BEE93F3", "9C5DCAD3-4499-2FBE-FC18-029B9BEE93F3"),
    ("9C5DCAD3-4499-2FBE-FC18-029B1CEE93F3", "9C5DCAD3-4499-2FBE-FC18-029B9CEE93F3"),
    ("D9BF2830-40E6-9A98-ABDA-09B73A0C93F4", "83A4EEDD-4481-F723-FEB3-ADB6C7118386"),
    ("06AF4B20-4AED-8015-D3B9-4EB0432430BE", "893729CB-4C97-5561-6D3F-00AF7EE7FB60"),
    ("40C268CA-42DD-E04E-BE40-F2A362A7AC8C", "5D2C75DA-4C41-DC83-C5ED-9DB87127DE46"),
    ("F9F1D0FA-4443-B542-4933-E8961BACFEA8", "CA50403F-4720-F212-6F54-0493B1DBEB06"),
]

scene_object = u32(7, 1) + f32(1, 2, 3, 4, 5, 6) + u32(2) + f32(0, 0, 0, 1, 1, 1)
zone = u32(1, 8, 12, 11) + f32(0, 3) + u32(2) + f32(0, 0) + u32(0, 0) + f32(1, 1) + u32(0, 0) \
    + u32(1, 1, 2, 0) + u32(1, 5) + f32(0.5) + u32(0, 1, 0)
portal = u32(1, 2) + f32(0, 0, 1, 1, 3, 0) + u32(0)
voice = u32(1, 0, 1, 64, 1, 0x1001, 0x10002, 1, 0, 1, 0x10000, 0xFFFFFFFF, 0x20000, 0x30000, 4) + b"Rain"

# Arguments of a typical request per (class index, method).
REQUESTS = {
    (1, 1): u32(10) + b"127.0.0.1\0" + u32(12988),
    (1, 4): u32(1, 42),
    (3, 1): u32(1),
    (3, 3): u32(0x100, 2, 0xFFFFFFFD, 44, 5),
    (2, 3): u32(0x20001, 1, 0xFFFD0000),
    (4, 4): u32(5, 1, 3),
    (8, 3): u32(77),
    (9, 6): u32(0x10001, 0xFFFA0000),
    (10, 1): u32(1),
    (10, 3): u32(1) + scene_object + f32(0, 0, 5) + u32(12) + f32(0, 1, 2, 0),
    (10, 4): zone + u32(12),
    (10, 6): portal + u32(4),
    (10, 8): u32(12, 3) + f32(0.5),
}

# Values of a typical answer per (interface index in the proxy target, method).
ANSWERS = {
    (1, 3): u32(0) + b"22.2.1".ljust(255, b"\0"),
    (2, 3): u32(0, 1) + u32(1) + f32(1, 2, 3, 4, 5, 6, 7, 8, 9, 10) + u32(100, 3),
    (2, 4): u32(0, 1, 7) + f32(*range(12)),
    (3, 3): u32(0, 1) + voice,
    (4, 1): u32(0, 2) + u32(1, 2, 1, 1, 0, 4096) + u32(2, 2, 1, 1, 1, 512),
    (5, 7): u32(0, 0xFFFFFFFF),
    (5, 5): u32(0x10000),
}


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    data_frame = frame(0xF0000001, link(0xF0000003, call(1, CLASSES[0][1], 0xF0000000, b"")))
    ping = frame(0xF0000002, u32(1234) + bytes(28))
    write("fuzz_channel_receive", "data", data_frame)
    write("fuzz_channel_receive", "mixed", data_frame + ping + frame(0xF0000003, bytes(32)) + frame(7, b"xyz"))
    write("fuzz_channel_receive", "short-ping", frame(0xF0000002, b"ab") + data_frame)

    for i, (clsid, iid) in enumerate(CLASSES):
        write("fuzz_link_messages", "open-%d" % i, link(0xF0000000, guid(clsid)))
    write("fuzz_link_messages", "status", link(0xE0000000, u32(0x02040000)))
    write("fuzz_link_messages", "close", link(0xF0000002, b""))
    write("fuzz_link_messages", "answer", link(0xF0000003, call(1, CLASSES[0][1], 0xF0000000, u32(0))))
    write("fuzz_link_messages", "oneway", link(0xF0000005, call(3, CLASSES[3][1], 1, REQUESTS[(3, 3)])))

    for (index, method), values in REQUESTS.items():
        write("fuzz_stub_dispatch", "class%d-method%d" % (index, method),
              bytes([index]) + call(method, CLASSES[index][1], 0xF0000000, values))

    for (index, method), values in ANSWERS.items():
        write("fuzz_proxy_answers", "iface%d-method%d" % (index, method), bytes([index, method]) + values)

    # An earlier binary project: settings, no viewer blocks, the nine tab flag pairs.
    # (The XML seed "new-project" is a new project saved by quorvel-cli.)
    magic = b"QUORVEL PROJECT FILE - 4A9AC1F9-41F4-4462-89FC-4A562E336B18"
    legacy = bytes([len(magic)]) + magic + u32(1, 12988) + bytes([3]) + b"a.b" + bytes([2]) + b"fr" + u32(1, 0, 0)
    write("fuzz_project_file", "legacy", legacy + u32(1, 1) + u32(0) * 16)


if __name__ == "__main__":
    main()
