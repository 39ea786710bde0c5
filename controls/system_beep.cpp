#include "system_beep.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace {

std::function<void()>& Handler() {
    static std::function<void()> handler;
    return handler;
}

constexpr char kSignName[] = "RefusedKeySign";

// A frame over the whole field, painted by hand so that no style or style sheet changes it; the
// mouse goes through it to the field. It removes itself when its time is up, and follows the field's
// size meanwhile.
class TRefusedKeySign : public QWidget {
  public:
    explicit TRefusedKeySign(QWidget* field) : QWidget(field) {
        setObjectName(QLatin1String(kSignName));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            hide();
            deleteLater();
        });
        field->installEventFilter(this);
    }

    void Restart() {
        setGeometry(parentWidget()->rect());
        raise();
        show();
        timer_.start(kRefusedKeySignMs);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parentWidget() && event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int pen = std::max(2, height() / 10);
        const QColor red(0xE0, 0x1B, 0x24);
        const QRect r = rect();
        painter.fillRect(QRect(r.left(), r.top(), r.width(), pen), red);
        painter.fillRect(QRect(r.left(), r.bottom() - pen + 1, r.width(), pen), red);
        painter.fillRect(QRect(r.left(), r.top(), pen, r.height()), red);
        painter.fillRect(QRect(r.right() - pen + 1, r.top(), pen, r.height()), red);
    }

  private:
    QTimer timer_;
};

} // namespace

void SystemBeep() {
    if (Handler())
        Handler()();
    else
        QApplication::beep();
}

void SetSystemBeepHandler(std::function<void()> handler) {
    Handler() = std::move(handler);
}

namespace {

// The sign on the field that has not timed out yet.
TRefusedKeySign* ShowingSign(const QWidget* field) {
    for (auto* sign :
         field->findChildren<TRefusedKeySign*>(QLatin1String(kSignName), Qt::FindDirectChildrenOnly))
        if (!sign->isHidden())
            return sign;
    return nullptr;
}

} // namespace

void SignalRefusedKey(QWidget* field) {
    SystemBeep();
    if (!field)
        return;
    TRefusedKeySign* sign = ShowingSign(field);
    if (!sign)
        sign = new TRefusedKeySign(field);
    sign->Restart();
}

QWidget* RefusedKeySign(const QWidget* field) {
    return ShowingSign(field);
}
