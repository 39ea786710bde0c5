// TSettingsFile on the disk: typed reads and writes, atomic replacement, refused writes.
#include "settings_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <limits>
#include <new>
#include <stdexcept>

namespace {

const QString Section = QStringLiteral("INTERFACE");

class SettingsFileTest : public ::testing::Test {
  protected:
    QString Folder() const { return dir_.path() + u'/'; }
    QString Path() const { return SettingsFilePath(Folder()); }

    void Put(const QByteArray& bytes) const {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray Bytes() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList FolderEntries() const {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir dir_;
};

bool RunningAsRoot() {
    return geteuid() == 0;
}

TEST(SettingsFilePath, KeepsTheFolderSeparator) {
    EXPECT_EQ(SettingsFilePath(QStringLiteral("/opt/стелворн/")),
              QStringLiteral("/opt/стелворн//стелворн.ini"));
}

TEST_F(SettingsFileTest, TypedReads) {
    Put("[interface]\r\n"
        "ShowHints=0\r\nSkins=2\r\nFlagYes=yes\r\nFlagEmpty=\r\n"
        "ClimaticRegion=abc\r\nNumber=0x0A\r\nWidth=$A\r\nWidthHor= 10 \r\nIntervalMultiplicity=10a\r\n"
        "Length=2.5\r\nDepth=0,3\r\nThickness=\"1,25\"\r\n"
        "TopLayer=  'Глина (20)'  \r\nBottomLayer=\r\n");
    TSettingsFile file(Path());
    EXPECT_FALSE(file.ReadBool(Section, "ShowHints", true));
    EXPECT_TRUE(file.ReadBool(Section, "Skins", false));  // non-zero
    EXPECT_TRUE(file.ReadBool(Section, "FlagYes", true)); // not an integer: the default
    EXPECT_FALSE(file.ReadBool(Section, "FlagYes", false));
    EXPECT_TRUE(file.ReadBool(Section, "FlagEmpty", true));
    EXPECT_TRUE(file.ReadBool(Section, "Missing", true));

    EXPECT_EQ(file.ReadInteger(Section, "ClimaticRegion", 2), 2);
    EXPECT_EQ(file.ReadInteger(Section, "Number", 1), 10);
    EXPECT_EQ(file.ReadInteger(Section, "Width", 50), 10);
    EXPECT_EQ(file.ReadInteger(Section, "WidthHor", 40), 10);
    EXPECT_EQ(file.ReadInteger(Section, "IntervalMultiplicity", 1), 1);

    EXPECT_EQ(file.ReadFloat(Section, "Length", 3.0, u','), 3.0); // a point under a decimal comma
    EXPECT_EQ(file.ReadFloat(Section, "Length", 3.0, u'.'), 2.5);
    EXPECT_EQ(file.ReadFloat(Section, "Depth", 0.5, u','), 0.3);
    EXPECT_EQ(file.ReadFloat(Section, "Depth", 0.5, u'.'), 0.5);
    EXPECT_EQ(file.ReadFloat(Section, "Thickness", 1.5, u','), 1.25);
    EXPECT_EQ(file.ReadFloat(Section, "Missing", 1.5, u','), 1.5);

    EXPECT_EQ(file.ReadString(Section, "TopLayer", "x"), QStringLiteral("Глина (20)"));
    EXPECT_EQ(file.ReadString(Section, "BottomLayer", "x"), QString()); // empty, not the default
    EXPECT_EQ(file.ReadString(Section, "Missing", "x"), QStringLiteral("x"));
    EXPECT_EQ(file.ReadString("OTHER", "TopLayer", "x"), QStringLiteral("x"));
}

TEST_F(SettingsFileTest, FirstWritesCreateTheFile) {
    {
        TSettingsFile file(Path());
        EXPECT_FALSE(QFileInfo::exists(Path())); // creating touches no disk
        file.WriteBool(Section, "ShowHints", true);
        EXPECT_EQ(Bytes(), QByteArray("[INTERFACE]\r\nShowHints=1\r\n")); // on the disk at once
        file.WriteInteger(Section, "ClimaticRegion", 2);
        file.WriteString(Section, "TopLayer", QStringLiteral("Суглинок полутвёрдый лёссовидный (100)"));
        file.WriteFloat(Section, "Thickness", 1.5, u',');
        file.WriteFloat(Section, "Length", 3.0, u',');
        file.WriteInteger(Section, "Width", -50);
        file.WriteString(Section, "SkinName", QStringLiteral("Windows 10 (внутренний)"));
    }
    EXPECT_EQ(Bytes(), QStringLiteral("[INTERFACE]\r\nShowHints=1\r\nClimaticRegion=2\r\n"
                                      "TopLayer=Суглинок полутвёрдый лёссовидный (100)\r\n"
                                      "Thickness=1,5\r\nLength=3\r\nWidth=-50\r\n"
                                      "SkinName=Windows 10 (внутренний)\r\n")
                           .toUtf8());
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("стелворн.ini")}); // no temporary file left

