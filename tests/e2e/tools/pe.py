"""Reads a Windows exe (PE) file: its data directories and the file offsets of their addresses."""
import struct


class Image:
    """A PE file's bytes, with `plus` true for a 64-bit (PE32+) image."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        sections = struct.unpack_from("<H", data, pe + 6)[0]
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        self.plus = struct.unpack_from("<H", data, optional)[0] == 0x20B
        self._directories = optional + (112 if self.plus else 96)
        table = optional + optional_size
        self._spans = [struct.unpack_from("<IIII", data, table + 40 * i + 8)
                       for i in range(sections)]

    def directory(self, index):
        """The address (RVA) and size of data directory `index` (1 imports, 2 resources)."""
        return struct.unpack_from("<II", self.data, self._directories + 8 * index)

    def offset(self, rva):
        """The file offset of an address; ValueError when no section holds it."""
        for size, address, raw_size, raw in self._spans:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError("RVA %x lies in no section" % rva)

    def resource(self, type_id, name_id):
        """The bytes of resource `name_id` of type `type_id`, in its first language; None when
        the exe has none."""
        rva, size = self.directory(2)
        if size == 0:
            return None
        base = self.offset(rva)

        def entry(table, wanted):  # the offset that the entry with ID `wanted` points at
            named, numbered = struct.unpack_from("<HH", self.data, table + 12)
            for i in range(named + numbered):
                ident, target = struct.unpack_from("<II", self.data, table + 16 + 8 * i)
                if wanted is None or ident == wanted:
                    return target
            return None

        table = base
        for wanted in (type_id, name_id):
            target = entry(table, wanted)
            if target is None or not target & 0x80000000:  # not a further table
                return None
            table = base + (target & 0x7FFFFFFF)
        target = entry(table, None)
        if target is None or target & 0x80000000:
            return None
        data_rva, data_size = struct.unpack_from("<II", self.data, base + target)
        at = self.offset(data_rva)
        return self.data[at:at + data_size]
