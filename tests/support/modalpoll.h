#pragma once

// For tests that open a modal box or dialog from the test's own thread.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace orvane::test {

// Runs action on the modal widget of type T once it shows. The polls live
// on context, so one left over from a failed test dies with it; after a
// bounded number of polls every modal widget is closed, so the test fails
// instead of hanging.
template <typename T>
void whenShown(QObject *context, std::function<void(T *)> action, int triesLeft = 500)
{
    QTimer::singleShot(10, context, [context, action = std::move(action), triesLeft] {
        auto *widget = qobject_cast<T *>(QApplication::activeModalWidget());
        if (widget && widget->isVisible()) {
            action(widget);
        } else if (triesLeft > 0) {
            whenShown<T>(context, action, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no " << T::staticMetaObject.className() << " showed";
            while (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        }
    });
}

} // namespace orvane::test
