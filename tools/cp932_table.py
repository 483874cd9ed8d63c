#!/usr/bin/env python3
"""Writes the code page 932 table the core's conversion is checked against,
as glibc's iconv(3) converts "CP932" (through ctypes, so exactly the library
the Linux build uses):

    python3 tools/cp932_table.py > tests/core/text/cp932-table.txt

With --cpp it writes the reading half as the C++ table the Linux build reads
code page 932 with (no iconv module to load for reading):

    python3 tools/cp932_table.py --cpp > src/core/platform/Cp932ReadTable.h

Lines of the table (after the comment lines starting with '#'):
  SB <128 characters>   the bytes 0x80..0xFF read one by one
  81 <188 characters>   the lead byte 0x81 followed by each trail byte
                        0x40..0xFC (0x7F included), and so on for every lead
                        byte; U+FFFD where the bytes are not a character
  RT <bytes> <bytes>    a character read from the first bytes is written
                        back as the second (code page 932 holds some
                        characters twice)
  WO <code point> <bytes>  a character that is written as these bytes but is
                        never read from any (a one-way mapping)
"""
import ctypes
import ctypes.util
import sys

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p),
                       ctypes.POINTER(ctypes.c_size_t), ctypes.POINTER(ctypes.c_char_p),
                       ctypes.POINTER(ctypes.c_size_t)]


def converter(to, frm):
    cd = libc.iconv_open(to.encode(), frm.encode())

    def convert(data):
        libc.iconv(cd, None, None, None, None)
        src = ctypes.create_string_buffer(data, len(data))
        out = ctypes.create_string_buffer(64)
        sp = ctypes.c_char_p(ctypes.addressof(src))
        dp = ctypes.c_char_p(ctypes.addressof(out))
        sl = ctypes.c_size_t(len(data))
        dl = ctypes.c_size_t(64)
        r = libc.iconv(cd, ctypes.byref(sp), ctypes.byref(sl), ctypes.byref(dp), ctypes.byref(dl))
        if r == ctypes.c_size_t(-1).value or sl.value != 0:
            return None
        return out.raw[:64 - dl.value]
    return convert


read = converter("UTF-8", "CP932")
write = converter("CP932", "UTF-8")
BAD = "\ufffd"


def char(data):
    u = read(data)
    if u is None:
        return BAD
    s = u.decode("utf-8")
    assert len(s) == 1 and s != BAD, (data, s)
    return s


leads = [b for b in range(0x81, 0x100) if 0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC]


def literal(chars):
    """A UTF-16 string literal of `chars`, every character escaped."""
    chars = "".join(chars)
    assert all(ord(c) < 0x10000 for c in chars)
    # \u may not name a basic character; every escape is followed by
    # another or by the closing quote, so no hex escape runs on.
    return 'u"' + "".join(("\\u%04X" if ord(c) >= 0xA0 else "\\x%02X") % ord(c) for c in chars) + '"'


if sys.argv[1:] == ["--cpp"]:
    print("#pragma once")
    print("// Code page 932 as glibc's iconv reads it, written by")
    print("//   python3 tools/cp932_table.py --cpp > src/core/platform/Cp932ReadTable.h")
    print("// U+FFFD where the bytes are not a character. Not to be edited by hand.")
    print("")
    print("namespace ormavex::platform::cp932 {")
    print("")
    print("// clang-format off")
    print("/// The bytes 0x80..0xFF read one by one.")
    print("inline constexpr char16_t kSingle[129] =")
    print("    " + literal(char(bytes([b])) for b in range(0x80, 0x100)) + ";")
    print("/// Each lead byte (0x81..0x9F, then 0xE0..0xFC) with the trail bytes 0x40..0xFC.")
    print("inline constexpr char16_t kPairs[%d][190] = {" % len(leads))
    for lead in leads:
        print("    " + literal(char(bytes([lead, t])) for t in range(0x40, 0xFD)) + ", // %02X" % lead)
    print("};")
    print("// clang-format on")
    print("")
    print("} // namespace ormavex::platform::cp932")
    sys.exit(0)

print("# Code page 932 as glibc's iconv converts it; regenerate with")
print("#   python3 tools/cp932_table.py > tests/core/text/cp932-table.txt")
print("# (the format is described at the top of that script).")
decoded = {}
singles = "".join(char(bytes([b])) for b in range(0x80, 0x100))
for b, s in zip(range(0x80, 0x100), singles):
    if s != BAD:
        decoded[bytes([b])] = s
print("SB " + singles)
for lead in leads:
    row = ""
    for trail in range(0x40, 0xFD):
        s = char(bytes([lead, trail]))
        row += s
        if s != BAD:
            decoded[bytes([lead, trail])] = s
    print("%02X %s" % (lead, row))
seen = set(decoded.values())
for data, s in decoded.items():
    back = write(s.encode("utf-8"))
    if back != data:
        print("RT %s %s" % (data.hex().upper(), back.hex().upper() if back else "-"))
for cp in range(0x80, 0x110000):
    if 0xD800 <= cp <= 0xDFFF or chr(cp) in seen:
        continue
    back = write(chr(cp).encode("utf-8"))
    if back is not None:
        print("WO %04X %s" % (cp, back.hex().upper()))
