#include "fakeengines.h"

#include <cmath>

namespace orvane::test {

using namespace playback::mci;

QString FakeCdDevice::msf(double seconds) const
{
    const int whole = int(seconds);
    const int frames = int(std::lround((seconds - whole) * 75.0)) % 75;
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'))
        .arg(frames, 2, 10, QLatin1Char('0'));
}

quint32 FakeCdDevice::sendString(const QString &command, QString &reply)
{
    commands << command;
    reply.clear();
    const QStringList w = command.split(u' ');
    if (w.value(0) == u"open") {
        open = w.value(2) == u"type" && w.value(3) == u"cdaudio";
        return open ? quint32(0) : quint32(kMciInvalidDeviceName);
    }
    if (w.value(0) == u"close") {
        open = false;
        mode = QStringLiteral("stopped");
        return 0;
    }
    if (!open || w.value(1) != u"Medias")
        return kMciInvalidDeviceName;
    const QString rest = w.mid(2).join(u' ');
    if (w[0] == u"info" && rest == u"identity")
        reply = QString::number(identity);
    else if (w[0] == u"status" && rest == u"mode")
        reply = mode;
    else if (w[0] == u"status" && rest == u"current track")
        reply = QString::number(track);
    else if (w[0] == u"status" && rest == u"position")
        reply = QStringLiteral("%1:").arg(track, 2, 10, QLatin1Char('0')) + msf(position);
    else if (w[0] == u"status" && rest.startsWith(u"length track ")) {
        const int t = w.value(4).toInt();
        if (t < 1 || t > trackSeconds.size())
            return kMciOutsideRange;
        reply = msf(trackSeconds[t - 1]);
    } else if (w[0] == u"play") {
        // "play Medias from T:m:s:f to T:mm:ss:ff" or "play Medias to T:..."
        const bool from = w.value(2) == u"from";
        if (from) {
            const QStringList f = w.value(3).split(u':');
            track = f.value(0).toInt();
            position = f.value(1).toInt() * 60 + f.value(2).toInt() + f.value(3).toInt() / 75.0;
        }
        endOfPlay = trackSeconds.value(track - 1);
        mode = QStringLiteral("playing");
    } else if (w[0] == u"pause") {
        if (mode == u"playing")
            mode = QStringLiteral("paused");
    } else if (w[0] == u"stop") {
        mode = QStringLiteral("stopped");
    } else if (w[0] == u"seek") {
        mode = QStringLiteral("stopped");
        if (rest == u"to start") {
            position = 0.0;
        } else {
            const QStringList f = w.value(3).split(u':');
            track = f.value(0).toInt();
            position = f.value(1).toInt() * 60 + f.value(2).toInt() + f.value(3).toInt() / 75.0;
        }
    } else if (w[0] == u"set") {
        // time format: only tmsf is used
    } else {
        return kMciUnrecognizedCommand;
    }
    return 0;
}

} // namespace orvane::test
