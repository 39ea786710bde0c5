#pragma once

#include "profile_encoding.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The settings file as private-profile (INI) text, held whole in memory.
//
// A section starts at a line "[name]" (blanks allowed around the name and before the bracket) and
// runs to the next such line. Inside it, a line "key=value" holds a key: the key is what stands
// before the first "=", without blanks around it. Lines that begin with ";" are comments. Section
// and key names match without regard to case; of several sections or keys of one name the first
// counts. Lines end in CR LF, LF or a lone CR; new lines end in CR LF.
//
// A write changes only the line of its key, or inserts one line, or appends a section at the end;
// every other character of the file stays as it was, and so do its encoding and line ends.
class TProfileDocument {
  public:
    // At most this many characters of a value are read back.
    static constexpr size_t MaxValueLength = 2047;

    TProfileDocument() = default; // the empty file: no sections, UTF-8
    static TProfileDocument Parse(std::string_view bytes);
    std::string Serialize() const;

    TProfileEncoding Encoding() const { return profile_.Encoding; }
    const std::u16string& Text() const { return profile_.Text; }

    // The value of the key as a read yields it: without blanks around it, without one pair of
    // quotation marks (single or double) that enclose all of it, and cut to MaxValueLength
    // characters. No value when the section or the key is missing.
    std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) const;

    // Sets the key to the value: rewrites the key's line in place, or appends the key at the end of
    // its section, or appends the section at the end of the file. Line breaks in the value become
    // blanks and unpaired surrogates U+FFFD, so that a value is always exactly one line. A file in
    // Windows-1251 that can no longer be written so (a character the code page lacks, or bytes
    // that would read as UTF-8) is written in UTF-8 from then on. The names are the program's own:
    // a section name holds no "]" and a key no "=".
    void Write(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  private:
    TDecodedProfile profile_;
};

// What a read yields for the text after "=": trimmed, unquoted, cut.
std::u16string ProfileValueAsRead(std::u16string_view raw);

// The form in which a value is stored: one line, no unpaired surrogates.
std::u16string ProfileValueAsStored(std::u16string_view value);

// Section and key names compare equal when they are equal after mapping the capital Latin,
// Latin-1 and Cyrillic letters to small ones.
bool ProfileNamesEqual(std::u16string_view a, std::u16string_view b);
