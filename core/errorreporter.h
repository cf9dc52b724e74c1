#pragma once

#include <QString>

namespace orvane::core {

// Where an error came from; chooses the heading of the message.
enum ErrorKind : qint32 {
    kErrorUnknown = 0,
    kErrorMediaPlayer = 1,
    kErrorRealPlayer = 2,
    kErrorMci = 3,
};

// The code start-up and the language check report with.
inline constexpr quint32 kErrorCodeApplication = 0x80040000u;

// The one way errors reach the user: a modal critical message box with the
// heading of the kind, a blank line and the text, titled "Orvane Error!!".
// Nothing happens while modMain::ShowErrors is false or when quiet is set.
// With systemText the text is replaced by the system's description of code.
void ShowError(qint32 kind, quint32 code, const QString &text, bool quiet, bool systemText);

// The heading line of a kind ("Unknown Error!" for any kind not listed).
QString errorHeading(qint32 kind);

} // namespace orvane::core
