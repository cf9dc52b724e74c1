#include "core/messagebox.h"

namespace orvane::core {

namespace {

class SilentMessageBox final : public MessageBoxService
{
public:
    MessageResult show(const QString &, const QString &, MessageIcon,
                       MessageButtons buttons) override
    {
        switch (buttons) {
        case MessageButtons::Ok:
            return MessageResult::Ok;
        case MessageButtons::YesNo:
            return MessageResult::No;
        default:
            return MessageResult::Cancel;
        }
    }
    void beep() override {}
};

MessageBoxService *g_service = nullptr;

} // namespace

MessageBoxService &messageBox()
{
    static SilentMessageBox silent;
    return g_service ? *g_service : silent;
}

void setMessageBoxService(MessageBoxService *service)
{
    g_service = service;
}

} // namespace orvane::core
