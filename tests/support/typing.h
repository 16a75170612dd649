#pragma once
// Typing into a widget, one key event per
// character as a keyboard of any layout delivers it: QTest::keyClicks
// knows Latin-1 characters only.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace orvane::testing {

/// Types into `target`, or into the focus widget when none is given.
inline void typeText(const QString& text, QWidget* target = nullptr) {
    for (QChar c : text) {
        if (!target) target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << "no widget has the keyboard focus";
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
}

}  // namespace orvane::testing
