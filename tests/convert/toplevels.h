#pragma once
// Finds the message boxes and dialogs a conversion run opens on its own.

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QtTest>

namespace toplevels {

// Waits for a visible one to appear; null when none did in time.
template <typename T>
T *waitFor(int timeout = 20000, const QString &title = QString())
{
    for (QDeadlineTimer deadline(timeout);; QTest::qWait(10)) {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *found = qobject_cast<T *>(widget);
            if (found && found->isVisible() && (title.isNull() || found->windowTitle() == title))
                return found;
        }
        if (deadline.hasExpired())
            return nullptr;
    }
}

// The completion message of a run, once it is shown.
inline QMessageBox *completionBox(int timeout = 20000)
{
    return waitFor<QMessageBox>(timeout, QStringLiteral("Kestrix Picturist"));
}

inline QAbstractButton *buttonWithText(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace toplevels
