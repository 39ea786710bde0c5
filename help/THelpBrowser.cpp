#include "THelpBrowser.h"

#include "help_links.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QThread>

namespace {

// The file of a resource URL of the program, or an empty name for any other URL.
QString ResourceFile(const QUrl& url) {
    if (url.scheme() != QLatin1String("qrc"))
        return {};
    return u':' + url.path();
}

// The text engine raises a heading's size by its own step for the heading level, on top of the
// size the page's style sheet gives it (h1 15 pt would be drawn at 18 pt). Where the page gives a
// text its size, that size is the one drawn: the engine's step is taken off there.
void UseThePagesTextSizes(QTextDocument& document) {
    struct Mend {
        int position, length;
        QTextCharFormat format;
    };
    std::vector<Mend> sized; // collected first: setting a format merges fragments
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextCharFormat format = it.fragment().charFormat();
            if (format.hasProperty(QTextFormat::FontSizeAdjustment) &&
                (format.hasProperty(QTextFormat::FontPointSize) ||
                 format.hasProperty(QTextFormat::FontPixelSize))) {
                format.clearProperty(QTextFormat::FontSizeAdjustment);
                sized.push_back({it.fragment().position(), it.fragment().length(), format});
            }
        }
    }
    if (sized.empty())
        return;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    for (const Mend& mend : sized) {
        cursor.setPosition(mend.position);
        cursor.setPosition(mend.position + mend.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(mend.format);
    }
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
}

} // namespace

QString WithStyleCommentsOpened(QString html) {
    // A plain search rather than a regular expression: the page is opened before the window is
    // shown, and the expression engine would be loaded and compiled for this alone.
    const auto isNameEnd = [&html](qsizetype at) {
        return at >= html.size() || html[at] == u'>' || html[at] == u'/' || html[at].isSpace();
    };
    qsizetype from = 0;
    while (true) {
        qsizetype open = html.indexOf(QLatin1String("<style"), from, Qt::CaseInsensitive);
        while (open >= 0 && !isNameEnd(open + 6))
            open = html.indexOf(QLatin1String("<style"), open + 6, Qt::CaseInsensitive);
        if (open < 0)
            break;
        const qsizetype rulesStart = html.indexOf(u'>', open + 6);
        if (rulesStart < 0)
            break;
        const qsizetype close = html.indexOf(QLatin1String("</style>"), rulesStart + 1, Qt::CaseInsensitive);
        if (close < 0)
            break;
        QString rules = html.mid(rulesStart + 1, close - rulesStart - 1);
        rules.replace(QLatin1String("<!--"), QLatin1String("    "))
            .replace(QLatin1String("-->"), QLatin1String("   "));
        html.replace(rulesStart + 1, close - rulesStart - 1, rules);
        from = rulesStart + 1 + rules.size() + 8;
    }
    return html;
}

THelpBrowser::THelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setFrameShape(QFrame::NoFrame);
    connect(this, &QTextBrowser::anchorClicked, this, &THelpBrowser::LinkActivated);
}

THelpBrowser::~THelpBrowser() {
    // Whatever the destruction itself raises reaches no one.
    blockSignals(true);
}

void THelpBrowser::Navigate(const QUrl& url) {
    const QUrl target = current_.url.isValid() ? current_.url.resolved(url) : url;
    Go(target, Move::New, 0);
}

bool THelpBrowser::GoBack() {
    return !back_.empty() && Go(back_.back().url, Move::Back, back_.back().scroll);
}

bool THelpBrowser::GoForward() {
    return !forward_.empty() && Go(forward_.back().url, Move::Forward, forward_.back().scroll);
}

void THelpBrowser::LinkActivated(const QUrl& link) {
    Navigate(link);
}

bool THelpBrowser::Go(QUrl target, Move move, int scroll) {
    bool cancel = false;
    emit BeforeNavigate2(target, cancel);
    if (cancel)
        return false;
    if (target.scheme() == QLatin1String("mailto")) {
        OpenOnDesktop(target, MessageCaption, this);
        return false;
    }
    QFile file(ResourceFile(target));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const int previousState = readyState_;
    readyState_ = READYSTATE_LOADING;
    const QByteArray html = file.readAll();
    if (html.isEmpty() && file.error() != QFileDevice::NoError) {
        readyState_ = previousState;
        return false;
    }

    const Entry left{current_.url, verticalScrollBar()->value()};
    switch (move) {
    case Move::New:
        if (left.url.isValid() && left.url != target) {
            back_.push_back(left);
            forward_.clear();
        }
        break;
    case Move::Back:
        back_.pop_back();
        forward_.push_back(left);
        break;
    case Move::Forward:
        forward_.pop_back();
        back_.push_back(left);
        break;
    }
    current_ = {target, 0};
    // The page's images resolve against current_ in loadResource.
    setHtml(WithStyleCommentsOpened(QString::fromUtf8(html)));
    UseThePagesTextSizes(*document());
    verticalScrollBar()->setValue(scroll);
    readyState_ = READYSTATE_COMPLETE;

    emit CommandStateChange(CSC_NAVIGATEFORWARD, !forward_.empty());
    emit CommandStateChange(CSC_NAVIGATEBACK, !back_.empty());
    emit NavigateComplete2(target);
    return true;
}

QVariant THelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = current_.url.isValid() ? current_.url.resolved(name) : name;
    QFile file(ResourceFile(url));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return QTextEdit::loadResource(type, name);
    return file.readAll();
}

void THelpBrowser::TakeFocus() {
    if (HasDocument())
        setFocus(Qt::OtherFocusReason);
}

void HideBodyBorder(THelpBrowser* Browser) {
    if (Browser == nullptr || !Browser->HasDocument())
        return;
    Browser->setFrameShape(QFrame::NoFrame);
    QTextFrame* body = Browser->document()->rootFrame();
    QTextFrameFormat format = body->frameFormat();
    if (format.border() != 0 || format.borderStyle() != QTextFrameFormat::BorderStyle_None) {
        format.setBorder(0);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
        body->setFrameFormat(format);
    }
}

bool NavigateAndWait(THelpBrowser& browser, const QUrl& url, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    browser.Navigate(url);
    while (browser.ReadyState() < THelpBrowser::READYSTATE_LOADED) {
        if (clock.elapsed() >= limit.count())
            return false;
        QCoreApplication::processEvents();
        if (browser.ReadyState() < THelpBrowser::READYSTATE_LOADED)
            QThread::msleep(5);
    }
    return true;
}
