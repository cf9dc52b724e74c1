#pragma once

#include <QString>

namespace orvane::core {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageResult { Ok, Cancel, Yes, No, Retry };

// The modal message box, supplied by the user-interface layer (a QMessageBox)
// and replaced by a recording fake in tests. Lower layers never show a
// window themselves.
class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    virtual MessageResult show(const QString &text, const QString &title, MessageIcon icon,
                               MessageButtons buttons) = 0;
    // The system beep that commands sound when they have nothing to do.
    virtual void beep() = 0;
};

// The service in use; without one, show() answers as if the default button
// was pressed (Ok, or Cancel/No where offered) and nothing is shown.
MessageBoxService &messageBox();
void setMessageBoxService(MessageBoxService *service);

// The application title used in captions and message titles.
inline const QString kApplicationTitle = QStringLiteral("Orvane");

} // namespace orvane::core
