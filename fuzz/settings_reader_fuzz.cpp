// libFuzzer target for the settings file: any bytes as the content of "стелворн.ini", and writes
// into it.
//
// Checks, beyond "no crash, no hang, no sanitizer report":
// - an untouched file gives back exactly its bytes;
// - every read of the program's keys keeps to the read rules (at most 2047 characters);
// - after one write, or the sixteen writes of a close, the file reads back the written values,
//   and every other key of the program reads as before.
#include "profile_document.h"
#include "profile_values.h"
#include "settings_keys.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::u16string_view, SettingsKey::All.size()> Keys = [] {
    std::array<std::u16string_view, SettingsKey::All.size()> names;
    for (size_t i = 0; i < names.size(); ++i)
        names[i] = SettingsKey::All[i].Name;
    return names;
}();

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "settings fuzz: %s\n", what);
        std::abort();
    }
}

std::array<std::optional<std::u16string>, Keys.size()> ReadAll(const TProfileDocument& document) {
    std::array<std::optional<std::u16string>, Keys.size()> values;
    for (size_t i = 0; i < Keys.size(); ++i) {
        values[i] = document.Read(SettingsSection, Keys[i]);
        if (values[i]) {
            Check(values[i]->size() <= TProfileDocument::MaxValueLength, "value longer than 2047");
            (void)ParseProfileInteger(*values[i]);
            (void)ParseProfileNumber(*values[i], u',');
            (void)ParseProfileNumber(*values[i], u'.');
        }
    }
    return values;
}

} // namespace

// The input: one byte that chooses the writes (bit 7: the sixteen writes of a close, in their
// order; else one write of the key that the low bits name), one byte with the length of the value
// in UTF-16 code units (up to 32), the value's code units (little-endian; any of them: line
// breaks, quotes, blanks, lone surrogates), and the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const bool close = (data[0] & 0x80) != 0;
    const size_t key = data[0] % Keys.size();
    const size_t length = std::min<size_t>(data[1] % 33, (size - 2) / 2);
    std::u16string value;
    for (size_t i = 0; i < length; ++i)
        value.push_back(static_cast<char16_t>(data[2 + 2 * i] | (data[3 + 2 * i] << 8)));
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2 + 2 * length, size - 2 - 2 * length);

    const TProfileDocument document = TProfileDocument::Parse(bytes);
    Check(document.Serialize() == bytes, "an untouched file changed");
    const auto before = ReadAll(document);

    TProfileDocument changed = document;
    for (size_t i = 0; i < Keys.size(); ++i)
        if (close || i == key)
            changed.Write(SettingsSection, Keys[i], value);
    const TProfileDocument reread = TProfileDocument::Parse(changed.Serialize());
    Check(reread.Text() == changed.Text(), "the written file reads back otherwise");
    const auto after = ReadAll(reread);
    const std::u16string expected = ProfileValueAsRead(ProfileValueAsStored(value));
    for (size_t i = 0; i < Keys.size(); ++i) {
        if (close || i == key)
            Check(after[i] == expected, "the written value is not read back");
        else
            Check(after[i] == before[i], "a write changed another key");
    }
    return 0;
}
