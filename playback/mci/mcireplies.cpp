#include "playback/mci/mcireplies.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane::playback::mci {

namespace {

// Digits and at most one decimal point after an optional sign; the number
// may not grow without bound, so long digit runs stop adding precision.
double parseNumber(const QString &text, qsizetype i)
{
    double sign = 1.0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            sign = -1.0;
        ++i;
    }
    double value = 0.0;
    double scale = 0.0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' && scale == 0.0) {
            scale = 1.0;
            continue;
        }
        if (c < u'0' || c > u'9')
            break;
        const int digit = c.unicode() - u'0';
        if (scale == 0.0) {
            value = value * 10.0 + digit;
        } else {
            scale /= 10.0;
            value += digit * scale;
        }
        if (value > 1e18)
            break;
    }
    return sign * value;
}

template <typename T> T roundedClamp(double value)
{
    const double rounded = std::nearbyint(value);
    if (rounded <= double(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (rounded >= double(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return T(rounded);
}

double field(const QStringList &fields, qsizetype index)
{
    return leadingInt16(fields.value(index));
}

} // namespace

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    return parseNumber(text, i);
}

qint16 leadingInt16(const QString &text)
{
    return roundedClamp<qint16>(leadingNumber(text));
}

qint32 leadingInt32(const QString &text)
{
    return roundedClamp<qint32>(leadingNumber(text));
}

double tmsfPositionSeconds(const QString &reply)
{
    const QStringList fields = reply.split(u':');
    return field(fields, 1) * 60.0 + field(fields, 2) + field(fields, 3) / 75.0;
}

double tmsfLengthSeconds(const QString &reply)
{
    const QStringList fields = reply.split(u':');
    return field(fields, 0) * 60.0 + field(fields, 1) + field(fields, 2) / 75.0;
}

MsfPosition msfFromSeconds(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0.0)
        seconds = 0.0;
    // No disc is longer than a day; the clamp keeps the conversion defined.
    seconds = std::min(seconds, 1e12);
    const qint64 whole = qint64(std::nearbyint(seconds));
    MsfPosition msf;
    msf.minutes = whole / 60;
    msf.seconds = int(whole % 60);
    const double fraction = seconds - std::floor(seconds);
    msf.frames = qBound(0, int(fraction * 75.0), 74);
    return msf;
}

} // namespace orvane::playback::mci
