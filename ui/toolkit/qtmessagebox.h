#pragma once

#include "core/messagebox.h"

namespace orvane::ui {

// The message boxes the lower layers ask for, as QMessageBox.
class QtMessageBox final : public core::MessageBoxService
{
public:
    core::MessageResult show(const QString &text, const QString &title, core::MessageIcon icon,
                             core::MessageButtons buttons) override;
    void beep() override;
};

} // namespace orvane::ui
