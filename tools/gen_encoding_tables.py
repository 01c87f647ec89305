#!/usr/bin/env python3
"""Generates the character mapping tables of the encoding converters.

Sources on this machine:
  * Python's codecs (CPython's own mapping data) for Shift_JIS, CP932,
    EUC-JP, ISO-2022-JP, Windows-1252 and the ISO 8859 parts;
  * glibc's iconv (called through ctypes) for eucJP-MS, which Python lacks.

Double-byte maps and every map from UCS-2 are sparse (a few thousand codes
spread over 65536), so they are written in a two-level bitmap form: a row per
high byte with a bitmap of its non-empty 16-code blocks and the index of its
first block, a block with a bitmap of its codes and the index of its first
value, and the values in code order. A lookup costs two bit tests and two
population counts, and Shift_JIS to UCS-2 takes about 16 kB instead of 128 kB.
Single-byte decoders are plain 256-entry arrays.

Usage: gen_encoding_tables.py OUTPUT_DIR   (writes one .cpp per table and
EncodingTables.h), or gen_encoding_tables.py --check OUTPUT_DIR (exits 1 when
a committed file differs from what this machine generates).
"""
import codecs
import ctypes
import ctypes.util
import os
import platform
import sys

from generated_files import main

ABSENT = 0xFFFF
BMP = [c for c in range(0x10000) if not 0xD800 <= c <= 0xDFFF]

ISO8859_PARTS = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15]


class Iconv:
    """Minimal ctypes binding of glibc's iconv for one conversion."""

    def __init__(self, to_code, from_code):
        self.libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
        self.libc.iconv_open.restype = ctypes.c_void_p
        self.libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
        self.libc.iconv.restype = ctypes.c_size_t
        self.libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4
        self.libc.iconv_close.argtypes = [ctypes.c_void_p]
        self.handle = self.libc.iconv_open(to_code.encode(), from_code.encode())
        if self.handle in (None, ctypes.c_void_p(-1).value):
            sys.exit("iconv cannot convert %s to %s" % (from_code, to_code))

    def convert(self, data):
        """Answers the converted bytes, or None when iconv rejects the input."""
        self.libc.iconv(self.handle, None, None, None, None)
        inbuf = ctypes.create_string_buffer(data, len(data))
        out = ctypes.create_string_buffer(64)
        inptr = ctypes.c_char_p(ctypes.addressof(inbuf))
        outptr = ctypes.c_char_p(ctypes.addressof(out))
        inleft = ctypes.c_size_t(len(data))
        outleft = ctypes.c_size_t(64)
        r = self.libc.iconv(self.handle, ctypes.byref(inptr), ctypes.byref(inleft),
                            ctypes.byref(outptr), ctypes.byref(outleft))
        if r == ctypes.c_size_t(-1).value or inleft.value:
            return None
        # Flush any shift state; a complete single character must not need it.
        return out.raw[:64 - outleft.value]


def python_decode(codec, code_bytes):
    try:
        text = code_bytes.decode(codec)
    except UnicodeDecodeError:
        return None
    return ord(text) if len(text) == 1 and ord(text) < 0x10000 else None


def python_encode(codec, char):
    try:
        return chr(char).encode(codec)
    except UnicodeEncodeError:
        return None


def double_byte_codes():
    return [(lead << 8) | trail for lead in range(0x80, 0x100) for trail in range(0x40, 0x100)]


def code_bytes(code):
    return bytes([code]) if code < 0x100 else bytes([code >> 8, code & 0xFF])


def decode_map(codec, codes):
    result = {}
    for code in codes:
        value = python_decode(codec, code_bytes(code))
        if value is not None and value != ABSENT:
            result[code] = value
    return result


def encode_map(codec, accept):
    """Maps each BMP character to the code `accept` makes of its bytes."""
    result = {}
    for char in BMP:
        data = python_encode(codec, char)
        if data is None:
            continue
        code = accept(data)
        if code is not None:
            result[char] = code
    return result


def plain_code(data):
    if len(data) == 1:
        return data[0]
    if len(data) == 2:
        return (data[0] << 8) | data[1]
    return None


