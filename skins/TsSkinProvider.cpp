#include "TsSkinProvider.h"

#include "TsSkinManager.h"

#include <QApplication>
#include <QBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

// Whether only the platform may place a window (Wayland): a window cannot move itself there.
bool OnlyThePlatformPlacesWindows() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QColor Hover(const QColor& text) {
    QColor c = text;
    c.setAlpha(40);
    return c;
}

} // namespace

TsTitleButton::TsTitleButton(Kind kind, QWidget* parent) : QAbstractButton(parent), kind_(kind) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    static const char* const names[] = {"MinimizeButton", "MaximizeButton", "CloseButton"};
    static const char16_t* const texts[] = {u"Свернуть", u"Развернуть", u"Закрыть"};
    setObjectName(QLatin1String(names[static_cast<int>(kind)]));
    setAccessibleName(QString::fromUtf16(texts[static_cast<int>(kind)]));
}

void TsTitleButton::paintEvent(QPaintEvent*) {
    auto* bar = static_cast<TsTitleBar*>(parentWidget());
    QPainter painter(this);
    QColor glyph = bar->TitleColour();
    if (underMouse() || isDown()) {
        if (kind_ == Kind::Close) {
            painter.fillRect(rect(), isDown() ? QColor(0xf1, 0x70, 0x7a) : QColor(0xe8, 0x11, 0x23));
            glyph = Qt::white;
        } else {
            painter.fillRect(rect(), Hover(glyph));
        }
    }
    painter.setPen(QPen(glyph, 1));
    const QPoint c = rect().center();
    switch (kind_) {
    case Kind::Minimize:
        painter.drawLine(c.x() - 5, c.y(), c.x() + 5, c.y());
        break;
    case Kind::Maximize:
        if (window()->isMaximized()) {
            painter.drawRect(c.x() - 5, c.y() - 3, 8, 8);
            painter.drawLine(c.x() - 3, c.y() - 5, c.x() + 5, c.y() - 5);
            painter.drawLine(c.x() + 5, c.y() - 5, c.x() + 5, c.y() + 3);
        } else {
            painter.drawRect(c.x() - 5, c.y() - 5, 10, 10);
        }
        break;
    case Kind::Close:
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawLine(QPointF(c.x() - 5, c.y() - 5), QPointF(c.x() + 5, c.y() + 5));
        painter.drawLine(QPointF(c.x() - 5, c.y() + 5), QPointF(c.x() + 5, c.y() - 5));
        break;
    }
}

TsTitleBar::TsTitleBar(TsSkinManager* manager, QWidget* window)
    : QWidget(window), manager_(manager), window_(window) {
    setObjectName(QStringLiteral("sTitleBar"));
    setFixedHeight(kHeight);
    setMouseTracking(true);
    MinimizeButton = new TsTitleButton(TsTitleButton::Kind::Minimize, this);
    MaximizeButton = new TsTitleButton(TsTitleButton::Kind::Maximize, this);
    CloseButton = new TsTitleButton(TsTitleButton::Kind::Close, this);
    connect(MinimizeButton, &QAbstractButton::clicked, window_, &QWidget::showMinimized);
    connect(MaximizeButton, &QAbstractButton::clicked, this, [this] {
        if (window_->isMaximized())
            window_->showNormal();
        else
            window_->showMaximized();
    });
    connect(CloseButton, &QAbstractButton::clicked, window_, &QWidget::close);
}

void TsTitleBar::SetAddedTitle(const QString& text) {
    addedTitle_ = text;
    update();
}

QFont TsTitleBar::AddedTitleFont() const {
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setItalic(true);
    return font;
}

QRect TsTitleBar::CaptionRect() const {
    const int width = fontMetrics().horizontalAdvance(window_->windowTitle());
    return {10, 0, width, height()};
}

QRect TsTitleBar::AddedTitleRect() const {
    if (addedTitle_.isEmpty())
        return {};
    const int left = CaptionRect().right() + 1 + manager_->Theme().TitleSpacing;
    const int width = QFontMetrics(AddedTitleFont()).horizontalAdvance(addedTitle_);
    return {left, 0, width, height()};
}

QColor TsTitleBar::TitleColour() const {
    const TsTheme& theme = manager_->Theme();
    return window_->isActiveWindow() ? theme.TitleTextActive : theme.TitleTextInactive;
}

void TsTitleBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), manager_->Theme().TitleBackground);
    painter.setPen(TitleColour());
    // Both titles end before the buttons, cut with an ellipsis where the window is too narrow.
    const int end = MinimizeButton->x() - 4;
    const QRect caption = CaptionRect();
    painter.setFont(font());
    painter.drawText(QRect(caption.left(), 0, std::max(0, end - caption.left()), height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(window_->windowTitle(), Qt::ElideRight, end - caption.left()));
    const QRect added = AddedTitleRect();
    if (added.isValid() && added.left() < end) {
        painter.setFont(AddedTitleFont());
        const int room = end - added.left();
        painter.drawText(QRect(added.left(), 0, room, height()), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetrics(AddedTitleFont()).elidedText(addedTitle_, Qt::ElideRight, room));
    }
}

void TsTitleBar::resizeEvent(QResizeEvent*) {
    const QSize button = CloseButton->sizeHint();
    int x = width();
    for (TsTitleButton* b : {CloseButton, MaximizeButton, MinimizeButton}) {
        x -= button.width();
        b->setGeometry(x, 0, button.width(), height());
    }
}

TsSkinProvider::TsSkinProvider(TsSkinManager* manager, QWidget* window)
    : QObject(window), manager_(manager), window_(window),
      layout_(qobject_cast<QBoxLayout*>(window->layout())), titleBar_(new TsTitleBar(manager, window)) {
    Q_ASSERT(layout_);
    layout_->insertWidget(0, titleBar_);
    layout_->setSpacing(0);
    titleBar_->hide();
    window_->setMouseTracking(true);
    window_->installEventFilter(this);
    titleBar_->installEventFilter(this);
    connect(manager_, &TsSkinManager::SkinChanged, this, &TsSkinProvider::Update);
    Update();
}

TsSkinProvider* TsSkinProvider::ForDialog(TsSkinManager* manager, QWidget* dialog) {
    auto* client = new QWidget(dialog);
    client->setObjectName(QStringLiteral("sDialogClient"));
    // Moving the layout moves its controls onto the client; within one window the focus order
    // stays as it was.
    if (QLayout* own = dialog->layout())
        client->setLayout(own);
    auto* frame = new QVBoxLayout(dialog);
    frame->setContentsMargins(QMargins());
    frame->addWidget(client, 1);
    auto* provider = new TsSkinProvider(manager, dialog);
    provider->frameOnly_ = true;
    return provider;
}

QMargins TsSkinProvider::FrameMargins() const {
    if (themed_)
        return {kBorder, TsTitleBar::kHeight, kBorder, kBorder};
    return lastSystemFrame_;
}

void TsSkinProvider::SetMinimumOuterSize(QSize size) {
    minimumOuter_ = size;
    UpdateMinimum();
}

void TsSkinProvider::UpdateMinimum() {
    if (!minimumOuter_.isValid())
        return;
    if (themed_) {
        window_->setMinimumSize(minimumOuter_);
        return;
    }
    const QMargins m = lastSystemFrame_;
    window_->setMinimumSize(minimumOuter_.width() - m.left() - m.right(),
                            minimumOuter_.height() - m.top() - m.bottom());
}

