#include "skin_theme.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <array>
#include <utility>

namespace {

QString AtLine(int line, const QString& what) {
    return QStringLiteral("строка %1: %2").arg(line).arg(what);
}

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'-' || c == u'_';
}

// Text without the bytes of a binary file: valid UTF-8 with no control characters but tabs, line
// ends and form feeds.
bool DecodeText(const QByteArray& bytes, QString& text) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f') || u == 0x7F)
            return false;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return true;
}

struct NamedValue {
    const char* name;
    QColor TsTheme::*colour;
};

const std::array<NamedValue, 6> kColours = {{
    {"title-text-active", &TsTheme::TitleTextActive},
    {"title-text-inactive", &TsTheme::TitleTextInactive},
    {"title-background", &TsTheme::TitleBackground},
    {"hint-background", &TsTheme::HintBackground},
    {"hint-text", &TsTheme::HintText},
    {"hint-border", &TsTheme::HintBorder},
}};

// "#rgb", "#rrggbb", a colour name, or "rgb(r, g, b)" as in a style sheet.
QColor ReadColour(const QString& value) {
    if (value.startsWith(QStringLiteral("rgb(")) && value.endsWith(u')')) {
        const QStringList parts = value.mid(4, value.size() - 5).split(u',');
        if (parts.size() != 3)
            return {};
        int rgb[3];
        for (int k = 0; k < 3; ++k) {
            bool ok = false;
            rgb[k] = parts[k].trimmed().toInt(&ok);
            if (!ok || rgb[k] < 0 || rgb[k] > 255)
                return {};
        }
        return QColor(rgb[0], rgb[1], rgb[2]);
    }
    return QColor::fromString(value);
}

class Parser {
  public:
    explicit Parser(const QString& text) : text_(text) {}

    // Splits the text into the named values and the style sheet with the values put in.
    QString Run(QString& sheet) {
        enum class State { Normal, Comment, String };
        State state = State::Normal;
        QChar quote;
        int depth = 0;
        int commentLine = 0;
        bool text = false, rules = false; // anything besides comments and blanks; any "{"

        qsizetype i = 0;
        const qsizetype n = text_.size();
        bool lineStart = true;
        while (i < n) {
            if (std::exchange(lineStart, false) && state == State::Normal) {
                qsizetype j = i;
                while (j < n && (text_[j] == u' ' || text_[j] == u'\t'))
                    ++j;
                if (j < n && text_[j] == u'@') {
                    qsizetype end = text_.indexOf(u'\n', j);
                    if (end < 0)
                        end = n;
                    if (QString error = Define(text_.mid(j, end - j).trimmed()); !error.isEmpty())
                        return AtLine(line_, error);
                    i = end;
                    continue;
                }
            }
            const QChar c = text_[i];
            if (c == u'\n') {
                ++line_;
                lineStart = true;
                sheet += c;
                ++i;
                continue;
            }
            switch (state) {
            case State::Comment:
                sheet += c;
                if (c == u'*' && i + 1 < n && text_[i + 1] == u'/') {
                    sheet += u'/';
                    ++i;
                    state = State::Normal;
                }
                ++i;
                continue;
            case State::String:
                sheet += c;
                if (c == u'\\' && i + 1 < n && text_[i + 1] != u'\n') {
                    sheet += text_[i + 1];
                    i += 2;
                    continue;
                }
                if (c == quote)
                    state = State::Normal;
                ++i;
                continue;
            case State::Normal:
                break;
            }
            if (c == u'/' && i + 1 < n && text_[i + 1] == u'*') {
                state = State::Comment;
                commentLine = line_;
                sheet += QStringLiteral("/*");
                i += 2;
                continue;
            }
            text = text || !c.isSpace();
            if (c == u'"' || c == u'\'') {
                state = State::String;
                quote = c;
            } else if (c == u'{') {
                ++depth;
                rules = true;
            } else if (c == u'}') {
                if (--depth < 0)
                    return AtLine(line_, QStringLiteral("лишняя закрывающая скобка «}»"));
            } else if (c == u'@') {
                qsizetype j = i + 1;
                while (j < n && IsNameChar(text_[j]))
                    ++j;
                const QString name = text_.mid(i + 1, j - i - 1);
                const auto found = values_.constFind(name);
                if (found == values_.constEnd())
                    return AtLine(line_, QStringLiteral("неизвестное имя «@%1»").arg(name));
                sheet += *found;
                i = j;
                continue;
            }
            sheet += c;
            ++i;
        }
        if (state == State::Comment)
            return AtLine(commentLine, QStringLiteral("комментарий «/*» не закрыт"));
        if (state == State::String)
            return AtLine(line_, QStringLiteral("кавычки не закрыты"));
        if (depth != 0)
            return QStringLiteral("не хватает закрывающей скобки «}»");
        if (text && !rules)
            return QStringLiteral("в стиле нет ни одного правила вида «QLabel { color: black; }»");
        return {};
    }

