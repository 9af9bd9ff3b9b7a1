#!/usr/bin/env python3
"""Writes the seed corpora of the pack, file and replay fuzz targets (small, deterministic inputs)."""
import io
import pathlib
import stat
import struct
import zipfile

here = pathlib.Path(__file__).resolve().parent
TEXT = b"Rolling over the hills of a small world, again and again. " * 20


def entry(name, data, method=zipfile.ZIP_DEFLATED, unix_mode=None, dos_attributes=None):
    info = zipfile.ZipInfo(name, date_time=(2020, 1, 1, 0, 0, 0))
    info.compress_type = method
    if unix_mode is not None:
        info.create_system = 3
        info.external_attr = unix_mode << 16
    else:
        info.create_system = 0
        info.external_attr = dos_attributes if dos_attributes is not None else 0x20
    return info, data


def write_zip(path, entries, zip64=False):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for info, data in entries:
            with archive.open(info, "w", force_zip64=zip64) as out:
                out.write(data)
    path.write_bytes(buffer.getvalue())
    return buffer.getvalue()


def pack_seeds(folder):
    folder.mkdir(parents=True, exist_ok=True)
    write_zip(folder / "game.zip", [
        entry("sounds/", b"", zipfile.ZIP_STORED, unix_mode=stat.S_IFDIR | 0o755),
        entry("textures/", b"", zipfile.ZIP_STORED, dos_attributes=0x10),
        entry("universe.xml", b"<universe><world/></universe>"),
        entry("sounds/laugh.ogg", TEXT),
        entry("Splash.PNG", TEXT[:300], zipfile.ZIP_STORED),
        entry("empty.txt", b""),
    ])
    write_zip(folder / "names.zip", [
        entry("../../ball.png", b"ball"),
        entry("C:\\textures\\wall.png", b"wall", zipfile.ZIP_STORED),
        entry("/abs/x.txt", b"x"),
        entry("a/b\\..\\c.txt", b"c"),
        entry("dup.txt", b"first"),
        entry("DUP.TXT", b"second"),
        entry("locked.txt", b"ro", unix_mode=stat.S_IFREG | 0o444),
    ])
    write_zip(folder / "zip64.zip", [entry("big.txt", TEXT), entry("small.txt", b"s")], zip64=True)
    write_zip(folder / "empty.zip", [])
    # A stored entry whose data no longer matches its checksum.
    data = bytearray(write_zip(folder / "crc.zip", [entry("stored.txt", TEXT[:200], zipfile.ZIP_STORED)]))
    data[40] ^= 0x01
    (folder / "crc.zip").write_bytes(bytes(data))


def file_seeds(folder):
    folder.mkdir(parents=True, exist_ok=True)
    # First byte: number of operation bytes; then the operations; then the content.
    # Operation byte b: kind b % 7 (string, float, int, bytes, rewind, position, huge), argument b // 7.
    def seed(name, operations, content):
        (folder / name).write_bytes(bytes([len(operations)]) + bytes(operations) + content)

    seed("strings", [0, 0, 0, 4, 0], b"AB\0C\0\x80\xff\0")
    seed("numbers", [1, 2, 2, 4, 7 * 5 + 5, 2], struct.pack("<fii", 1.5, -7, 0x12345678))
    seed("bytes", [7 * 3 + 3, 7 * 20 + 3, 6, 4, 7 * 2 + 5, 3], b"0123456789abcdef")
    seed("positions", [5, 7 * 4 + 5, 7 * 30 + 5, 2, 4, 2], b"\1\0\0\0")
    seed("empty", [0, 1, 2, 3, 6], b"")


def replay(steps, version=1, game=b"0.9.0", digest=b"db391f4158145328", world="Meadows".encode(), count=None):
    header = b"RLREPLAY" + struct.pack("<H", version)
    header += bytes([len(game)]) + game + bytes([len(digest)]) + digest + struct.pack("<H", len(world)) + world
    return header + struct.pack("<I", len(steps) if count is None else count) + bytes(steps)


def replay_seeds(folder):
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "journey.replay").write_bytes(replay([2] * 30 + [6] * 30 + [5] * 10 + [16, 0, 9]))
    (folder / "empty.replay").write_bytes(replay([]))
    (folder / "unicode-world.replay").write_bytes(replay([1, 2], world="Gezeitent\u00fcmpel".encode()))
    (folder / "other-version.replay").write_bytes(replay([1], version=2))
    (folder / "huge-count.replay").write_bytes(replay([1], count=0xFFFFFFFF))
    (folder / "unknown-keys.replay").write_bytes(replay([0x80]))
    (folder / "truncated.replay").write_bytes(replay([2] * 8)[:21])


if __name__ == "__main__":
    replay_seeds(here / "replay")
    pack_seeds(here / "pack")
    file_seeds(here / "file")