void TsSkinProvider::Update() {
    const bool themed = manager_->Active();
    titleBar_->update();
    if (themed == themed_ && titleBar_->isVisibleTo(window_) == themed)
        return;
    const bool visible = window_->isVisible();
    const Qt::WindowStates states = window_->windowState();
    const QRect outer = window_->frameGeometry();
    const QMargins before = FrameMargins();
    themed_ = themed;
    const QMargins after = FrameMargins();

    if (window_->testAttribute(Qt::WA_WState_Created)) {
        window_->setWindowFlag(Qt::FramelessWindowHint, themed); // hides a shown window
    } else {
        // No native window yet: it takes the flags when it is made. Setting them the usual way
        // would re-parent the window and polish every control built so far once more.
        Qt::WindowFlags flags = window_->windowFlags();
        window_->overrideWindowFlags(flags.setFlag(Qt::FramelessWindowHint, themed));
    }
    titleBar_->setVisible(themed);
    const bool bordered = themed && !(states & (Qt::WindowMaximized | Qt::WindowFullScreen));
    layout_->setContentsMargins(bordered ? QMargins(kBorder, 0, kBorder, kBorder) : QMargins());
    window_->setCursor(QCursor());
    UpdateMinimum();
    if (!visible) {
        // Not shown yet: the client area keeps its size under either title bar.
        const QSize own = themed ? QSize(after.left() + after.right(), after.top() + after.bottom())
                                 : QSize(-before.left() - before.right(), -before.top() - before.bottom());
        // A window not sized yet takes its size from its layout, title bar included.
        if (window_->testAttribute(Qt::WA_Resized))
            window_->resize(window_->size() + own);
        return;
    }
    // Shown: the window stays where it is, as large as it was on screen.
    window_->setGeometry(themed ? outer : outer.marginsRemoved(after));
    window_->setWindowState(states);
    window_->show();
    // Where the platform already knows the new frame, make the outer rectangle the old one exactly.
    const QRect now = window_->frameGeometry();
    if (!(states & (Qt::WindowMaximized | Qt::WindowFullScreen)) && now != outer)
        window_->setGeometry(window_->geometry().adjusted(outer.left() - now.left(), outer.top() - now.top(),
                                                          outer.right() - now.right(),
                                                          outer.bottom() - now.bottom()));
}

void TsSkinProvider::KeepPlatformPosition() {
    QWindow* handle = window_->windowHandle();
    if (!themed_ || !handle || OnlyThePlatformPlacesWindows() || !window_->isVisible() ||
        drag_ != Drag::None ||
        (window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        return;
    if (handle->position() != window_->pos())
        handle->setPosition(window_->pos());
}

void TsSkinProvider::NoteSystemFrame() {
    if (themed_ || !window_->isVisible())
        return;
    const QRect frame = window_->frameGeometry(), client = window_->geometry();
    const QMargins known(client.left() - frame.left(), client.top() - frame.top(),
                         frame.right() - client.right(), frame.bottom() - client.bottom());
    if (!known.isNull() && known != lastSystemFrame_) {
        lastSystemFrame_ = known;
        UpdateMinimum();
    }
}

Qt::Edges TsSkinProvider::EdgesAt(QPoint local) const {
    Qt::Edges edges;
    if (!themed_ || window_->isMaximized() || window_->isFullScreen())
        return edges;
    const int corner = 2 * kBorder; // corners reach a little along each edge
    const QSize size = window_->size();
    if (local.x() < kBorder)
        edges |= Qt::LeftEdge;
    if (local.x() >= size.width() - kBorder)
        edges |= Qt::RightEdge;
    if (local.y() < kResizeTop)
        edges |= Qt::TopEdge;
    if (local.y() >= size.height() - kBorder)
        edges |= Qt::BottomEdge;
    if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
        if (local.x() < corner)
            edges |= Qt::LeftEdge;
        if (local.x() >= size.width() - corner)
            edges |= Qt::RightEdge;
    }
    if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
        if (local.y() < corner)
            edges |= Qt::TopEdge;
        if (local.y() >= size.height() - corner)
            edges |= Qt::BottomEdge;
    }
    return edges;
}

namespace {

Qt::CursorShape CursorFor(Qt::Edges edges) {
    const bool left = edges & Qt::LeftEdge, right = edges & Qt::RightEdge;
    const bool top = edges & Qt::TopEdge, bottom = edges & Qt::BottomEdge;
    if ((left && top) || (right && bottom))
        return Qt::SizeFDiagCursor;
    if ((right && top) || (left && bottom))
        return Qt::SizeBDiagCursor;
    if (left || right)
        return Qt::SizeHorCursor;
    return Qt::SizeVerCursor;
}

} // namespace

bool TsSkinProvider::MousePress(QWidget* widget, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return false;
    const QPoint local = widget->mapTo(window_, event->position().toPoint());
    const Qt::Edges edges = EdgesAt(local);
    QWindow* handle = window_->windowHandle();
    dragStart_ = event->globalPosition().toPoint();
    dragGeometry_ = window_->geometry();
    if (edges) {
        if (!handle || !handle->startSystemResize(edges)) {
            drag_ = Drag::Resize;
            dragEdges_ = edges;
        }
        return true;
    }
    if (widget == titleBar_ && !window_->isMaximized()) {
        // The move starts once the pointer has moved a little: a window manager that takes over the
        // pointer at the press would swallow the second click of a double-click.
        drag_ = Drag::Pending;
        return true;
    }
    return false;
}

