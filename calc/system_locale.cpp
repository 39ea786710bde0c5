#include "system_locale.h"

#include "utf8_text.h"

#include <clocale>
#include <cstdio>
#include <langinfo.h>
#include <locale.h>

namespace {

std::string ReadFile(const char* path) {
    // C stdio rather than a stream: a stream sets up the C++ locale with all its facets, which the
    // program needs nowhere else and which the start would pay for in time and memory.
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr)
        return {};
    std::string text;
    // A locale file is a few lines; never read more than a page of a broken one.
    text.resize(4096);
    text.resize(std::fread(text.data(), 1, text.size(), in));
    std::fclose(in);
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
    std::u16string separator = Utf8ToUtf16(nl_langinfo_l(RADIXCHAR, loc));
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
    std::u16string separator =
        conv && conv->decimal_point ? Utf8ToUtf16(conv->decimal_point) : std::u16string();
    return separator.empty() ? std::u16string(u".") : separator;
}