    TSettingsFile again(Path());
    EXPECT_TRUE(again.ReadBool(Section, "ShowHints", false));
    EXPECT_EQ(again.ReadFloat(Section, "Thickness", 0, u','), 1.5);
    EXPECT_EQ(again.ReadInteger(Section, "Width", 0), -50);
    EXPECT_EQ(again.ReadString(Section, "SkinName", ""), QStringLiteral("Windows 10 (внутренний)"));
}

TEST_F(SettingsFileTest, RewritesKeepOtherContent) {
    Put("; kept\r\n[Other]\nA=1\n\n[INTERFACE]\r\nnumber=5\r\nUnknown=x\r\n\r\n[Tail]\r\nB=2");
    {
        TSettingsFile file(Path());
        file.WriteInteger(Section, "Number", 10);
        file.WriteInteger(Section, "Width", 50);
        file.WriteString("Extra", "Key", "v");
    }
    EXPECT_EQ(Bytes(),
              QByteArray("; kept\r\n[Other]\nA=1\n\n[INTERFACE]\r\nNumber=10\r\nUnknown=x\r\nWidth=50\r\n"
                         "\r\n[Tail]\r\nB=2\r\n[Extra]\r\nKey=v\r\n"));
}

TEST_F(SettingsFileTest, ReadingChangesNothing) {
    TSettingsFile missing(Path());
    EXPECT_EQ(missing.ReadInteger(Section, "Number", 1), 1);
    EXPECT_FALSE(QFileInfo::exists(Path()));

    const QByteArray content("[INTERFACE]\nNumber=3");
    Put(content);
    QFile::setPermissions(Path(), QFile::ReadOwner | QFile::ReadUser);
    const QDateTime modified = QFileInfo(Path()).lastModified();
    TSettingsFile file(Path());
    EXPECT_EQ(file.ReadInteger(Section, "Number", 1), 3);
    EXPECT_EQ(file.ReadString(Section, "Other", "d"), QStringLiteral("d"));
    EXPECT_EQ(Bytes(), content);
    EXPECT_EQ(QFileInfo(Path()).lastModified(), modified);
}

TEST_F(SettingsFileTest, EncodingsSurviveARewrite) {
    // Windows-1251: "Глина (20)" and a comment in the code page.
    const QByteArray cp1251(
        "; \xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8\r\n[INTERFACE]\r\nTopLayer=\xc3\xeb\xe8\xed\xe0 (20)\r\n");
    Put(cp1251);
    {
        TSettingsFile file(Path());
        EXPECT_EQ(file.ReadString(Section, "TopLayer", ""), QStringLiteral("Глина (20)"));
        file.WriteString(Section, "BottomLayer", QStringLiteral("Песок"));
    }
    EXPECT_EQ(Bytes(), cp1251 + "BottomLayer=\xcf\xe5\xf1\xee\xea\r\n");

    // UTF-16LE with its byte-order mark.
    const QString text = QStringLiteral("[INTERFACE]\r\nTopLayer=Глина (20)\r\n");
    QByteArray utf16("\xFF\xFE", 2);
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    Put(utf16);
    {
        TSettingsFile file(Path());
        EXPECT_EQ(file.ReadString(Section, "TopLayer", ""), QStringLiteral("Глина (20)"));
        file.WriteString(Section, "TopLayer", QStringLiteral("Песок"));
    }
    const QString rewritten = QStringLiteral("[INTERFACE]\r\nTopLayer=Песок\r\n");
    QByteArray expected("\xFF\xFE", 2);
    expected.append(reinterpret_cast<const char*>(rewritten.utf16()), rewritten.size() * 2);
    EXPECT_EQ(Bytes(), expected);
}

TEST_F(SettingsFileTest, ContentThatIsNoSettings) {
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 131 + 7) % 256);
    const Case cases[] = {
        {"binary garbage", garbage},
        {"a 10 MB line", "[INTERFACE]\r\nTopLayer=" + QByteArray(10 * 1024 * 1024, 'x')},
        {"a 10 MB line without section", QByteArray(10 * 1024 * 1024, '[')},
        {"no section", "Number=5\r\n"},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        Put(c.bytes);
        {
            TSettingsFile file(Path());
            EXPECT_EQ(file.ReadInteger(Section, "Number", 1), 1) << c.name;
            EXPECT_LE(file.ReadString(Section, "TopLayer", "").size(), 2047) << c.name;
            file.WriteInteger(Section, "Number", 4);
        }
        const QByteArray after = Bytes();
        EXPECT_TRUE(after.startsWith(c.bytes)) << c.name; // the old content is all still there
        EXPECT_EQ(TSettingsFile(Path()).ReadInteger(Section, "Number", 1), 4) << c.name;
    }
}

