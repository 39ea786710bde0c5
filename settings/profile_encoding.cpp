#include "profile_encoding.h"

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

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at bytes[i] and its code point, or 0 when it is not valid.
size_t Utf8Sequence(std::string_view bytes, size_t i, char32_t& code) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char b0 = at(i);
    const size_t rest = bytes.size() - i;
    if (b0 < 0x80) {
        code = b0;
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (rest < 2 || !IsContinuation(at(i + 1)))
            return 0;
        code = (char32_t(b0 & 0x1F) << 6) | (at(i + 1) & 0x3F);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (rest < 3 || !IsContinuation(at(i + 1)) || !IsContinuation(at(i + 2)))
            return 0;
        code = (char32_t(b0 & 0x0F) << 12) | (char32_t(at(i + 1) & 0x3F) << 6) | (at(i + 2) & 0x3F);
        if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))
            return 0;
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (rest < 4 || !IsContinuation(at(i + 1)) || !IsContinuation(at(i + 2)) ||
            !IsContinuation(at(i + 3)))
            return 0;
        code = (char32_t(b0 & 0x07) << 18) | (char32_t(at(i + 1) & 0x3F) << 12) |
               (char32_t(at(i + 2) & 0x3F) << 6) | (at(i + 3) & 0x3F);
        if (code < 0x10000 || code > 0x10FFFF)
            return 0;
        return 4;
    }
    return 0;
}

void AppendUtf16(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    char32_t code = 0;
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = Utf8Sequence(bytes, i, code);
        AppendUtf16(text, n == 0 ? 0xFFFD : code); // n is never 0 for text that passed IsValidUtf8
        i += n == 0 ? 1 : n;
    }
    return text;
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

bool IsValidUtf8(std::string_view bytes) {
    char32_t code = 0;
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = Utf8Sequence(bytes, i, code);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
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
        profile.Text = DecodeUtf8(bom ? bytes.substr(3) : bytes);
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
        out = EncodeUtf8(profile.Text);
        break;
    case TProfileEncoding::Utf8Bom:
        out = "\xEF\xBB\xBF" + EncodeUtf8(profile.Text);
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