    const QHash<QString, QString>& Values() const { return values_; }
    int Line(const QString& name) const { return lines_.value(name); }

  private:
    // "@name: value;" — the value may use the names defined above it.
    QString Define(const QString& line) {
        const QString wrong = QStringLiteral("ожидалось «@имя: значение;»");
        qsizetype j = 1;
        while (j < line.size() && IsNameChar(line[j]))
            ++j;
        const QString name = line.mid(1, j - 1);
        const qsizetype colon = line.indexOf(u':', j);
        if (name.isEmpty() || colon < 0 || !line.mid(j, colon - j).trimmed().isEmpty() ||
            !line.endsWith(u';'))
            return wrong;
        QString raw = line.mid(colon + 1, line.size() - colon - 2).trimmed();
        QString value;
        for (qsizetype k = 0; k < raw.size();) {
            if (raw[k] != u'@') {
                value += raw[k++];
                continue;
            }
            qsizetype e = k + 1;
            while (e < raw.size() && IsNameChar(raw[e]))
                ++e;
            const QString used = raw.mid(k + 1, e - k - 1);
            if (!values_.contains(used))
                return QStringLiteral("неизвестное имя «@%1»").arg(used);
            value += values_.value(used);
            k = e;
        }
        if (value.isEmpty())
            return wrong;
        values_.insert(name, value);
        lines_.insert(name, line_);
        return {};
    }

    const QString& text_;
    QHash<QString, QString> values_;
    QHash<QString, int> lines_;
    int line_ = 1;
};

} // namespace

TsThemeLoad ParseTheme(const QString& name, const QByteArray& bytes, const TsTheme& defaults) {
    TsThemeLoad result;
    result.Theme = defaults;
    result.Theme.Name = name;
    QString text;
    if (!DecodeText(bytes, text)) {
        result.Error = QStringLiteral("это не текст темы (в файле двоичные данные или текст не в UTF-8)");
        return result;
    }
    if (text.trimmed().isEmpty()) {
        result.Error = QStringLiteral("файл пуст");
        return result;
    }
    Parser parser(text);
    QString sheet;
    if (QString error = parser.Run(sheet); !error.isEmpty()) {
        result.Error = error;
        return result;
    }
    for (const NamedValue& named : kColours) {
        const QString key = QLatin1String(named.name);
        if (!parser.Values().contains(key))
            continue;
        const QColor colour = ReadColour(parser.Values().value(key));
        if (!colour.isValid()) {
            result.Error = AtLine(parser.Line(key),
                                  QStringLiteral("«@%1» должно быть цветом, например #1e1e1e").arg(key));
            return result;
        }
        result.Theme.*named.colour = colour;
    }
    if (const auto spacing = parser.Values().constFind(QStringLiteral("title-spacing"));
        spacing != parser.Values().constEnd()) {
        QString digits = *spacing;
        if (digits.endsWith(QStringLiteral("px")))
            digits.chop(2);
        bool ok = false;
        const int pixels = digits.toInt(&ok);
        if (!ok || pixels < 0 || pixels > 200) {
            result.Error = AtLine(parser.Line(QStringLiteral("title-spacing")),
                                  QStringLiteral("«@title-spacing» должно быть числом пикселей от 0 до 200"));
            return result;
        }
        result.Theme.TitleSpacing = pixels;
    }
    result.Theme.StyleSheet = sheet;
    return result;
}

TsThemeLoad LoadThemeFile(const QString& name, const QString& path, const TsTheme& defaults) {
    TsThemeLoad result;
    result.Theme = defaults;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.Error =
            info.isSymLink() ? QStringLiteral("ссылка ведёт в никуда") : QStringLiteral("файла нет");
        return result;
    }
    if (info.isDir()) {
        result.Error = QStringLiteral("это папка, а не файл темы");
        return result;
    }
    if (!info.isFile()) {
        result.Error = QStringLiteral("это не обычный файл");
        return result;
    }
    if (info.size() > kMaxThemeFileSize) {
        result.Error =
            QStringLiteral("файл слишком велик (%1 байт; тема занимает не больше 1 МБ)").arg(info.size());
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.Error = QStringLiteral("файл не открывается для чтения (нет прав доступа?)");
        return result;
    }
    // The file may have grown since it was looked at: never read more than the limit.
    const QByteArray bytes = file.read(kMaxThemeFileSize + 1);
    if (bytes.size() > kMaxThemeFileSize) {
        result.Error = QStringLiteral("файл слишком велик (тема занимает не больше 1 МБ)");
        return result;
    }
    if (file.error() != QFileDevice::NoError) {
        result.Error = QStringLiteral("файл не читается");
        return result;
    }
    return ParseTheme(name, bytes, defaults);
}
