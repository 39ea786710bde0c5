#include "utf8_text.h"

#include "char_classes.h"

namespace {

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

} // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
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

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    char32_t code = 0;
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = Utf8Sequence(bytes, i, code);
        AppendUtf16(text, n == 0 ? 0xFFFD : code);
        i += n == 0 ? 1 : n;
    }
    return text;
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
