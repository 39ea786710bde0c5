// Theme files: the format, and every way a file can be unusable.
#include "TsSkinManager.h"
#include "skin_theme.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TsTheme Defaults() {
    TsTheme t;
    t.TitleTextActive = Qt::black;
    t.TitleTextInactive = Qt::gray;
    t.TitleBackground = Qt::white;
    t.HintBackground = Qt::white;
    t.HintText = Qt::black;
    t.HintBorder = Qt::gray;
    t.TitleSpacing = 6;
    return t;
}

TsThemeLoad Parse(const QByteArray& bytes) {
    return ParseTheme(QStringLiteral("T"), bytes, Defaults());
}

} // namespace

TEST(ThemeFile, NamedValuesAreReadAndPutIntoTheStyleSheet) {
    const TsThemeLoad load = Parse("\xEF\xBB\xBF/* @hint-text: #000000; inside a comment stays a comment */\n"
                                   "@accent: #3794ff;\n"
                                   "  @title-background: @accent;\n"
                                   "@hint-text: rgb(10, 20, 30);\n"
                                   "@title-spacing: 12px;\n"
                                   "QLabel { color: @accent; } QLabel[text=\"@x\"] { }\n");
    ASSERT_TRUE(load.Ok()) << load.Error.toStdString();
    EXPECT_EQ(load.Theme.TitleBackground, QColor(0x37, 0x94, 0xff));
    EXPECT_EQ(load.Theme.HintText, QColor(10, 20, 30));
    EXPECT_EQ(load.Theme.TitleSpacing, 12);
    EXPECT_EQ(load.Theme.HintBackground, QColor(Qt::white)); // left out: the default
    EXPECT_TRUE(load.Theme.StyleSheet.contains(QStringLiteral("QLabel { color: #3794ff; }")));
    EXPECT_TRUE(load.Theme.StyleSheet.contains(QStringLiteral("\"@x\""))); // a string is left as it is
    EXPECT_FALSE(load.Theme.StyleSheet.contains(QStringLiteral("@accent")));
    EXPECT_FALSE(load.Theme.StyleSheet.contains(QStringLiteral("@title-spacing")));
}

TEST(ThemeFile, UnusableContentsAreRefusedWithAReason) {
    const struct {
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"", "файл пуст"},
        {" \r\n\t\n", "файл пуст"},
        {QByteArray("QLabel {}\0\0\0", 12), "двоичные данные"},
        {"QLabel { color: red; } \xC3\x28", "двоичные данные"}, // not UTF-8
        {"QLabel { color: @nothing; }", "строка 1: неизвестное имя «@nothing»"},
        {"@a: #fff;\n@b @a;\n", "строка 2: ожидалось «@имя: значение;»"},
        {"@title-background: banana;\n", "строка 1: «@title-background» должно быть цветом"},
        {"\n@title-spacing: -3;\n", "строка 2: «@title-spacing» должно быть числом"},
        {"QLabel { color: red; ", "не хватает закрывающей скобки"},
        {"QLabel { color: red; } }", "лишняя закрывающая скобка"},
        {"QLabel {}\n/* never closed", "строка 2: комментарий «/*» не закрыт"},
        {"QLabel[text=\"open] {}", "кавычки не закрыты"},
        {"/* only words */ color: red;", "нет ни одного правила"},
    };
    for (const auto& c : cases) {
        const TsThemeLoad load = Parse(c.bytes);
        EXPECT_FALSE(load.Ok()) << c.reason;
        EXPECT_TRUE(load.Error.contains(QString::fromUtf8(c.reason))) << load.Error.toStdString();
    }
}

TEST(ThemeFile, OnlyARegularFileOfAtMostOneMegabyteIsRead) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir dir(folder.path());
    const TsTheme defaults = Defaults();

    QFile good(dir.filePath(QStringLiteral("good.skin")));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write("QLabel { color: red; }");
    good.close();
    EXPECT_TRUE(LoadThemeFile(QStringLiteral("good"), good.fileName(), defaults).Ok());
    ASSERT_TRUE(QFile::link(good.fileName(), dir.filePath(QStringLiteral("link.skin"))));
    EXPECT_TRUE(
        LoadThemeFile(QStringLiteral("link"), dir.filePath(QStringLiteral("link.skin")), defaults).Ok());

    ASSERT_TRUE(dir.mkdir(QStringLiteral("folder.skin")));
    const QString fifo = dir.filePath(QStringLiteral("pipe.skin"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0); // opening it would wait for a writer
    QFile big(dir.filePath(QStringLiteral("big.skin")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(10 * 1024 * 1024));
    big.close();
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("dangling.skin"))));

    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"folder.skin", "это папка"},  {"pipe.skin", "не обычный файл"},
        {"big.skin", "слишком велик"}, {"dangling.skin", "ссылка ведёт в никуда"},
        {"absent.skin", "файла нет"},
    };
    for (const auto& c : cases) {
        const TsThemeLoad load =
            LoadThemeFile(QStringLiteral("x"), dir.filePath(QString::fromUtf8(c.file)), defaults);
        EXPECT_TRUE(load.Error.contains(QString::fromUtf8(c.reason)))
            << c.file << ": " << load.Error.toStdString();
    }

    if (geteuid() != 0) { // root reads any file
        ASSERT_TRUE(good.setPermissions(QFileDevice::WriteOwner));
        EXPECT_TRUE(LoadThemeFile(QStringLiteral("good"), good.fileName(), defaults)
                        .Error.contains(QStringLiteral("не открывается")));
    }
}

TEST(ThemeFile, TheBuiltInAndEveryShippedThemeParse) {
    TsSkinManager manager;
    EXPECT_EQ(manager.SkinName(), QStringLiteral("Windows 10 (внутренний)"));
    EXPECT_FALSE(manager.Theme().StyleSheet.isEmpty());
    const QDir shipped(QStringLiteral(STELVORN_SHIPPED_SKINS_DIR));
    const QStringList files = shipped.entryList({QStringLiteral("*.skin")}, QDir::Files);
    EXPECT_GE(files.size(), 3);
    for (const QString& file : files) {
        const TsThemeLoad load = LoadThemeFile(file, shipped.filePath(file), Defaults());
        EXPECT_TRUE(load.Ok()) << file.toStdString() << ": " << load.Error.toStdString();
    }
}
