#include "TsSkinManager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStyle>
#include <QWidget>
#include <algorithm>

// The built-in themes live in this static library's resources.
static void InitSkinResources() {
    Q_INIT_RESOURCE(skins);
}

namespace {

struct BuiltInTheme {
    const char16_t* name;
    const char* resource;
};

const BuiltInTheme kBuiltIn[] = {
    {u"Windows 10 (внутренний)", ":/stelvorn/skins/windows10.skin"},
};

// What a theme file leaves out: a light, neutral frame and hint.
TsTheme Fallbacks() {
    TsTheme t;
    t.TitleTextActive = QColor(0x00, 0x00, 0x00);
    t.TitleTextInactive = QColor(0x99, 0x99, 0x99);
    t.TitleBackground = QColor(0xff, 0xff, 0xff);
    t.HintBackground = QColor(0xff, 0xff, 0xff);
    t.HintText = QColor(0x57, 0x57, 0x57);
    t.HintBorder = QColor(0x76, 0x76, 0x76);
    t.TitleSpacing = 6;
    return t;
}

// Whether Qt takes the style sheet: Qt drops a sheet it cannot parse whole, with a warning only,
// and the window would show the standard look under a theme said to be on. A widget of its own
// parses it first, and the warning is caught.
bool QtParsesStyleSheet(const QString& sheet) {
    // A start loads the built-in theme and then the saved one, often the same sheet: its answer
    // stands.
    static QString parsed;
    if (!parsed.isEmpty() && sheet == parsed)
        return true;
    static bool failed;
    static QtMessageHandler previous;
    failed = false;
    previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (text.startsWith(QLatin1String("Could not parse")))
                failed = true;
            else if (previous)
                previous(type, context, text);
        });
    {
        QWidget probe;
        probe.setStyleSheet(sheet);
        probe.ensurePolished();
    }
    qInstallMessageHandler(previous);
    if (!failed)
        parsed = sheet;
    return !failed;
}

const BuiltInTheme* FindBuiltIn(const QString& name) {
    for (const BuiltInTheme& theme : kBuiltIn) {
        if (name == QString::fromUtf16(theme.name))
            return &theme;
    }
    return nullptr;
}

// A name that could leave the theme folder ("../x", "a/b") is never looked for there.
bool UsableAsFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && !name.contains(QChar(0)) &&
           name != QStringLiteral(".") && name != QStringLiteral("..");
}

QString ThemePath(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name + QLatin1String(kThemeFileSuffix));
}

} // namespace

TsSkinManager::TsSkinManager(QObject* parent) : QObject(parent), skinName_(BuiltInSkinName()) {
    InitSkinResources();
    theme_ = Fallbacks();
    // The design state: the built-in theme, theming on. A built-in theme always loads (a test
    // holds it to that); were it ever broken, the engine would start plain rather than report.
    ReportError = [](const QString&) {};
    Load(skinName_, Missing::UseBuiltIn);
    ReportError = nullptr;
    ApplyStyleSheet();
}

TsSkinManager::~TsSkinManager() {
    if (styled_ && qApp)
        qApp->setStyleSheet(QString());
}

QString TsSkinManager::BuiltInSkinName() {
    return QString::fromUtf16(kBuiltIn[0].name);
}

QStringList TsSkinManager::InternalSkins() const {
    QStringList names;
    for (const BuiltInTheme& theme : kBuiltIn)
        names << QString::fromUtf16(theme.name);
    return names;
}

void TsSkinManager::SetSkinDirectory(const QString& folder) {
    if (folder == skinDirectory_)
        return;
    skinDirectory_ = folder;
    emit SkinDirectoryChanged();
}

void TsSkinManager::SetSkinName(const QString& name) {
    if (!active_) {
        skinName_ = name;
        return;
    }
    if (Load(name, Missing::UseBuiltIn)) {
        ApplyStyleSheet();
        emit SkinChanged();
    }
}

void TsSkinManager::SetActive(bool on) {
    if (on == active_)
        return;
    if (on && !Load(skinName_, Missing::UseBuiltIn))
        return; // reported; the standard look stays
    active_ = on;
    ApplyStyleSheet();
    emit SkinChanged();
}