TEST_F(SettingsFileTest, NotARegularFile) {
    // A folder named like the file, and a named pipe, whose opening would wait for a writer.
    ASSERT_TRUE(QDir().mkdir(Path()));
    ASSERT_TRUE(QDir().mkdir(Path() + "/inside"));
    const QString pipe = Folder() + "pipe.ini";
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {Path(), pipe}) {
        TSettingsFile file(path);
        EXPECT_EQ(file.ReadInteger(Section, "Number", 1), 1);
        EXPECT_THROW(file.WriteInteger(Section, "Number", 4), EIniFileException);
    }
    EXPECT_TRUE(QFileInfo(Path()).isDir());
    EXPECT_TRUE(QFileInfo::exists(Path() + "/inside"));
}

TEST_F(SettingsFileTest, FileTooLargeToHoldIsLeftAlone) {
    {
        QFile big(Path());
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(TSettingsFile::MaxFileSize + 1)); // sparse: costs no disk
    }
    TSettingsFile file(Path());
    EXPECT_EQ(file.ReadInteger(Section, "Number", 1), 1);
    EXPECT_THROW(file.WriteInteger(Section, "Number", 4), EIniFileException);
    EXPECT_EQ(QFileInfo(Path()).size(), TSettingsFile::MaxFileSize + 1);
}

TEST(SettingsFileRefused, FolderThatRefusesTheWrite) {
    // Nobody may create files in /proc, not even root.
    const QString path = SettingsFilePath(QStringLiteral("/proc/"));
    TSettingsFile file(path);
    EXPECT_EQ(file.ReadInteger(Section, "Number", 1), 1);
    try {
        file.WriteBool(Section, "ShowHints", true);
        FAIL() << "the write did not raise";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Unable to write to /proc//стелворн.ini"));
        EXPECT_STREQ(error.TypeName(), "EIniFileException");
        EXPECT_EQ(ErrorTypeAndMessage(error),
                  QStringLiteral("EIniFileException: Unable to write to /proc//стелворн.ini"));
        EXPECT_STREQ(error.what(), "Unable to write to /proc//стелворн.ini");
    }
    EXPECT_THROW(TSettingsFile(SettingsFilePath("/nonexistent-folder/")).WriteInteger(Section, "A", 1),
                 EIniFileException);
}

TEST_F(SettingsFileTest, WriteProtection) {
    if (RunningAsRoot())
        GTEST_SKIP() << "root may write anywhere";
    // A write-protected folder.
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_THROW(TSettingsFile(Path()).WriteInteger(Section, "A", 1), EIniFileException);
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    // A write-protected file in a writable folder stays as it is.
    Put("[INTERFACE]\r\nA=0\r\n");
    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::ReadOwner));
    EXPECT_THROW(TSettingsFile(Path()).WriteInteger(Section, "A", 1), EIniFileException);
    EXPECT_EQ(Bytes(), QByteArray("[INTERFACE]\r\nA=0\r\n"));

    // An unreadable file: the defaults, and no write that would lose its content.
    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::WriteOwner));
    TSettingsFile unreadable(Path());
    EXPECT_EQ(unreadable.ReadInteger(Section, "A", 7), 7);
    EXPECT_THROW(unreadable.WriteInteger(Section, "A", 1), EIniFileException);
    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(Bytes(), QByteArray("[INTERFACE]\r\nA=0\r\n"));
}

TEST_F(SettingsFileTest, WriteFailingHalfWayLeavesTheOldFile) {
    const QByteArray old("[INTERFACE]\r\nShowHints=0\r\nNumber=5\r\n");
    Put(old);
    int writes = 0;
    TSettingsFile file(Path(), [&](QIODevice& device, const QByteArray& bytes) {
        ++writes;
        if (writes == 1)
            return device.write(bytes) == bytes.size();
        device.write(bytes.left(bytes.size() / 2)); // the disk fills up half-way
        return false;
    });
    file.WriteInteger(Section, "Number", 6);
    const QByteArray afterFirst = Bytes();
    EXPECT_EQ(afterFirst, QByteArray("[INTERFACE]\r\nShowHints=0\r\nNumber=6\r\n"));
    EXPECT_THROW(file.WriteString(Section, "TopLayer", QString(3000, u'ж')), EIniFileException);
    EXPECT_EQ(Bytes(), afterFirst);
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("стелворн.ini")}); // the temporary file is gone
    EXPECT_EQ(file.ReadString(Section, "TopLayer", "none"), QStringLiteral("none")); // as on the disk
}

TEST(ErrorTypeAndMessage, OtherErrors) {
    EXPECT_EQ(ErrorTypeAndMessage(std::runtime_error("disk gone")),
              QStringLiteral("std::runtime_error: disk gone"));
    EXPECT_TRUE(ErrorTypeAndMessage(std::bad_alloc()).startsWith(QStringLiteral("std::bad_alloc: ")));
}

} // namespace
