#include "profile_encoding.h"

#include "utf8_text.h"

#include <array>
#include <cstdint>

namespace {

// Windows-1251 bytes 0x80 to 0xBF; 0xC0 to 0xFF are А to я (U+0410 to U+044F) in order.
constexpr std::array<char16_t, 64> Upper1251 = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021', // 80
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F', // 88
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014', // 90
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F', // 98
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7', // A0
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407', // A8
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7', // B0
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457', // B8
};

std::optional<unsigned char> UnicodeToWindows1251(char16_t c) {
    if (c < 0x80)
        return static_cast<unsigned char>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<unsigned char>(c - 0x0410 + 0xC0);
    for (size_t i = 0; i < Upper1251.size(); ++i)
        if (Upper1251[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

} // namespace

char16_t Windows1251ToUnicode(unsigned char byte) {
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return static_cast<char16_t>(0x0410 + (byte - 0xC0));
    return Upper1251[byte - 0x80];
}

std::optional<std::string> EncodeWindows1251(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        const auto b = UnicodeToWindows1251(c);
        if (!b)
            return std::nullopt;
        out.push_back(static_cast<char>(*b));
    }
    return out;
}

TDecodedProfile DecodeProfile(std::string_view bytes) {
    TDecodedProfile profile;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        profile.Encoding = TProfileEncoding::Utf16Le;
        const std::string_view body = bytes.substr(2);
        profile.Text.reserve(body.size() / 2);
        for (size_t i = 0; i + 1 < body.size(); i += 2)
            profile.Text.push_back(static_cast<char16_t>(static_cast<unsigned char>(body[i]) |
                                                         (static_cast<unsigned char>(body[i + 1]) << 8)));
        if (body.size() % 2 != 0)
            profile.Tail.assign(1, body.back());
        return profile;
    }
    if (IsValidUtf8(bytes)) {
        const bool bom = bytes.starts_with("\xEF\xBB\xBF");
        profile.Encoding = bom ? TProfileEncoding::Utf8Bom : TProfileEncoding::Utf8;
        profile.Text = Utf8ToUtf16(bom ? bytes.substr(3) : bytes);
        return profile;
    }
    profile.Encoding = TProfileEncoding::Windows1251;
    profile.Text.reserve(bytes.size());
    for (char b : bytes)
        profile.Text.push_back(Windows1251ToUnicode(static_cast<unsigned char>(b)));
    return profile;
}

std::string EncodeProfile(const TDecodedProfile& profile) {
    std::string out;
    switch (profile.Encoding) {
    case TProfileEncoding::Utf8:
        out = Utf16ToUtf8(profile.Text);
        break;
    case TProfileEncoding::Utf8Bom:
        out = "\xEF\xBB\xBF" + Utf16ToUtf8(profile.Text);
        break;
    case TProfileEncoding::Utf16Le:
        out.reserve(2 + profile.Text.size() * 2 + profile.Tail.size());
        out = "\xFF\xFE";
        for (char16_t c : profile.Text) {
            out.push_back(static_cast<char>(c & 0xFF));
            out.push_back(static_cast<char>(c >> 8));
        }
        break;
    case TProfileEncoding::Windows1251:
        out.reserve(profile.Text.size());
        for (char16_t c : profile.Text)
            out.push_back(static_cast<char>(UnicodeToWindows1251(c).value_or('?')));
        break;
    }
    out += profile.Tail;
    return out;
}
