#pragma once
// Conversion between the program's UTF-8 text and the Shift_JIS (code page 932)
// bytes of every file the system reads or writes.
//
// Guarantees: conversion never fails once the C library can convert code page
// 932 at all; a library without it is a broken installation, and the program
// stops with a line on stderr at the first conversion. A character that code page 932 cannot
// hold is written as "?"; a byte sequence that is not valid code page 932 is
// read as U+FFFD. Byte counts of the Shift_JIS form (field widths, the 40-byte
// title) are taken with ShiftJisLength().

#include <cstddef>
#include <string>
#include <string_view>

namespace ormavex {

/// True when every byte is below 0x80: such a text is the same in UTF-8 and
/// in Shift_JIS.
bool IsAscii(std::string_view s) noexcept;

/// UTF-8 text -> Shift_JIS bytes.
std::string ToShiftJis(std::string_view utf8);

/// Appends the Shift_JIS bytes of a UTF-8 text to `out`.
void AppendShiftJis(std::string& out, std::string_view utf8);

/// Shift_JIS bytes -> UTF-8 text.
std::string FromShiftJis(std::string_view sjis);

/// Number of bytes of the Shift_JIS form of a UTF-8 text.
std::size_t ShiftJisLength(std::string_view utf8);

/// Bytes of the UTF-8 sequence that byte `b` starts; 1 for a stray
/// continuation byte.
constexpr std::size_t Utf8SequenceLength(unsigned char b) noexcept {
    return b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
}

/// True for a byte that starts a double-byte Shift_JIS character.
constexpr bool IsShiftJisLeadByte(unsigned char b) noexcept {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

/// True for a byte that can end a double-byte Shift_JIS character.
constexpr bool IsShiftJisTrailByte(unsigned char b) noexcept {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

/// Byte offset of character number `chars` (0-based) of a Shift_JIS string, a
/// double-byte character counting as one; the string's length when it is
/// shorter.
std::size_t ShiftJisCharOffset(std::string_view sjis, std::size_t chars) noexcept;

/// The length of the longest start of a Shift_JIS string that has at most
/// `bytes` bytes and does not split a double-byte character.
std::size_t ShiftJisCutLength(std::string_view sjis, std::size_t bytes) noexcept;

/// The first `bytes` bytes of the Shift_JIS form of a UTF-8 text, never
/// splitting a double-byte character (the result may be one byte shorter).
std::string CutToShiftJisBytes(std::string_view utf8, std::size_t bytes);

} // namespace ormavex
