// The built-in help pages and pictures, read from the program's resources as the view reads them.

#include "help_links.h"
#include "version.h"

#include <QFile>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

QByteArray Resource(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString PageText(const QString& name) {
    return QString::fromUtf8(Resource(QStringLiteral(":/") + name));
}

struct Link {
    QString href, text;
    QMap<QString, QString> attributes;
};

QMap<QString, QString> Attributes(const QString& tag) {
    static const QRegularExpression attribute(QStringLiteral(R"re(([\w-]+)="([^"]*)")re"));
    QMap<QString, QString> result;
    for (const auto& match : attribute.globalMatch(tag))
        result.insert(match.captured(1).toLower(),
                      QString(match.captured(2)).replace(QStringLiteral("&amp;"), QStringLiteral("&")));
    return result;
}

QList<Link> Links(const QString& page) {
    static const QRegularExpression anchor(QStringLiteral(R"re(<a\s([^>]*)>(.*?)</a>)re"),
                                           QRegularExpression::DotMatchesEverythingOption);
    QList<Link> links;
    for (const auto& match : anchor.globalMatch(page)) {
        const auto attributes = Attributes(match.captured(1));
        links.append({attributes.value(QStringLiteral("href")), match.captured(2), attributes});
    }
    return links;
}

QList<QMap<QString, QString>> Images(const QString& page) {
    static const QRegularExpression image(QStringLiteral(R"re(<img\s([^>]*)>)re"));
    QList<QMap<QString, QString>> images;
    for (const auto& match : image.globalMatch(page))
        images.append(Attributes(match.captured(1)));
    return images;
}

// The text between the first opening and the following closing tag of an element.
QString Between(const QString& page, const QString& open, const QString& close) {
    const qsizetype start = page.indexOf(open);
    if (start < 0)
        return {};
    const qsizetype end = page.indexOf(close, start + open.size());
    return end < 0 ? QString() : page.mid(start + open.size(), end - start - open.size());
}

enum class Ending { EmptyParagraph, Signature, FirstVersion };

struct PageRow {
    QString name, heading, indexLinkText;
    QList<std::pair<QString, QString>> pageLinks; // href, text
    QList<QString> pictures;
    Ending ending;
};

const QList<PageRow>& PageTable() {
    static const QList<PageRow> table = {
        {"INDEX",
         QStringLiteral("Стелворн (версия ") + STELVORN_VERSION + QChar(u')'),
         {},
         {{"КОНСТРУКЦИЯ", "Типовая конструкция стелворна"},
          {"ТОЛЩИНЫ", "Минимальные толщины и диаметры материалов"},
          {"НОРМАТИВЫ", "Нормативы по сопротивлению заземлений"},
          {"ОПИСАНИЕ", "Описание вводимых в программу данных"},
          {"МЕТОДИКА", "Методика расчёта"},
          {"ИСТОРИЯ", "История версий"}},
         {},
         Ending::Signature},
        {"КОНСТРУКЦИЯ",
         "Типовая конструкция стелворна",
         "Типовая конструкция стелворна",
         {},
         {"КОНТУР"},
         Ending::EmptyParagraph},
        {"ТОЛЩИНЫ",
         "Минимальные толщины материалов",
         "Минимальные толщины и диаметры материалов",
         {},
         {},
         Ending::EmptyParagraph},
        {"НОРМАТИВЫ",
         "Нормативы по сопротивлению",
         "Нормативы по сопротивлению заземлений",
         {},
         {},
         Ending::EmptyParagraph},
        {"ОПИСАНИЕ",
         "Описание вводимых данных",
         "Описание вводимых в программу данных",
         {{"НОРМАТИВЫ", "по этой ссылке"}},
         {"КОНТУР"},
         Ending::EmptyParagraph},
        {"МЕТОДИКА",
         "Методика расчёта",
         "Методика расчёта",
         {},
         {"ФОРМУЛА0", "ФОРМУЛА1", "ФОРМУЛА2", "ФОРМУЛА3", "ФОРМУЛА4"},
         Ending::EmptyParagraph},
        {"ИСТОРИЯ",
         "История версий",
         "История версий",
         {{"НОРМАТИВЫ", "«Нормативы по сопротивлению стелворнов»"}},
         {},
         Ending::FirstVersion},
    };
    return table;
}

struct PictureRow {
    QString name;
    int width, height;
};

const QList<PictureRow>& PictureTable() {
    static const QList<PictureRow> table = {{"КОНТУР", 519, 219},  {"ФОРМУЛА0", 320, 60},
                                            {"ФОРМУЛА1", 370, 60}, {"ФОРМУЛА2", 220, 60},
                                            {"ФОРМУЛА3", 220, 60}, {"ФОРМУЛА4", 200, 80}};
    return table;
}

// The style element, from its opening tag to its closing one.
QByteArray StyleElement(const QByteArray& page) {
    const qsizetype start = page.indexOf("<style");
    const qsizetype end = page.indexOf("</style>");
    return start < 0 || end < start ? QByteArray() : page.mid(start, end - start);
}

TEST(HelpPages, EveryPageHasTheFrame) {
    ASSERT_EQ(HelpPageNames().size(), PageTable().size());
    const QByteArray indexStyle = StyleElement(Resource(QStringLiteral(":/INDEX")));
    ASSERT_FALSE(indexStyle.isEmpty());
    for (qsizetype i = 0; i < PageTable().size(); ++i) {
        const PageRow& row = PageTable()[i];
        SCOPED_TRACE(row.name.toStdString());
        EXPECT_EQ(HelpPageNames()[i], row.name);
        const QByteArray bytes = Resource(QStringLiteral(":/") + row.name);
        ASSERT_FALSE(bytes.isEmpty());

        // UTF-8 without byte-order mark, every line ended by CR LF.
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString page = utf8(bytes);
        EXPECT_FALSE(utf8.hasError());
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        for (qsizetype at = 0; at < bytes.size(); ++at) {
            if (bytes[at] == '\n') {
                ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << "bare LF at byte " << at;
            }
            if (bytes[at] == '\r') {
                ASSERT_TRUE(at + 1 < bytes.size() && bytes[at + 1] == '\n') << "bare CR at byte " << at;
            }
        }

        const QString lower = page.toLower();
        EXPECT_FALSE(lower.contains(u"<!doctype"));
        EXPECT_FALSE(lower.contains(u"<title"));

        // The head: the meta element, and one style element whose rules stand inside a comment.
        const QString head = Between(page, QStringLiteral("<head>"), QStringLiteral("</head>"));
        EXPECT_TRUE(
            head.contains(u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"));
        EXPECT_EQ(page.count(u"<style"), 1);
        EXPECT_TRUE(head.contains(u"<style type=\"text/css\">"));
        const QString rules =
            Between(page, QStringLiteral("<style type=\"text/css\">"), QStringLiteral("</style>"));
        EXPECT_TRUE(rules.trimmed().startsWith(u"<!--"));
        EXPECT_TRUE(rules.trimmed().endsWith(u"-->"));
        // The same style sheet, byte for byte, on every page.
        EXPECT_EQ(StyleElement(bytes), indexStyle);

        // The body: one div around the whole content; on МЕТОДИКА the heading stands before it.
        const QString body = Between(page, QStringLiteral("<body>"), QStringLiteral("</body>")).trimmed();
        EXPECT_EQ(page.count(u"<div"), 1);
        EXPECT_EQ(page.count(u"</div>"), 1);
        EXPECT_TRUE(body.endsWith(u"</div>"));
        const QString h1 = QStringLiteral("<h1>") + row.heading + QStringLiteral("</h1>");
        EXPECT_EQ(page.count(u"<h1"), 1);
        if (row.name == u"МЕТОДИКА")
            EXPECT_TRUE(body.startsWith(h1 + QStringLiteral("\r\n<div>")));
        else
            EXPECT_TRUE(body.startsWith(QStringLiteral("<div>\r\n") + h1));

        const QString content = body.chopped(QStringLiteral("</div>").size()).trimmed();
        switch (row.ending) {
        case Ending::EmptyParagraph:
            EXPECT_TRUE(content.endsWith(u"<p>&nbsp;</p>"));
            break;
        case Ending::Signature: {
            static const QRegularExpression signature(
                QStringLiteral(R"re(<p ([^>]*)><i>С уважением\.[^<]+</i></p>$)re"));
            const auto match = signature.match(content);
            ASSERT_TRUE(match.hasMatch());
            const auto attributes = Attributes(match.captured(1));
            EXPECT_EQ(attributes.value("align"), "right");
            EXPECT_EQ(attributes.value("style"), "margin-top: -10px");
            break;
        }
        case Ending::FirstVersion:
            EXPECT_TRUE(content.endsWith(u"<p><b>1.0 (09.12.2017)</b></p>\r\n"
                                         u"<blockquote><p>Первая версия программы.</p></blockquote>"));
            break;
        }
    }
}

TEST(HelpPages, StyleSheetHasTheSharedRules) {
    const QString rules = Between(PageText("INDEX"), QStringLiteral("<!--"), QStringLiteral("-->"));
    QMap<QString, QMap<QString, QString>> sheet;
    static const QRegularExpression rule(QStringLiteral(R"re(([\w-]+)\s*\{([^}]*)\})re"));
    for (const auto& match : rule.globalMatch(rules)) {
        for (const QString& declaration : match.captured(2).split(u';', Qt::SkipEmptyParts)) {
            const qsizetype colon = declaration.indexOf(u':');
            if (declaration.trimmed().isEmpty())
                continue;
            ASSERT_GT(colon, 0) << declaration.toStdString();
            sheet[match.captured(1)][declaration.left(colon).trimmed()] =
                declaration.mid(colon + 1).trimmed();
        }
    }
    const QString family = QStringLiteral("Verdana, Geneva, sans-serif");
    const QMap<QString, QMap<QString, QString>> expected = {
        {"body",
         {{"font-size", "10pt"},
          {"font-family", family},
          {"background-color", "#FFD"},
          {"scrollbar-base-color", "#FFD"},
          {"scrollbar-face-color", "#FFD"},
          {"scrollbar-highlight-color", "Gray"},
          {"scrollbar-shadow-color", "Gray"},
          {"scrollbar-3dlight-color", "#FFD"},
          {"scrollbar-arrow-color", "Gray"},
          {"scrollbar-track-color", "#FFD"},
          {"scrollbar-darkshadow-color", "#FFD"},
          {"margin-bottom", "0px"}}},
        {"h1", {{"font-size", "15pt"}}},
        {"h2", {{"font-size", "12pt"}}},
        {"em", {{"color", "#666"}}},
        {"table", {{"font-size", "10pt"}, {"font-family", family}}},
    };
    EXPECT_EQ(sheet, expected);
}

// The links of each page: sibling pages by their bare names, and on the index page one mail link and
// two web links, all of them placeholders under the reserved documentation domains.
TEST(HelpPages, LinksOfEveryPage) {
    for (const PageRow& row : PageTable()) {
        SCOPED_TRACE(row.name.toStdString());
        const QString page = PageText(row.name);
        QList<std::pair<QString, QString>> pageLinks;
        QList<Link> mail, web;
        for (const Link& link : Links(page)) {
            if (link.href.startsWith(u"mailto:"))
                mail.append(link);
            else if (IsWebLink(link.href))
                web.append(link);
            else
                pageLinks.append({link.href, link.text});
        }
        EXPECT_EQ(pageLinks, row.pageLinks);

        if (row.name != u"INDEX") {
            EXPECT_TRUE(mail.isEmpty());
            EXPECT_TRUE(web.isEmpty());
            continue;
        }
        ASSERT_EQ(mail.size(), 1);
        const QUrl mailUrl(mail[0].href);
        EXPECT_EQ(mail[0].text, "E-Mail");
        EXPECT_EQ(mail[0].attributes.value("target"), "_blank");
        EXPECT_TRUE(mailUrl.path().endsWith(u"@example.org") || mailUrl.path().endsWith(u"@example.com"));
        const QUrlQuery query(mailUrl);
        EXPECT_TRUE(query.queryItemValue("subject").contains(u"Стелворн"));
        EXPECT_FALSE(query.queryItemValue("body").isEmpty());

        // The first payment service, then the home page, whose text is the address cut after the host.
        ASSERT_EQ(web.size(), 2);
        for (const Link& link : web) {
            const QString host = QUrl(link.href).host();
            EXPECT_TRUE(host.endsWith(u"example.org") || host.endsWith(u"example.com")) << host.toStdString();
        }
        const QUrl home(web[1].href);
        EXPECT_EQ(web[1].attributes.value("title"), web[1].href);
        EXPECT_EQ(web[1].text, home.scheme() + QStringLiteral("://") + home.host() + QStringLiteral("/..."));
        EXPECT_TRUE(page.contains(u"<p>Домашняя страница программы: <a "));

        // The left cell lists the six pages, the right one holds only a non-breaking space.
        EXPECT_TRUE(page.contains(u"<td valign=\"top\">\r\n<p>Справочные материалы:</p>\r\n<ol>"));
        EXPECT_TRUE(page.contains(u"<td valign=\"top\">&nbsp;</td>"));
    }
}

TEST(HelpPages, NoAddressOutsideTheReservedDomains) {
    static const QRegularExpression address(QStringLiteral(R"re(([\w.+-]+@|://)([\w-]+(\.[\w-]+)+))re"));
    for (const QString& name : HelpPageNames()) {
        for (const auto& match : address.globalMatch(PageText(name))) {
            const QString host = match.captured(2);
            EXPECT_TRUE(host == u"example.org" || host == u"example.com" || host.endsWith(u".example.org") ||
                        host.endsWith(u".example.com"))
                << name.toStdString() << ": " << host.toStdString();
        }
    }
}

// Each picture reference names an existing picture, at its size, with an empty alt text.
TEST(HelpPages, PictureReferencesCarryTheSize) {
    for (const PageRow& row : PageTable()) {
        SCOPED_TRACE(row.name.toStdString());
        QList<QString> names;
        for (const auto& image : Images(PageText(row.name))) {
            const QString src = image.value("src");
            ASSERT_TRUE(src.startsWith(u"/RT_RCDATA/")) << src.toStdString();
            const QString name = src.mid(QStringLiteral("/RT_RCDATA/").size());
            names.append(name);
            const QImage picture(QStringLiteral(":") + src);
            ASSERT_FALSE(picture.isNull()) << src.toStdString();
            EXPECT_EQ(image.value("width"), QString::number(picture.width()));
            EXPECT_EQ(image.value("height"), QString::number(picture.height()));
            ASSERT_TRUE(image.contains("alt"));
            EXPECT_EQ(image.value("alt"), "");
        }
        EXPECT_EQ(names, row.pictures);
    }
}

// 8-bit RGBA PNGs at the sizes of the table, black where drawn and transparent elsewhere.
TEST(HelpPictures, SizeAndPixels) {
    for (const PictureRow& row : PictureTable()) {
        SCOPED_TRACE(row.name.toStdString());
        const QByteArray png = Resource(QStringLiteral(":/RT_RCDATA/") + row.name);
        ASSERT_TRUE(png.startsWith("\x89PNG\r\n\x1A\n"));
        ASSERT_EQ(png.mid(12, 4), "IHDR");
        const auto byte = [&](int at) { return static_cast<unsigned char>(png[at]); };
        EXPECT_EQ((byte(16) << 24) | (byte(17) << 16) | (byte(18) << 8) | byte(19), row.width);
        EXPECT_EQ((byte(20) << 24) | (byte(21) << 16) | (byte(22) << 8) | byte(23), row.height);
        EXPECT_EQ(byte(24), 8);
        EXPECT_EQ(byte(25), 6); // truecolour with alpha

        const QImage image = QImage::fromData(png).convertToFormat(QImage::Format_ARGB32);
        int drawn = 0, opaque = 0, transparent = 0, coloured = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                drawn += qAlpha(pixel) >= 128;
                opaque += qAlpha(pixel) == 255;
                transparent += qAlpha(pixel) == 0;
                coloured += qAlpha(pixel) != 0 && (qRed(pixel) | qGreen(pixel) | qBlue(pixel)) != 0;
            }
        }
        EXPECT_GT(drawn, 300);
        EXPECT_GT(opaque, 20);
        EXPECT_GT(transparent, image.width() * image.height() / 2);
        EXPECT_EQ(coloured, 0);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    }
}

TEST(HelpPictures, ToolbarImages) {
    const QList<QIcon> images = WebImageList();
    ASSERT_EQ(images.size(), 4);
    for (const QIcon& icon : images) {
        const QImage image = icon.pixmap(16, 16).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        EXPECT_TRUE(image.hasAlphaChannel());
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(8, 8)), 255);
    }
    // Back, forward and home are green; the shield is blue and yellow.
    for (int index : {0, 1, 2}) {
        const QRgb centre = images[index].pixmap(16, 16).toImage().pixel(8, 9);
        EXPECT_GT(qGreen(centre), qRed(centre) + 40) << index;
        EXPECT_GT(qGreen(centre), qBlue(centre) + 40) << index;
    }
    const QImage shield = images[3].pixmap(16, 16).toImage();
    EXPECT_GT(qBlue(shield.pixel(11, 11)), qRed(shield.pixel(11, 11)));
    EXPECT_GT(qRed(shield.pixel(11, 5)), qBlue(shield.pixel(11, 5)));
}

// The version history, newest first, with the 1.0 entry last.
TEST(HelpPages, VersionHistory) {
    static const QRegularExpression version(
        QStringLiteral(R"re(<p><b>(\d\.\d \(\d\d\.\d\d\.\d{4}\))</b></p>)re"));
    QList<QString> versions;
    for (const auto& match : version.globalMatch(PageText("ИСТОРИЯ")))
        versions.append(match.captured(1));
    const QList<QString> expected = {"1.7 (06.11.2020)", "1.6 (11.05.2020)", "1.5 (29.08.2019)",
                                     "1.4 (24.08.2019)", "1.3 (05.07.2019)", "1.2 (12.04.2019)",
                                     "1.1 (04.04.2019)", "1.0 (09.12.2017)"};
    EXPECT_EQ(versions, expected);
    // Each version but the first is followed by an ordered list of its changes; 1.3's links to the norms.
    const QString history = PageText("ИСТОРИЯ");
    EXPECT_EQ(history.count(u"<ol>"), 7);
    const QString entry13 = Between(history, QStringLiteral("1.3 (05.07.2019)"), QStringLiteral("</ol>"));
    EXPECT_TRUE(entry13.contains(u"href=\"НОРМАТИВЫ\""));
}

// The facts the pages give: clauses, limit values, sizes.
TEST(HelpPages, FactsOfThePages) {
    const QList<std::pair<QString, QList<QString>>> facts = {
        {"КОНСТРУКЦИЯ",
         {"0,7 м", "0,5 м", "5×50×50", "4×40", "п.542.1.8", "п.542.3.2", "ГОСТ Р 50571.5.54-2013"}},
        {"ТОЛЩИНЫ",
         {"п.1.7.102", "п.542.2.1", "100 мм²", "75 мм²", "90 мм²", "3,5 мм", "п.1.7.117",
          "п.п.1.7.113, 1.7.126, 1.7.127", "ГОСТ Р МЭК 62305-1-2010"}},
        {"НОРМАТИВЫ",
         {"4 Ом", "30 Ом", "10 Ом", "0,01ρ", "п.1.7.101", "п.1.7.103", "таблица 36", "№ 31/2012",
          "5&nbsp;IΔn", "150 Ом", "300 Ом∙м", "<b>Схема TT</b>", "п.1.7.59", "1667 Ом"}},
        {"ОПИСАНИЕ",
         {"<h2>Климатический район</h2>", "<h2>Почва</h2>", "<h2>Заглубление</h2>",
          "<h2>Размер вертикальных электродов</h2>", "<h2>Расположение вертикальных электродов</h2>",
          "<h2>Размер горизонтального соединителя</h2>", "<h2>Результат вычислений</h2>"}},
        {"МЕТОДИКА", {"Энергоатомиздат, 1991", "7.4", "0,95·b"}},
    };
    for (const auto& [name, texts] : facts) {
        const QString page = PageText(name);
        for (const QString& text : texts)
            EXPECT_TRUE(page.contains(text)) << name.toStdString() << ": " << text.toStdString();
    }
    // The sections of ОПИСАНИЕ stand in the order of the calculation form.
    const QString description = PageText("ОПИСАНИЕ");
    EXPECT_LT(description.indexOf(u"Климатический район"), description.indexOf(u"<h2>Почва"));
    EXPECT_LT(description.indexOf(u"<h2>Размер горизонтального"), description.indexOf(u"<h2>Результат"));
}

} // namespace
