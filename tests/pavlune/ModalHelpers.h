#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QAbstractButton>
#include <QTimer>

#include <functional>

// Runs the action on the next modal window that opens (a dialog or a message box), from
// inside its event loop.
inline void WhenModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

// Answers the next message box with the button of that text, noting the box's title and text.
struct MessageBoxAnswer {
    QString title;
    QString text;
    bool shown = false;
};

inline void AnswerMessageBox(const QString& buttonText, MessageBoxAnswer* seen = nullptr) {
    WhenModal([buttonText, seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return;
        if (seen) {
            seen->title = box->windowTitle();
            seen->text = box->text();
            seen->shown = true;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == buttonText) {
                button->click();
                return;
            }
        }
        box->reject();
    });
}
