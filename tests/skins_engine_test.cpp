// The theme engine: look-up and replacement of names, theming on and off, unusable themes, and the
// theme selector bound to it.
#include "TsSkinManager.h"
#include "TsSkinSelector.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString BuiltIn = QStringLiteral("Windows 10 (внутренний)");

class Engine : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        Write("Графит", "@title-background: #1f1f1f;\nQLabel { color: #e8e8e8; }\n");
        Write("альфа", "QLabel { color: #010101; }\n");
        Write("Пустая", "");
        manager = std::make_unique<TsSkinManager>();
        manager->ReportError = [this](const QString& text) { reports << text; };
        manager->SetSkinDirectory(folder.path());
    }
    void TearDown() override { manager.reset(); }

    void Write(const char* name, const QByteArray& bytes) {
        QFile file(QDir(folder.path()).filePath(QString::fromUtf8(name) + QStringLiteral(".skin")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
    std::unique_ptr<TsSkinManager> manager;
    QStringList reports;
};

} // namespace

TEST_F(Engine, ANameIsLookedUpInTheFolderThenBuiltInExactlyElseTheBuiltInThemeSilently) {
    EXPECT_EQ(manager->InternalSkins(), QStringList{BuiltIn});
    EXPECT_TRUE(manager->Active());

    manager->SetSkinName(QStringLiteral("Графит"));
    EXPECT_EQ(manager->SkinName(), QStringLiteral("Графит"));
    EXPECT_EQ(manager->Theme().TitleBackground, QColor(0x1f, 0x1f, 0x1f));
    EXPECT_TRUE(qApp->styleSheet().contains(QStringLiteral("#e8e8e8")));

    // Case counts; so do names that would leave the folder.
    for (const char* name : {"графит", "Графит ", "../Графит", "", "Нет такой"}) {
        manager->SetSkinName(QStringLiteral("Графит"));
        manager->SetSkinName(QString::fromUtf8(name));
        EXPECT_EQ(manager->SkinName(), BuiltIn) << name;
        EXPECT_EQ(qApp->styleSheet(), manager->Theme().StyleSheet);
    }
    EXPECT_TRUE(reports.isEmpty());

    // A theme in the folder wins over a built-in one of the same name.
    Write("Windows 10 (внутренний)", "QLabel { color: #123456; }\n");
    manager->SetSkinName(BuiltIn);
    EXPECT_TRUE(qApp->styleSheet().contains(QStringLiteral("#123456")));
}

TEST_F(Engine, WhileOffTheNameIsOnlyStoredAndSwitchingOnAppliesIt) {
    manager->SetActive(false);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    manager->SetSkinName(QStringLiteral("Пустая")); // unusable, but not looked at while off
    manager->SetSkinName(QStringLiteral("Нет такой"));
    EXPECT_EQ(manager->SkinName(), QStringLiteral("Нет такой"));
    EXPECT_TRUE(reports.isEmpty());

    manager->SetActive(true);
    EXPECT_EQ(manager->SkinName(), BuiltIn);
    EXPECT_FALSE(qApp->styleSheet().isEmpty());

    manager->SetSkinName(QStringLiteral("альфа"));
    manager->SetActive(false);
    EXPECT_EQ(manager->SkinName(), QStringLiteral("альфа")); // off keeps the name
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    manager->SetActive(true);
    EXPECT_TRUE(qApp->styleSheet().contains(QStringLiteral("#010101")));
}

TEST_F(Engine, AnUnusableThemeIsReportedInRussianAndThePreviousOneStays) {
    QDir(folder.path()).mkdir(QStringLiteral("Папка.skin"));
    manager->SetSkinName(QStringLiteral("Графит"));
    const QString sheet = qApp->styleSheet();

    Write("Опечатка", "QLabel { color: red; } QPushButton ]] { }\n"); // Qt would drop it whole
    for (const char* name : {"Пустая", "Папка", "Опечатка"}) {
        reports.clear();
        manager->SetSkinName(QString::fromUtf8(name));
        ASSERT_EQ(reports.size(), 1) << name;
        EXPECT_TRUE(reports[0].startsWith(
            QStringLiteral("Не могу загрузить тему «%1»:").arg(QString::fromUtf8(name))));
        EXPECT_TRUE(reports[0].contains(QStringLiteral("Оставлена тема «Графит».")));
        EXPECT_EQ(manager->SkinName(), QStringLiteral("Графит"));
        EXPECT_EQ(qApp->styleSheet(), sheet);
    }

    // Switching on with a stored name that cannot be used keeps the standard look.
    manager->SetActive(false);
    manager->SetSkinName(QStringLiteral("Пустая"));
    reports.clear();
    manager->SetActive(true);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Оставлен стандартный вид окна.")));
    EXPECT_FALSE(manager->Active());
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

TEST_F(Engine, TheSelectorOffersStandardThenEveryThemeSortedWithoutRegardToCase) {
    QDir(folder.path()).mkdir(QStringLiteral("Папка.skin"));
    QFile note(QDir(folder.path()).filePath(QStringLiteral("note.txt"))); // not a theme: another suffix
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    TsSkinSelector selector(manager.get());
    QStringList items;
    for (int i = 0; i < selector.count(); ++i)
        items << selector.itemText(i);
    EXPECT_EQ(items,
              (QStringList{QStringLiteral("Standard theme"), BuiltIn, QStringLiteral("альфа"),
                           QStringLiteral("Графит"), QStringLiteral("Папка"), QStringLiteral("Пустая")}));
    EXPECT_EQ(selector.currentText(), BuiltIn);
    auto* model = qobject_cast<QStandardItemModel*>(selector.model());
    EXPECT_TRUE(model->item(0)->isEnabled());

    // A theme put into the folder later is there when the list opens.
    Write("Бета", "QLabel { color: #020202; }\n");
    selector.showPopup();
    selector.hidePopup();
    EXPECT_GE(selector.findText(QStringLiteral("Бета")), 0);
}

TEST_F(Engine, ChoosingInTheSelectorSetsTheThemeOrSwitchesThemingOff) {
    TsSkinSelector selector(manager.get());
    auto choose = [&](const QString& text) {
        const int index = selector.findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        selector.setCurrentIndex(index);
        emit selector.activated(index);
    };
    auto* model = qobject_cast<QStandardItemModel*>(selector.model());

    choose(QStringLiteral("Графит"));
    EXPECT_EQ(manager->SkinName(), QStringLiteral("Графит"));
    EXPECT_TRUE(manager->Active());

    choose(QStringLiteral("Standard theme"));
    EXPECT_FALSE(manager->Active());
    EXPECT_EQ(manager->SkinName(), QStringLiteral("Графит"));
    EXPECT_EQ(selector.currentIndex(), 0);
    EXPECT_FALSE(model->item(0)->isEnabled());
    EXPECT_TRUE(qApp->styleSheet().isEmpty());

    // From the standard look, a broken theme changes nothing.
    choose(QStringLiteral("Пустая"));
    EXPECT_EQ(reports.size(), 1);
    EXPECT_FALSE(manager->Active());
    EXPECT_EQ(manager->SkinName(), QStringLiteral("Графит"));
    EXPECT_EQ(selector.currentIndex(), 0);

    choose(QStringLiteral("альфа"));
    EXPECT_TRUE(manager->Active());
    EXPECT_EQ(manager->SkinName(), QStringLiteral("альфа"));
    EXPECT_EQ(selector.currentText(), QStringLiteral("альфа"));
    EXPECT_TRUE(model->item(0)->isEnabled());

    // The keyboard steps over nothing but the list's own order.
    selector.setFocus();
    QTest::keyClick(&selector, Qt::Key_Down);
    EXPECT_EQ(manager->SkinName(), QStringLiteral("Графит"));
}
