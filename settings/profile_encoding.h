#pragma once

#include "utf8_text.h"

#include <optional>
#include <string>
#include <string_view>

// Character encodings of the settings file. The file is worked on as UTF-16 text and written back
// in the encoding it was read in, so that whatever the program does not change keeps its bytes.

enum class TProfileEncoding {
    Utf8,        // also a new or empty file, and any file of plain ASCII
    Utf8Bom,     // UTF-8 after the bytes EF BB BF, which are kept
    Utf16Le,     // after the byte-order mark FF FE, which is kept
    Windows1251, // a file that is not valid UTF-8: the 8-bit Russian code page
};

struct TDecodedProfile {
    TProfileEncoding Encoding = TProfileEncoding::Utf8;
    std::u16string Text; // without the byte-order mark
    std::string Tail;    // an odd last byte of a UTF-16LE file, kept as it was
};

// Never fails: every byte sequence has exactly one reading, and encoding that reading again in
// the detected encoding gives back the same bytes.
TDecodedProfile DecodeProfile(std::string_view bytes);

// The bytes of a file: byte-order mark, text, tail. Unpaired surrogates become U+FFFD in UTF-8;
// characters that Windows-1251 lacks become "?" (callers avoid this, see EncodeWindows1251).
std::string EncodeProfile(const TDecodedProfile& profile);

// Windows-1251 bytes of the text, or no value when a character has no place in the code page.
// The byte 0x98, which the code page leaves unassigned, stands for U+0098 both ways.
std::optional<std::string> EncodeWindows1251(std::u16string_view text);
char16_t Windows1251ToUnicode(unsigned char byte);
