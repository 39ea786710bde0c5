#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QTextDocument>
#include <QWidget>
#include <functional>

class TsSkinManager;
class QScreen;

// The hint texts are a small HTML subset: "<b>" and "</b>", "<i>" and "</i>", "<br>", with tag names
// in any case. A carriage return with the line feed after it is a blank, not a line break. Anything
// else is shown as it stands ("<", "&" and other tags included). Returns Qt rich text.
QString HintToHtml(const QString& hint);

// The widest a hint grows before its text wraps: 400 pixels at 96 DPI, in proportion to the
// screen's DPI.
int HintMaxWidth(const QScreen* screen);

// The hint pop-up: the text of one hint in its colours, wrapped, left-aligned; it takes neither the
// focus nor the mouse.
class TsHintWindow : public QWidget {
  public:
    struct Style {
        QColor Background, Text, Border;
    };

    TsHintWindow();

    // Shows the hint near the global point `at` (below and right of the pointer, kept on screen).
    void ShowHint(const QString& hint, QPoint at, const Style& style);
    QString Hint() const { return hint_; }
    const QTextDocument& Document() const { return document_; }
    const Style& CurrentStyle() const { return style_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTextDocument document_;
    QString hint_;
    Style style_;
};

// The hint renderer (the window's sHints1): shows the hint of the control under the resting pointer
// in a TsHintWindow instead of the toolkit's tooltip, with no time limit. The hint stays until the
// pointer leaves the control, or a click, key press or wheel turn anywhere. While theming is on it
// takes the theme's hint colours, otherwise a plain style.
class TsHints : public QObject {
  public:
    // `showHints` is the window's show-hints switch, asked each time a hint is due.
    TsHints(TsSkinManager* manager, QWidget* window, std::function<bool()> showHints);
    ~TsHints() override;

    // The pop-up, and the control whose hint it shows (null when hidden).
    TsHintWindow* HintWindow() const { return popup_; }
    QWidget* Owner() const;
    void HideHint();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TsHintWindow::Style CurrentStyle() const;

    TsSkinManager* manager_;
    QPointer<QWidget> window_;
    std::function<bool()> showHints_;
    TsHintWindow* popup_;
    QPointer<QWidget> owner_;
    QMetaObject::Connection ownerGone_;
};
