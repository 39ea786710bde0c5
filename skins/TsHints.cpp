#include "TsHints.h"

#include "TsSkinManager.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace {

constexpr int kPaddingX = 5;
constexpr int kPaddingY = 3;
constexpr int kBaseMaxWidth = 400; // at 96 DPI

// The tag at text[i] ("<b>", "</I>", "<BR>", ...) as Qt rich text, with its length; empty if none.
QString TagAt(const QString& text, qsizetype i, qsizetype& length) {
    static const char* const tags[] = {"<br>", "<b>", "</b>", "<i>", "</i>"};
    for (const char* tag : tags) {
        const QLatin1String name(tag);
        if (QStringView(text).mid(i, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
            length = name.size();
            return name;
        }
    }
    return {};
}

} // namespace

QString HintToHtml(const QString& hint) {
    QString html;
    html.reserve(hint.size() + 16);
    for (qsizetype i = 0; i < hint.size();) {
        const QChar c = hint[i];
        qsizetype length = 0;
        if (c == u'<') {
            if (const QString tag = TagAt(hint, i, length); !tag.isEmpty()) {
                html += tag;
                i += length;
                continue;
            }
        }
        if (c == u'\r' && i + 1 < hint.size() && hint[i + 1] == u'\n') {
            html += u' ';
            i += 2;
            continue;
        }
        switch (c.unicode()) {
        case u'<':
            html += QStringLiteral("&lt;");
            break;
        case u'>':
            html += QStringLiteral("&gt;");
            break;
        case u'&':
            html += QStringLiteral("&amp;");
            break;
        case u'"':
            html += QStringLiteral("&quot;");
            break;
        default:
            html += c;
        }
        ++i;
    }
    return html;
}

int HintMaxWidth(const QScreen* screen) {
    const qreal dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return static_cast<int>(std::lround(kBaseMaxWidth * dpi / 96.0));
}

TsHintWindow::TsHintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("sHintWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    document_.setDocumentMargin(0);
}

void TsHintWindow::ShowHint(const QString& hint, QPoint at, const Style& style) {
    hint_ = hint;
    style_ = style;
    QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    document_.setDefaultFont(QApplication::font());
    document_.setHtml(HintToHtml(hint));
    document_.setTextWidth(-1);
    const int maxWidth = HintMaxWidth(screen);
    const int ideal = static_cast<int>(std::ceil(document_.idealWidth()));
    document_.setTextWidth(std::min(ideal, maxWidth));
    const QSize text(static_cast<int>(std::ceil(document_.idealWidth())),
                     static_cast<int>(std::ceil(document_.size().height())));
    const QSize size(std::min(text.width(), maxWidth) + 2 * kPaddingX, text.height() + 2 * kPaddingY);

    // Below and right of the pointer; above it or further left where the screen ends.
    QRect place(at + QPoint(2, 16), size);
    if (screen) {
        const QRect area = screen->availableGeometry();
        if (place.right() > area.right())
            place.moveRight(area.right());
        if (place.bottom() > area.bottom())
            place.moveBottom(at.y() - 4);
        if (place.left() < area.left())
            place.moveLeft(area.left());
        if (place.top() < area.top())
            place.moveTop(area.top());
    }
    setGeometry(place);
    show();
    raise();
    update();
}

void TsHintWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), style_.Background);
    painter.setPen(style_.Border);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.translate(kPaddingX, kPaddingY);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, style_.Text);
    document_.documentLayout()->draw(&painter, context);
}

TsHints::TsHints(TsSkinManager* manager, QWidget* window, std::function<bool()> showHints)
    : QObject(window), manager_(manager), window_(window), showHints_(std::move(showHints)),
      popup_(new TsHintWindow) {
    qApp->installEventFilter(this);
}

TsHints::~TsHints() {
    delete popup_;
}

QWidget* TsHints::Owner() const {
    return popup_->isVisible() ? owner_.data() : nullptr;
}

void TsHints::HideHint() {
    popup_->hide();
    QObject::disconnect(ownerGone_);
    owner_.clear();
}

TsHintWindow::Style TsHints::CurrentStyle() const {
    if (manager_ && manager_->Active()) {
        const TsTheme& theme = manager_->Theme();
        return {theme.HintBackground, theme.HintText, theme.HintBorder};
    }
    const QPalette palette = QApplication::palette();
    return {palette.color(QPalette::ToolTipBase), palette.color(QPalette::ToolTipText),
            QColor(0x76, 0x76, 0x76)};
}

bool TsHints::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip: {
        if (!watched->isWidgetType() || !window_)
            break;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() != window_)
            break;
        // The first control from the one under the pointer outwards that has a hint.
        QWidget* owner = widget;
        while (owner && owner->toolTip().isEmpty() && !owner->isWindow())
            owner = owner->parentWidget();
        if (!owner || owner->toolTip().isEmpty()) {
            // No hint of ours here: the control may show a tip of its own (a help link's title).
            HideHint();
            return false;
        }
        if (!showHints_ || !showHints_()) {
            HideHint();
            return true;
        }
        if (owner == Owner() && popup_->Hint() == owner->toolTip())
            return true; // already showing: it stays where it is
        QObject::disconnect(ownerGone_);
        owner_ = owner;
        ownerGone_ = connect(owner, &QObject::destroyed, this, &TsHints::HideHint);
        popup_->ShowHint(owner->toolTip(), static_cast<QHelpEvent*>(event)->globalPos(), CurrentStyle());
        return true;
    }
    case QEvent::Leave:
    case QEvent::Hide:
    case QEvent::EnabledChange:
        if (watched == owner_.data())
            HideHint();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::ApplicationDeactivate:
        if (popup_->isVisible())
            HideHint();
        break;
    case QEvent::WindowDeactivate:
        if (watched == window_.data())
            HideHint();
        break;
    default:
        break;
    }
    return false;
}
