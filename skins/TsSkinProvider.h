#pragma once

#include <QAbstractButton>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

class TsSkinManager;
class QBoxLayout;

// One of the three buttons at the right end of the themed title bar.
class TsTitleButton : public QAbstractButton {
  public:
    enum class Kind { Minimize, Maximize, Close };
    TsTitleButton(Kind kind, QWidget* parent);
    QSize sizeHint() const override { return {46, 30}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Kind kind_;
};

// The themed title bar: the window's caption, then after the theme's spacing the added title in
// Tahoma 8 pt italic, both in the theme's title colour for the active or inactive window; minimise,
// maximise/restore and close at the right. The added title is drawn only; the window's own title
// (and so the taskbar's) stays the caption alone.
class TsTitleBar : public QWidget {
  public:
    static constexpr int kHeight = 30;

    TsTitleBar(TsSkinManager* manager, QWidget* window);

    QString AddedTitle() const { return addedTitle_; }
    void SetAddedTitle(const QString& text);
    QFont AddedTitleFont() const;
    // Where the caption and the added title are drawn, in the bar's coordinates.
    QRect CaptionRect() const;
    QRect AddedTitleRect() const;
    // The colour the titles are drawn in now.
    QColor TitleColour() const;

    TsTitleButton *MinimizeButton, *MaximizeButton, *CloseButton;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    TsSkinManager* manager_;
    QWidget* window_;
    QString addedTitle_;
};

// The window's theme provider (sSkinProvider1). While theming is on, the window has no frame of the
// window manager's: the provider puts a TsTitleBar at the top of the window's layout and a border of
// kBorder pixels around it, moves the window when the bar is dragged (by hand, so that it follows the
// pointer exactly; the platform's own move only where a window cannot place itself, as on Wayland),
// resizes it from its edges and corners and maximises it
// on a double-click of the bar. While theming is off the window manager's frame and title bar show
// the caption alone. Switching keeps the window's place and outer size.
//
// The window must have a QBoxLayout (top to bottom) as its layout.
class TsSkinProvider : public QObject {
  public:
    static constexpr int kBorder = 8;
    static constexpr int kResizeTop = 4; // the top edge: the upper pixels of the title bar

    TsSkinProvider(TsSkinManager* manager, QWidget* window);

    // The same frame for a dialog of the program, applied where the dialog is created, before it is
    // shown: the dialog's own layout, with its margins and its controls, moves onto a client widget
    // (the focus order stays), and the provider frames that widget. The dialog keeps its own
    // background inside the frame; without a layout of its own it gets the frame alone. Any layout
    // the dialog has is fine, and the dialog may be sized before or after.
    static TsSkinProvider* ForDialog(TsSkinManager* manager, QWidget* dialog);

    TsTitleBar* TitleBar() const { return titleBar_; }
    // The frame around the client area: the provider's own while theming is on, the window
    // manager's otherwise (the designed 8, 30, 8, 8 while it is not known yet).
    QMargins FrameMargins() const;
    // The smallest outer size of the window; the client minimum follows from the frame.
    void SetMinimumOuterSize(QSize size);
    // Which edges a point (window coordinates) would resize; none when not themed or maximised.
    Qt::Edges EdgesAt(QPoint local) const;
    // Whether the window is drawn with the themed frame now.
    bool Themed() const { return themed_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Update();
    void UpdateMinimum();
    // Takes the window manager's frame, once known, into the minimum size.
    void NoteSystemFrame();
    // Where the window manager left the platform window's idea of its place behind the window's
    // own (an undecorated window just mapped), tells the platform the window's place again, so that
    // lists, menus and hints that open at a point of the screen open there.
    void KeepPlatformPosition();
    bool MousePress(QWidget* widget, QMouseEvent* event);
    bool MouseMove(QWidget* widget, QMouseEvent* event);

    TsSkinManager* manager_;
    QWidget* window_;
    QBoxLayout* layout_;
    TsTitleBar* titleBar_;
    bool themed_ = false;
    bool frameOnly_ = false; // paints its border only, not the whole window (a dialog)
    QSize minimumOuter_;
    QMargins lastSystemFrame_{8, 30, 8, 8};

    // A move or resize done by hand.
    enum class Drag { None, Pending, Move, Resize } drag_ = Drag::None;
    Qt::Edges dragEdges_;
    QPoint dragStart_;   // global pointer position at the press
    QRect dragGeometry_; // window geometry at the press
};
