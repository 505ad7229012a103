#pragma once
// Answers modal dialogs that a test's action opens: the answer runs from a
// timer inside the dialog's own event loop, as soon as the dialog is the
// active modal widget.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace kxtest {

// Returns the polling timer, so that a test expecting no dialog can stop it.
template <typename Dialog>
QPointer<QTimer> whenModalShown(std::function<void(Dialog *)> answer, int attempts = 500)
{
    auto timer = std::make_shared<QPointer<QTimer>>(new QTimer);
    auto remaining = std::make_shared<int>(attempts);
    QTimer *t = *timer;
    t->setInterval(5);
    QObject::connect(t, &QTimer::timeout, [timer, remaining, answer]() {
        Dialog *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog && --*remaining > 0)
            return;
        QTimer *self = *timer;
        self->stop();
        self->deleteLater();
        if (dialog)
            answer(dialog);
    });
    t->start();
    return t;
}

} // namespace kxtest
