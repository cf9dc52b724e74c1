#pragma once

#include "core/messagebox.h"

#include <QList>

namespace orvane::test {

// Records what would have been shown and answers with a preset button.
class FakeMessageBox final : public core::MessageBoxService
{
public:
    struct Shown {
        QString text;
        QString title;
        core::MessageIcon icon;
        core::MessageButtons buttons;
    };

    FakeMessageBox() { core::setMessageBoxService(this); }
    ~FakeMessageBox() override { core::setMessageBoxService(nullptr); }

    core::MessageResult show(const QString &text, const QString &title, core::MessageIcon icon,
                             core::MessageButtons buttons) override
    {
        shown.append({text, title, icon, buttons});
        return answer;
    }
    void beep() override { ++beeps; }

    QList<Shown> shown;
    int beeps = 0;
    core::MessageResult answer = core::MessageResult::Ok;
};

} // namespace orvane::test
