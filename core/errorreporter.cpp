#include "core/errorreporter.h"

#include "core/logging.h"
#include "core/messagebox.h"
#include "core/modmain.h"

#include <cstring>

namespace orvane::core {

QString errorHeading(qint32 kind)
{
    switch (kind) {
    case kErrorMediaPlayer:
        return QStringLiteral("Windows Media Player Error!");
    case kErrorRealPlayer:
        return QStringLiteral("RealPlayer Error!");
    case kErrorMci:
        return QStringLiteral("MCI divice Error!");
    default:
        return QStringLiteral("Unknown Error!");
    }
}

void ShowError(qint32 kind, quint32 code, const QString &text, bool quiet, bool systemText)
{
    if (!modMain::ShowErrors || quiet)
        return;
    QString message = text;
    if (systemText) {
        // The low word of a Windows-style code carries the system error.
        message = QString::fromLocal8Bit(std::strerror(int(code & 0xFFFFu)));
    }
    const QString body = errorHeading(kind) + QStringLiteral("\r\n\r\n") + message;
    qCWarning(lcCore).noquote() << errorHeading(kind) << message;
    messageBox().show(body, kApplicationTitle + QStringLiteral(" Error!!"), MessageIcon::Critical,
                      MessageButtons::Ok);
}

} // namespace orvane::core