bool TsSkinProvider::MouseMove(QWidget* widget, QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (drag_ == Drag::Pending) {
        if ((global - dragStart_).manhattanLength() < QApplication::startDragDistance())
            return true;
        // By hand wherever a window may place itself (X11, with or without a window manager): the
        // window then follows the pointer exactly. A window manager's move would start from where
        // the pointer is when it takes over, losing the way travelled until then. Where only the
        // platform may move a window (Wayland) its own move is the one that works.
        QWindow* handle = window_->windowHandle();
        drag_ =
            OnlyThePlatformPlacesWindows() && handle && handle->startSystemMove() ? Drag::None : Drag::Move;
    }
    if (drag_ == Drag::Move) {
        window_->move(dragGeometry_.topLeft() + (global - dragStart_));
        return true;
    }
    if (drag_ == Drag::Resize) {
        const QPoint delta = global - dragStart_;
        QRect r = dragGeometry_;
        const QSize least = window_->minimumSize().expandedTo(QSize(1, 1));
        const QSize most = window_->maximumSize();
        if (dragEdges_ & Qt::LeftEdge)
            r.setLeft(std::clamp(r.left() + delta.x(), r.right() + 1 - most.width(),
                                 r.right() + 1 - least.width()));
        if (dragEdges_ & Qt::RightEdge)
            r.setRight(
                std::clamp(r.right() + delta.x(), r.left() - 1 + least.width(), r.left() - 1 + most.width()));
        if (dragEdges_ & Qt::TopEdge)
            r.setTop(std::clamp(r.top() + delta.y(), r.bottom() + 1 - most.height(),
                                r.bottom() + 1 - least.height()));
        if (dragEdges_ & Qt::BottomEdge)
            r.setBottom(std::clamp(r.bottom() + delta.y(), r.top() - 1 + least.height(),
                                   r.top() - 1 + most.height()));
        window_->setGeometry(r);
        return true;
    }
    const Qt::Edges edges = EdgesAt(widget->mapTo(window_, event->position().toPoint()));
    if (edges)
        widget->setCursor(CursorFor(edges));
    else
        widget->unsetCursor();
    return false;
}

bool TsSkinProvider::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ && watched != titleBar_)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (themed_)
            return MousePress(widget, static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseMove:
        if (themed_)
            return MouseMove(widget, static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseButtonRelease:
        if (drag_ != Drag::None) {
            drag_ = Drag::None;
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == titleBar_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            !EdgesAt(titleBar_->mapTo(window_, static_cast<QMouseEvent*>(event)->position().toPoint()))) {
            titleBar_->MaximizeButton->click();
            return true;
        }
        break;
    case QEvent::Leave:
        if (drag_ == Drag::None)
            widget->unsetCursor();
        break;
    case QEvent::WindowStateChange:
        // A maximised window has no border to grab.
        if (watched == window_ && themed_)
            layout_->setContentsMargins(window_->isMaximized() || window_->isFullScreen()
                                            ? QMargins()
                                            : QMargins(kBorder, 0, kBorder, kBorder));
        [[fallthrough]];
    case QEvent::ActivationChange:
    case QEvent::WindowTitleChange:
        if (watched == window_)
            titleBar_->update();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowActivate:
        // The window manager tells its frame only some time after the window is shown.
        if (watched == window_)
            NoteSystemFrame();
        break;
    case QEvent::Paint:
        if (watched == window_)
            KeepPlatformPosition();
        if (watched == window_ && !themed_)
            NoteSystemFrame();
        if (watched == window_ && themed_) {
            // The border, and whatever the client leaves uncovered (beside the tabs): the title
            // bar's colour, with an outline a shade darker.
            QPainter painter(window_);
            const QColor fill = manager_->Theme().TitleBackground;
            const QRect all = window_->rect();
            if (frameOnly_)
                painter.setClipRegion(QRegion(all) - QRegion(layout_->contentsRect()));
            painter.fillRect(all, fill);
            painter.setPen(fill.darker(140));
            painter.drawRect(all.adjusted(0, 0, -1, -1));
        }
        break;
    default:
        break;
    }
    return false;
}