bool TsSkinManager::SelectSkin(const QString& name) {
    if (active_ && name == skinName_)
        return true;
    if (!Load(name, Missing::Refuse))
        return false;
    active_ = true;
    ApplyStyleSheet();
    emit SkinChanged();
    return true;
}

QStringList TsSkinManager::AvailableSkins() const {
    QStringList names = InternalSkins();
    const QString suffix = QLatin1String(kThemeFileSuffix);
    const QDir folder(skinDirectory_);
    // Folders and other entries named like a theme are offered too: choosing one says what is wrong.
    // The suffix is checked here, not by a name filter, which Qt would match with a regular
    // expression compiled for the purpose while the window is built.
    const QStringList entries = folder.entryList(QDir::Files | QDir::Dirs | QDir::System |
                                                 QDir::NoDotAndDotDot | QDir::CaseSensitive);
    for (const QString& entry : entries) {
        if (!entry.endsWith(suffix))
            continue;
        const QString name = entry.chopped(suffix.size());
        if (!name.isEmpty() && !names.contains(name))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

bool TsSkinManager::Load(const QString& name, Missing missing) {
    TsThemeLoad load;
    const QString path = ThemePath(skinDirectory_, name);
    const QFileInfo entry(path);
    if (UsableAsFileName(name) && (entry.exists() || entry.isSymLink())) {
        load = LoadThemeFile(name, path, Fallbacks());
    } else if (const BuiltInTheme* builtIn = FindBuiltIn(name)) {
        QFile file(QString::fromLatin1(builtIn->resource));
        if (file.open(QIODevice::ReadOnly))
            load = ParseTheme(name, file.readAll(), Fallbacks());
        else
            load.Error = QStringLiteral("встроенная тема недоступна");
    } else if (missing == Missing::UseBuiltIn) {
        return Load(BuiltInSkinName(), Missing::Refuse);
    } else {
        load.Error = QStringLiteral("такой темы нет ни в папке тем, ни среди встроенных");
    }
    if (load.Ok() && !QtParsesStyleSheet(load.Theme.StyleSheet))
        load.Error = QStringLiteral("в записи правил стиля ошибка, Qt не может его разобрать");
    if (!load.Ok()) {
        Report(name, load.Error);
        return false;
    }
    theme_ = load.Theme;
    skinName_ = name;
    return true;
}

void TsSkinManager::ApplyStyleSheet() {
    if (!qApp)
        return;
    const QString sheet = active_ ? theme_.StyleSheet : QString();
    styled_ = !sheet.isEmpty();
    if (sheet == qApp->styleSheet())
        return;
    if (sheet.isEmpty()) {
        // Qt takes a style sheet's colours back out of the controls only once its event loop runs,
        // and only out of controls already shown; a theme switched off while the window is built
        // would leave its colours in every control. So the sheet's style gives every control back
        // its own colours first (a second time does nothing).
        QStyle* themed = QApplication::style();
        for (QWidget* widget : QApplication::allWidgets()) {
            if (widget->style() == themed)
                themed->unpolish(widget);
        }
    } else if (!qApp->styleSheet().isEmpty()) {
        // One sheet for another: Qt restyles every styled control once for itself and once more
        // under each of its styled ancestors, a dozen times for a control deep in the window (a
        // theme switch took 20 ms and more). Taking the sheet off and putting the new one on
        // restyles each control twice, in all a few milliseconds; nothing is painted in between.
        qApp->setStyleSheet(QString());
    }
    qApp->setStyleSheet(sheet);
}

void TsSkinManager::Report(const QString& name, const QString& reason) {
    const QString kept = active_ ? QStringLiteral("Оставлена тема «%1».").arg(skinName_)
                                 : QStringLiteral("Оставлен стандартный вид окна.");
    const QString text = QStringLiteral("Не могу загрузить тему «%1»:\n\n%2.\n\n%3").arg(name, reason, kept);
    if (ReportError) {
        ReportError(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, ErrorCaption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
