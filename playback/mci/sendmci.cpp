#include "playback/mci/sendmci.h"

#include "core/errorreporter.h"
#include "playback/mci/mcidevice.h"

namespace orvane::playback {

namespace {

// MCI hands back C strings: whatever follows the first NUL is not part of
// the answer, and the buffer holds at most capacity - 1 characters.
QString cutReply(QString text, qint32 capacity)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    const qsizetype room = capacity > 0 ? capacity - 1 : 0;
    if (text.size() > room)
        text.truncate(room);
    return text;
}

} // namespace

bool SendMci(const QString &command, QString &reply, qint32 capacity, quintptr callbackWindow,
             QString &errorText, bool showErrors)
{
    Q_UNUSED(callbackWindow); // replies are synchronous; nothing is posted back
    QString answer = reply;
    const quint32 code = mci::mciDevice()->sendString(command, answer);
    reply = cutReply(answer, capacity);
    errorText = code == 0 ? QString() : cutReply(mci::mciErrorText(code), 256);
    if (showErrors && code != 0) {
        core::ShowError(core::kErrorMci, 0x800403E8u + code, errorText, false, false);
    }
    return code == 0;
}

} // namespace orvane::playback