def cp932_code(data):
    """A code page 932 code as the decoder reads it back: single bytes 80, A0
    and FD-FF start a pair there, so characters the codec writes as those
    bytes (U+0080, U+F8F0-U+F8F3) are left out rather than written as codes
    that would swallow the next byte."""
    if len(data) == 1 and data[0] >= 0x80 and not 0xA1 <= data[0] <= 0xDF:
        return None
    return plain_code(data)


def cp932_encode_map():
    """UCS-2 to code page 932, plus U+2014 EM DASH one way to 81 5C, the
    code page's horizontal bar (U+2015): Japanese prose writes its dashes
    with either, and the codec alone would drop every U+2014. Decoding keeps
    81 5C as U+2015."""
    mapping = encode_map("cp932", cp932_code)
    mapping.setdefault(0x2014, 0x815C)
    return mapping


def jis_code(data):
    """JIS code of one character written by the ISO-2022-JP encoder: a
    two-byte JIS X 0208 code, or a JIS X 0201 Roman byte. Plain ASCII is left
    to the converter."""
    if data.startswith(b"\x1b$B") and data.endswith(b"\x1b(B") and len(data) == 8:
        return (data[3] << 8) | data[4]
    if data.startswith(b"\x1b(J") and data.endswith(b"\x1b(B") and len(data) == 7:
        return data[3]
    return None


def euc_ms_key(data):
    """Key of an eucJP-MS code: two-byte codes as they are; a three-byte SS3
    code 8F XX YY as (XX AND 7F) * 256 + YY, which no two-byte code uses."""
    if len(data) == 3 and data[0] == 0x8F:
        return ((data[1] & 0x7F) << 8) | data[2]
    return plain_code(data)


def euc_ms_maps():
    decoder = Iconv("UCS-2LE", "EUC-JP-MS")
    encoder = Iconv("EUC-JP-MS", "UCS-2LE")
    decoded = {}
    candidates = [bytes([b]) for b in range(0x80)]
    candidates += [bytes([0x8E, b]) for b in range(0xA1, 0xE0)]
    candidates += [bytes([a, b]) for a in range(0xA1, 0xFF) for b in range(0xA1, 0xFF)]
    candidates += [bytes([0x8F, a, b]) for a in range(0xA1, 0xFF) for b in range(0xA1, 0xFF)]
    for data in candidates:
        out = decoder.convert(data)
        if out and len(out) == 2:
            value = out[0] | (out[1] << 8)
            if value != ABSENT:
                decoded[euc_ms_key(data)] = value
    encoded = {}
    for char in BMP:
        out = encoder.convert(bytes([char & 0xFF, char >> 8]))
        if out:
            encoded[char] = euc_ms_key(out)
    return decoded, encoded


def sparse_table(mapping):
    """Rows, blocks and values of the two-level bitmap form."""
    rows, blocks, values = [], [], []
    for high in range(256):
        row_bits = 0
        first_block = len(blocks)
        for block in range(16):
            base = (high << 8) | (block << 4)
            bits = 0
            for low in range(16):
                if base + low in mapping:
                    bits |= 1 << low
            if bits:
                row_bits |= 1 << block
                blocks.append((bits, len(values)))
                values.extend(mapping[base + low] for low in range(16) if bits >> low & 1)
        rows.append((row_bits, first_block if row_bits else 0))
    return rows, blocks, values


def format_numbers(numbers, per_line=12):
    lines = []
    for i in range(0, len(numbers), per_line):
        lines.append("    " + ", ".join("0x%04X" % n for n in numbers[i:i + per_line]) + ",")
    return "\n".join(lines)


def format_pairs(pairs, per_line=6):
    lines = []
    for i in range(0, len(pairs), per_line):
        lines.append("    " + " ".join("{0x%04X, %d}," % p for p in pairs[i:i + per_line]))
    return "\n".join(lines)


def banner(source):
    return (
        "// Generated by tools/gen_encoding_tables.py from %s.\n"
        "// Do not edit. Regenerate with:\n"
        "//   python3 tools/gen_encoding_tables.py kiln/base/generated\n"
        "// (or the build target regenerate_encoding_tables).\n" % source)


