#pragma once

// Helpers for tests that drive real windows in the test process.
#include "core/messagebox.h"

#include <QDeadlineTimer>
#include <QTest>

#include <functional>

namespace orvane::test {

// A message box that answers OK at once and counts the beeps.
class CountingBeeps : public core::MessageBoxService
{
public:
    core::MessageResult show(const QString &, const QString &, core::MessageIcon,
                             core::MessageButtons) override
    {
        ++shown;
        return core::MessageResult::Ok;
    }
    void beep() override { ++beeps; }
    int shown = 0;
    int beeps = 0;
};

// Lets events run until the condition holds; false when it never did.
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace orvane::test
