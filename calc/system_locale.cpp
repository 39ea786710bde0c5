#include "system_locale.h"

#include <clocale>
#include <fstream>
#include <iterator>
#include <langinfo.h>
#include <locale.h>

namespace {

// UTF-8 to UTF-16, enough for the short separator texts of a locale.
std::u16string FromUtf8(std::string_view s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6 && i + 1 < s.size()) {
            cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
            len = 2;
        } else if ((c >> 4) == 0xE && i + 2 < s.size()) {
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
            len = 3;
        } else if ((c >> 3) == 0x1E && i + 3 < s.size()) {
            cp = ((c & 0x07u) << 18) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 12) |
                 ((static_cast<unsigned char>(s[i + 2]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(s[i + 3]) & 0x3Fu);
            len = 4;
        } else {
            cp = 0xFFFD;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string text;
    // A locale file is a few lines; never read more than a page of a broken one.
    text.resize(4096);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

} // namespace

std::string LangFromLocaleFile(std::string_view fileText) {
    std::string lang;
    size_t pos = 0;
    while (pos < fileText.size()) {
        size_t eol = fileText.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = fileText.size();
        std::string_view line = fileText.substr(pos, eol - pos);
        pos = eol + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
            line.remove_suffix(1);
        if (line.starts_with("export "))
            line.remove_prefix(7);
        if (!line.starts_with("LANG="))
            continue;
        line.remove_prefix(5);
        if (line.size() >= 2 && (line.front() == '"' || line.front() == '\'') && line.back() == line.front())
            line = line.substr(1, line.size() - 2);
        lang.assign(line); // the last assignment counts, as in a shell
    }
    return lang;
}

std::u16string DecimalSeparatorOfLocale(const std::string& localeName) {
    locale_t loc = newlocale(LC_NUMERIC_MASK, localeName.c_str(), static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr))
        return {};
    std::u16string separator = FromUtf8(nl_langinfo_l(RADIXCHAR, loc));
    freelocale(loc);
    return separator;
}

std::u16string SystemDecimalSeparator() {
    for (const char* path : {"/etc/default/locale", "/etc/locale.conf"}) {
        const std::string lang = LangFromLocaleFile(ReadFile(path));
        if (lang.empty())
            continue;
        std::u16string separator = DecimalSeparatorOfLocale(lang);
        if (!separator.empty())
            return separator;
    }
    const lconv* conv = std::localeconv();
    std::u16string separator = conv && conv->decimal_point ? FromUtf8(conv->decimal_point) : std::u16string();
    return separator.empty() ? std::u16string(u".") : separator;
}
