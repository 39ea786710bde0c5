#include "profile_document.h"

#include "char_classes.h"

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view s) {
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0410 && c <= 0x042F)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0400 && c <= 0x040F)
        return static_cast<char16_t>(c + 0x50);
    return c;
}

// One line of the text: its characters are [Begin, End), its line end [End, Next).
struct TLine {
    size_t Begin;
    size_t End;
    size_t Next;
};

TLine LineAt(const std::u16string& text, size_t begin) {
    const size_t end = text.find_first_of(u"\r\n", begin);
    if (end == std::u16string::npos)
        return {begin, text.size(), text.size()};
    if (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n')
        return {begin, end, end + 2};
    return {begin, end, end + 1};
}

enum class TLineKind { Blank, Comment, Section, Entry, Other };

struct TLineParts {
    TLineKind Kind = TLineKind::Other;
    std::u16string_view Name;  // section name or key
    std::u16string_view Value; // of an entry, as it stands after "="
};

TLineParts ParseLine(std::u16string_view line) {
    TLineParts parts;
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i == line.size()) {
        parts.Kind = TLineKind::Blank;
        return parts;
    }
    if (line[i] == u';') {
        parts.Kind = TLineKind::Comment;
        return parts;
    }
    if (line[i] == u'[') {
        const size_t close = line.find(u']', i + 1);
        if (close != std::u16string_view::npos) {
            parts.Kind = TLineKind::Section;
            parts.Name = Trim(line.substr(i + 1, close - i - 1));
            return parts;
        }
    }
    const size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos)
        return parts;
    parts.Kind = TLineKind::Entry;
    parts.Name = Trim(line.substr(0, equals));
    parts.Value = line.substr(equals + 1);
    return parts;
}

// Where a key stands in the text, or where it would go.
struct TKeyPlace {
    bool SectionFound = false;
    bool KeyFound = false;
    TLine Line{};          // the key's line, when found
    TLine Anchor{};        // else the section's last line that is neither blank nor a comment
    size_t ValueBegin = 0; // of the key's line
};

TKeyPlace FindKey(const std::u16string& text, std::u16string_view section, std::u16string_view key) {
    TKeyPlace place;
    bool inSection = false;
    for (size_t pos = 0; pos < text.size();) {
        const TLine line = LineAt(text, pos);
        pos = line.Next;
        const std::u16string_view chars = std::u16string_view(text).substr(line.Begin, line.End - line.Begin);
        const TLineParts parts = ParseLine(chars);
        if (parts.Kind == TLineKind::Section) {
            if (inSection)
                break; // only the first section of the name counts
            if (ProfileNamesEqual(parts.Name, section)) {
                inSection = true;
                place.SectionFound = true;
                place.Anchor = line;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (parts.Kind == TLineKind::Entry && ProfileNamesEqual(parts.Name, key)) {
            place.KeyFound = true;
            place.Line = line;
            place.ValueBegin = line.Begin + static_cast<size_t>(parts.Value.data() - chars.data());
            return place;
        }
        if (parts.Kind == TLineKind::Entry || parts.Kind == TLineKind::Other)
            place.Anchor = line;
    }
    return place;
}

} // namespace

bool ProfileNamesEqual(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

std::u16string ProfileValueAsRead(std::u16string_view raw) {
    std::u16string_view value = Trim(raw);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > TProfileDocument::MaxValueLength) {
        size_t length = TProfileDocument::MaxValueLength;
        // Never keep half of a surrogate pair.
        if (IsHighSurrogate(value[length - 1]) && IsLowSurrogate(value[length]))
            --length;
        value = value.substr(0, length);
    }
    return std::u16string(value);
}

std::u16string ProfileValueAsStored(std::u16string_view value) {
    std::u16string stored(value);
    for (size_t i = 0; i < stored.size(); ++i) {
        char16_t& c = stored[i];
        if (c == u'\r' || c == u'\n') {
            c = u' ';
        } else if (IsHighSurrogate(c) && i + 1 < stored.size() && IsLowSurrogate(stored[i + 1])) {
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = u'\uFFFD';
        }
    }
    return stored;
}

TProfileDocument TProfileDocument::Parse(std::string_view bytes) {
    TProfileDocument document;
    document.profile_ = DecodeProfile(bytes);
    return document;
}

std::string TProfileDocument::Serialize() const {
    return EncodeProfile(profile_);
}

std::optional<std::u16string> TProfileDocument::Read(std::u16string_view section,
                                                     std::u16string_view key) const {
    const std::u16string& text = profile_.Text;
    const TKeyPlace place = FindKey(text, section, key);
    if (!place.KeyFound)
        return std::nullopt;
    return ProfileValueAsRead(
        std::u16string_view(text).substr(place.ValueBegin, place.Line.End - place.ValueBegin));
}

void TProfileDocument::Write(std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) {
    std::u16string& text = profile_.Text;
    std::u16string entry = ProfileValueAsStored(key);
    entry += u'=';
    entry += ProfileValueAsStored(value);

    const TKeyPlace place = FindKey(text, section, key);
    if (place.KeyFound) {
        text.replace(place.Line.Begin, place.Line.End - place.Line.Begin, entry);
    } else if (place.SectionFound) {
        if (place.Anchor.Next == place.Anchor.End) // the last line of the file, without a line end
            text.insert(place.Anchor.End, u"\r\n" + entry);
        else
            text.insert(place.Anchor.Next, entry + u"\r\n");
    } else {
        if (!text.empty() && text.back() != u'\n' && text.back() != u'\r')
            text += u"\r\n";
        text += u'[';
        text += ProfileValueAsStored(section);
        text += u"]\r\n";
        text += entry;
        text += u"\r\n";
    }

    if (profile_.Encoding == TProfileEncoding::Windows1251) {
        const std::optional<std::string> bytes = EncodeWindows1251(text);
        if (!bytes || IsValidUtf8(*bytes))
            profile_.Encoding = TProfileEncoding::Utf8;
    }
}
