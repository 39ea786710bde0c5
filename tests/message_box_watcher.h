#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Answers the message boxes that the code under test opens: notes each one's caption, text, buttons
// and their texts, and presses the answer (OK unless told otherwise; NoButton, or an answer the box
// does not offer, presses Escape), so that
// a modal box does not stop the test.
class TMessageBoxWatcher {
  public:
    struct TShown {
        QString caption, text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        QStringList buttonTexts;
    };

    explicit TMessageBoxWatcher(QMessageBox::StandardButton answer = QMessageBox::Ok) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            QStringList texts;
            for (QAbstractButton* button : box->buttons())
                texts << button->text();
            shown.push_back({box->windowTitle(), box->text(), box->standardButtons(), box->icon(), texts});
            if (QAbstractButton* button = box->button(answer))
                button->click();
            else // NoButton, or a box without the answer (which the test sees in `shown`)
                QTest::keyClick(box, Qt::Key_Escape);
        });
        timer_.start();
    }

    QList<TShown> shown;

  private:
    QTimer timer_;
};
