"""Sets the creation and last-save times of a Windows Installer package's summary information.

    python3 summary_times.py PACKAGE.msi UNIX_TIME

wixl writes the time of the build there, and no msitools command changes them: this rewrites
the two values in place, in the package's compound file, so that the same sources give the same
package bytes. Nothing else in the file changes. Exits with 1 when the file is not what it expects.
"""
import struct
import sys

STREAM = "\x05SummaryInformation"
CREATE_DTM, LASTSAVE_DTM = 12, 13
VT_FILETIME = 64
FREE, END_OF_CHAIN = 0xFFFFFFFF, 0xFFFFFFFE
FILETIME_UNIX_EPOCH = 11644473600  # seconds from 1601-01-01 to 1970-01-01


def fail(message):
    sys.exit(f"summary_times: {message}")


class CompoundFile:
    def __init__(self, data):
        if data[:8] != b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1":
            fail("not a compound file")
        self.data = data
        self.sector_size = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini_size = 1 << struct.unpack_from("<H", data, 0x20)[0]
        self.mini_cutoff = struct.unpack_from("<I", data, 0x38)[0]
        fat_count, dir_start = struct.unpack_from("<II", data, 0x2C)
        mini_fat_start = struct.unpack_from("<I", data, 0x3C)[0]
        difat_start = struct.unpack_from("<I", data, 0x44)[0]
        if fat_count > 109 or difat_start not in (FREE, END_OF_CHAIN):
            fail("more FAT sectors than the header lists")
        fat_sectors = struct.unpack_from(f"<{fat_count}I", data, 0x4C)
        self.fat = b"".join(self.sector(s) for s in fat_sectors)
        self.mini_fat = b"".join(self.sector(s) for s in self.chain(mini_fat_start))
        self.directory = b"".join(self.sector(s) for s in self.chain(dir_start))

    def offset(self, sector):
        return (sector + 1) * self.sector_size

    def sector(self, sector):
        start = self.offset(sector)
        return self.data[start:start + self.sector_size]

    def chain(self, start, table=None):
        table = self.fat if table is None else table
        sectors, seen = [], set()
        while start != END_OF_CHAIN:
            if start in seen or 4 * start + 4 > len(table):
                fail("a broken sector chain")
            seen.add(start)
            sectors.append(start)
            start = struct.unpack_from("<I", table, 4 * start)[0]
        return sectors

    def entry(self, name):
        for at in range(0, len(self.directory), 128):
            length = struct.unpack_from("<H", self.directory, at + 0x40)[0]
            if length >= 2 and self.directory[at:at + length - 2].decode("utf-16-le") == name:
                start, size = struct.unpack_from("<II", self.directory, at + 0x74)
                return start, size
        fail(f"no stream {name!r}")

    def stream_offsets(self, name):
        """The file offset of each byte of a stream, in order."""
        start, size = self.entry(name)
        if size >= self.mini_cutoff:
            return [self.offset(s) + i for s in self.chain(start) for i in range(self.sector_size)][:size]
        root_start = struct.unpack_from("<I", self.directory, 0x74)[0]
        mini_stream = [self.offset(s) + i for s in self.chain(root_start) for i in range(self.sector_size)]
        return [mini_stream[m * self.mini_size + i]
                for m in self.chain(start, self.mini_fat) for i in range(self.mini_size)][:size]


def set_times(data, unix_time):
    where = CompoundFile(data).stream_offsets(STREAM)
    stream = bytes(data[o] for o in where)
    section = struct.unpack_from("<I", stream, 0x2C)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    value = struct.pack("<Q", (unix_time + FILETIME_UNIX_EPOCH) * 10**7)
    found = 0
    for i in range(count):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        if pid in (CREATE_DTM, LASTSAVE_DTM):
            at += section
            if struct.unpack_from("<I", stream, at)[0] != VT_FILETIME:
                fail(f"property {pid} is not a time")
            for k, byte in enumerate(value):
                data[where[at + 4 + k]] = byte
            found += 1
    if found != 2:
        fail("the summary information has no creation or save time")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    path, unix_time = sys.argv[1], int(sys.argv[2])
    with open(path, "rb") as f:
        data = bytearray(f.read())
    set_times(data, unix_time)
    with open(path, "wb") as f:
        f.write(data)


main()
