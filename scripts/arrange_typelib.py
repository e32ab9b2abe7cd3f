#!/usr/bin/env python3
"""Gives a widl-built type library the layout the library publishes.

widl adds an interface to the type library the first time anything refers to it, so an
interface used as a return type ahead of its own declaration lands before the types declared
between them; and it invents names ("a", "b", ...) for parameters declared without one. This
rewrites the compiled library (the MSFT format) in place:

  --order NAME,...   puts the type descriptions in exactly this order;
  --unname-values    leaves every retval parameter and the value parameter of every property
                     put unnamed, as automation hosts expect of them.

Every type reference inside the file (GUID and name entries, implemented-interface records,
user-defined type descriptions, base interfaces) follows the moved type descriptions.
"""
import argparse
import struct
import sys

HEADER_SIZE = 0x54
HELPDLL_FLAG = 0x100
TYPEINFO_SIZE = 0x64
SEGMENTS = ("TypeInfoTab", "ImpInfo", "ImpFiles", "RefTab", "GuidHash", "Guid", "NameHash", "Name",
            "String", "Typdesc", "ArrayDesc", "CustData", "CDGuids", "Res0e", "Res0f")
VT_USERDEFINED = 29
TKIND_INTERFACE, TKIND_DISPATCH = 3, 4
INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF = 4, 8
PARAMFLAG_FRETVAL = 8
PARAMETER_INFO_SIZE = 12


class TypeLibrary:
    def __init__(self, data):
        self.data = bytearray(data)
        if self.i32(0) != 0x5446534D:
            raise ValueError("not an MSFT type library")
        self.count = self.i32(0x20)
        offsets_at = HEADER_SIZE + (4 if self.i32(0x14) & HELPDLL_FLAG else 0)
        segments_at = offsets_at + 4 * self.count
        self.segments = {name: (self.i32(segments_at + 16 * i), self.i32(segments_at + 16 * i + 4))
                         for i, name in enumerate(SEGMENTS)}

    def i32(self, at):
        return struct.unpack_from("<i", self.data, at)[0]

    def put32(self, at, value):
        struct.pack_into("<i", self.data, at, value)

    def i16(self, at):
        return struct.unpack_from("<h", self.data, at)[0]

    def typeinfo_at(self, index):
        return self.segments["TypeInfoTab"][0] + TYPEINFO_SIZE * index

    def name_at(self, offset):
        base = self.segments["Name"][0] + offset
        length = self.i32(base + 8) & 0xFF
        return bytes(self.data[base + 12:base + 12 + length]).decode("latin-1")

    def type_names(self):
        return [self.name_at(self.i32(self.typeinfo_at(i) + 0x34)) for i in range(self.count)]

    @staticmethod
    def is_internal(href):
        return href >= 0 and href & 3 == 0

    def reorder(self, wanted):
        names = self.type_names()
        if sorted(names) != sorted(wanted):
            raise ValueError(f"the library holds {names}, the order names {wanted}")
        new_index = {names.index(name): i for i, name in enumerate(wanted)}
        href_map = {old * TYPEINFO_SIZE: new * TYPEINFO_SIZE for old, new in new_index.items()}

        def remap(at):
            href = self.i32(at)
            if self.is_internal(href) and href in href_map:
                self.put32(at, href_map[href])

        # The type descriptions themselves: the record moves, and its kind word carries its index.
        table, _ = self.segments["TypeInfoTab"]
        old_records = [bytes(self.data[table + TYPEINFO_SIZE * i:table + TYPEINFO_SIZE * (i + 1)])
                       for i in range(self.count)]
        for old, new in new_index.items():
            at = self.typeinfo_at(new)
            self.data[at:at + TYPEINFO_SIZE] = old_records[old]
            self.put32(at, (self.i32(at) & 0xFFFF) | (new << 16))
            if self.i32(at) & 0xF in (TKIND_INTERFACE, TKIND_DISPATCH):
                remap(at + 0x54)  # the base interface

        for segment, size, field in (("Guid", 24, 16), ("Name", None, 0), ("RefTab", 16, 0)):
            start, length = self.segments[segment]
            at = 0
            while at < length:
                remap(start + at + field)
                if size:
                    at += size
                else:  # name entries: hreftype, hash link, length word, the characters padded to 4
                    at += 12 + (((self.i32(start + at + 8) & 0xFF) + 3) & ~3)

        start, length = self.segments["Typdesc"]
        for at in range(start, start + length, 8):
            if self.i32(at) & 0xFFFF == VT_USERDEFINED:
                remap(at + 4)

    def unname_values(self):
        for index in range(self.count):
            info = self.typeinfo_at(index)
            functions = self.i32(info + 0x18) & 0xFFFF
            if functions == 0:
                continue
            at = self.i32(info + 4) + 4  # past the total size of the member records
            for _ in range(functions):
                record_size = self.i32(at) & 0xFFFF
                invoke_kind = (self.i32(at + 16) >> 3) & 0xF
                parameters = self.i16(at + 20)
                first = at + record_size - parameters * PARAMETER_INFO_SIZE
                for p in range(parameters):
                    param = first + p * PARAMETER_INFO_SIZE
                    is_retval = self.i32(param + 8) & PARAMFLAG_FRETVAL
                    is_put_value = (invoke_kind in (INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF)
                                    and p == parameters - 1)
                    if is_retval or is_put_value:
                        self.put32(param + 4, -1)
                at += record_size


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("typelib")
    parser.add_argument("--order", help="comma-separated type names in their wanted order")
    parser.add_argument("--unname-values", action="store_true")
    args = parser.parse_args()
    with open(args.typelib, "rb") as f:
        library = TypeLibrary(f.read())
    if args.order:
        library.reorder(args.order.split(","))
    if args.unname_values:
        library.unname_values()
    with open(args.typelib, "wb") as f:
        f.write(library.data)


if __name__ == "__main__":
    try:
        main()
    except (OSError, ValueError) as e:
        sys.exit(f"arrange_typelib: {e}")
