#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

// Answers the message boxes that the code under test opens: notes each one's caption, text and
// buttons and presses its OK button, so that a modal box does not stop the test.
class TMessageBoxWatcher {
  public:
    struct TShown {
        QString caption, text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
    };

    TMessageBoxWatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            shown.push_back({box->windowTitle(), box->text(), box->standardButtons(), box->icon()});
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start();
    }

    QList<TShown> shown;

  private:
    QTimer timer_;
};
