#!/usr/bin/env python3
"""Reads the version resource of a PE file (32- or 64-bit) without running it, the way Windows'
GetFileVersionInfo and VerQueryValue see it: the fixed part and the strings of each string table.

  version_resource.py FILE     prints what it read, as JSON

Used by check_module.py and by the release package's checks.
"""
import json
import struct
import sys

RT_VERSION = 16
VS_FIXEDFILEINFO_SIGNATURE = 0xFEEF04BD


class FormatError(ValueError):
    pass


def _sections(data):
    if data[:2] != b"MZ":
        raise FormatError("not a PE file (no MZ header)")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise FormatError("not a PE file (no PE signature)")
    count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + {0x10B: 96, 0x20B: 112}.get(magic, -1)
    if directories < optional:
        raise FormatError(f"unknown optional header magic {magic:#x}")
    resource_rva, resource_size = struct.unpack_from("<II", data, directories + 8 * 2)
    table = optional + optional_size
    sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(count)]
    return resource_rva, resource_size, sections  # each section: virtual size, RVA, raw size, raw offset


def _file_offset(sections, rva):
    for virtual_size, start, raw_size, raw_offset in sections:
        if start <= rva < start + max(virtual_size, raw_size):
            return raw_offset + rva - start
    raise FormatError(f"RVA {rva:#x} lies in no section")


def resource(data, kind, name=None):
    """The bytes of the first resource of a type (and numeric name, when given), any language."""
    root_rva, _, sections = _sections(data)
    if root_rva == 0:
        raise FormatError("the file has no resources")
    root = _file_offset(sections, root_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<12xHH", data, root + directory)
        for i in range(named + numbered):
            ident, target = struct.unpack_from("<II", data, root + directory + 16 + 8 * i)
            yield (None if ident & 0x80000000 else ident), target

    def first_leaf(target):
        while target & 0x80000000:
            target = next(t for _, t in entries(target & 0x7FFFFFFF))
        rva, size = struct.unpack_from("<II", data, root + target)
        offset = _file_offset(sections, rva)
        return bytes(data[offset:offset + size])

    for ident, target in entries(0):
        if ident != kind:
            continue
        for sub_ident, sub_target in entries(target & 0x7FFFFFFF):
            if name is None or sub_ident == name:
                return first_leaf(sub_target)
    raise FormatError(f"no resource of type {kind}" + ("" if name is None else f" and name {name}"))


def _block(data, at):
    """One VS_VERSIONINFO-style block: (length, value length, type, key, value offset, end)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value = (key_end + 2 + 3) & ~3
    return length, value_length, kind, key, value, at + length


def _children(data, start, end):
    at = (start + 3) & ~3
    while at < end:
        block = _block(data, at)
        if block[0] == 0:
            break
        yield block
        at = (block[5] + 3) & ~3


def parse(info):
    """{'fixed': {...}, 'strings': {table key: {name: value}}, 'translations': [(lang, codepage)]}"""
    length, value_length, _, key, value, end = _block(info, 0)
    if key != "VS_VERSION_INFO":
        raise FormatError(f"the version resource starts with {key!r}")
    if value_length < 52:
        raise FormatError("the version resource has no fixed file information")
    fields = struct.unpack_from("<13I", info, value)
    if fields[0] != VS_FIXEDFILEINFO_SIGNATURE:
        raise FormatError(f"bad VS_FIXEDFILEINFO signature {fields[0]:#x}")

    def version(ms, ls):
        return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"

    result = {
        "fixed": {
            "file_version": version(fields[2], fields[3]),
            "product_version": version(fields[4], fields[5]),
            "flags_mask": fields[6], "flags": fields[7], "os": fields[8], "type": fields[9], "subtype": fields[10],
        },
        "strings": {},
        "translations": [],
    }
    for _, _, _, child_key, child_value, child_end in _children(info, value + value_length, end):
        if child_key == "StringFileInfo":
            for _, _, _, table, table_value, table_end in _children(info, child_value, child_end):
                strings = result["strings"].setdefault(table, {})
                for _, chars, _, name, text_at, _ in _children(info, table_value, table_end):
                    text = info[text_at:text_at + 2 * chars].decode("utf-16-le")
                    strings[name] = text.split("\0", 1)[0]
        elif child_key == "VarFileInfo":
            for _, var_length, _, var_key, var_value, _ in _children(info, child_value, child_end):
                if var_key == "Translation":
                    words = struct.unpack_from(f"<{var_length // 2}H", info, var_value)
                    result["translations"] += [(words[i], words[i + 1]) for i in range(0, len(words) - 1, 2)]
    return result


def read(path):
    with open(path, "rb") as f:
        return parse(resource(f.read(), RT_VERSION, 1))


if __name__ == "__main__":
    try:
        print(json.dumps(read(sys.argv[1]), indent=2))
    except (OSError, FormatError, struct.error, IndexError) as e:
        sys.exit(f"version_resource: {e}")