def sparse_source(name, mapping, source):
    rows, blocks, values = sparse_table(mapping)
    return (
        banner(source) +
        '#include "kiln/base/generated/EncodingTables.h"\n\n'
        "namespace KILN::tables {\n\n"
        "namespace {\n\n"
        "const SparseCodeTable::Row rows[256] = {\n%s\n};\n\n"
        "const SparseCodeTable::Block blocks[%d] = {\n%s\n};\n\n"
        "const uint16_t values[%d] = {\n%s\n};\n\n"
        "} // namespace\n\n"
        "const SparseCodeTable %s{rows, blocks, values};\n\n"
        "} // namespace KILN::tables\n"
        % (format_pairs(rows), len(blocks), format_pairs(blocks),
           len(values), format_numbers(values), name))


def flat_source(name, mapping, source):
    values = [mapping.get(b, ABSENT) for b in range(256)]
    return (
        banner(source) +
        '#include "kiln/base/generated/EncodingTables.h"\n\n'
        "namespace KILN::tables {\n\n"
        "const uint16_t %s[256] = {\n%s\n};\n\n"
        "} // namespace KILN::tables\n" % (name, format_numbers(values, 8)))


def python_source(codec):
    return "Python %s codec '%s'" % (platform.python_version(), codec)


def glibc_source(name):
    return "glibc %s iconv '%s'" % (platform.libc_ver()[1], name)


def generate():
    """Answers {file name: text} for every generated file."""
    files = {}
    sparse, flat = [], []

    def add_sparse(name, mapping, source):
        sparse.append(name)
        files[name + ".cpp"] = sparse_source(name, mapping, source)

    def add_flat(name, mapping, source):
        flat.append(name)
        files[name + ".cpp"] = flat_source(name, mapping, source)

    single_and_pairs = list(range(0x80)) + list(range(0xA1, 0xE0)) + double_byte_codes()
    add_sparse("sjisToUcs2", decode_map("shift_jis", single_and_pairs), python_source("shift_jis"))
    add_sparse("ucs2ToSjis", encode_map("shift_jis", plain_code), python_source("shift_jis"))
    add_sparse("cp932ToUcs2", decode_map("cp932", single_and_pairs), python_source("cp932"))
    add_sparse("ucs2ToCp932", cp932_encode_map(), python_source("cp932"))
    add_sparse("ucs2ToEucJp", encode_map("euc_jp", plain_code), python_source("euc_jp"))
    add_sparse("ucs2ToIso2022Jp", encode_map("iso2022_jp", jis_code), python_source("iso2022_jp"))
    euc_ms_decoded, euc_ms_encoded = euc_ms_maps()
    add_sparse("eucJpMsToUcs2", euc_ms_decoded, glibc_source("EUC-JP-MS"))
    add_sparse("ucs2ToEucJpMs", euc_ms_encoded, glibc_source("EUC-JP-MS"))
    add_flat("cp1252ToUcs2", decode_map("cp1252", range(256)), python_source("cp1252"))
    add_sparse("ucs2ToCp1252", encode_map("cp1252", plain_code), python_source("cp1252"))
    for part in ISO8859_PARTS:
        codec = "iso8859_%d" % part
        add_flat("iso8859_%dToUcs2" % part, decode_map(codec, range(256)), python_source(codec))
        add_sparse("ucs2To8859_%d" % part, encode_map(codec, plain_code), python_source(codec))

    declarations = "".join("extern const SparseCodeTable %s;\n" % n for n in sparse)
    declarations += "".join("extern const uint16_t %s[256];\n" % n for n in flat)
    files["EncodingTables.h"] = (
        banner("Python %s codecs and glibc %s iconv"
               % (platform.python_version(), platform.libc_ver()[1])) +
        "#pragma once\n\n"
        "// The mapping tables of the table-driven encoding converters; an absent\n"
        "// code answers 0xFFFF.\n\n"
        '#include "kiln/base/SparseCodeTable.h"\n\n'
        "#include <cstdint>\n\n"
        "namespace KILN::tables {\n\n%s\n} // namespace KILN::tables\n" % declarations)
    return files


if __name__ == "__main__":
    main(__doc__, lambda out_dir: {os.path.join(out_dir, name): text for name, text in generate().items()})
