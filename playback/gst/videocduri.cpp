#include "playback/gst/videocduri.h"

#include <QByteArray>
#include <QFile>
#include <QUtf8StringView>

namespace orvane::playback::gst {

namespace {

constexpr int kMaxTrack = 99;

QString schemePrefix()
{
    return QLatin1String(kVideoCdScheme) + QStringLiteral("://");
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// QByteArray::fromPercentEncoding() passes a broken escape through as it
// is, which would make two texts name one file; here it fails instead.
std::optional<QByteArray> unescape(const QByteArray &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '%') {
            bytes.append(c);
            continue;
        }
        const int high = i + 2 < text.size() ? hexValue(text.at(i + 1)) : -1;
        const int low = high >= 0 ? hexValue(text.at(i + 2)) : -1;
        if (low < 0)
            return std::nullopt;
        bytes.append(char(high * 16 + low));
        i += 2;
    }
    return bytes;
}

std::optional<int> trackNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    int track = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        track = track * 10 + (c.unicode() - '0');
    }
    if (track < 1 || track > kMaxTrack)
        return std::nullopt;
    return track;
}

} // namespace

QString videoCdUri(const QString &source, int track)
{
    if (!source.startsWith(QLatin1Char('/')) || track < 1 || track > kMaxTrack)
        return {};
    const QByteArray path = QFile::encodeName(source).toPercentEncoding("/");
    return schemePrefix() + QString::fromLatin1(path) + QLatin1Char('#') + QString::number(track);
}

std::optional<std::pair<QString, int>> parseVideoCdUri(const QString &uri)
{
    const QString prefix = schemePrefix();
    if (!uri.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    // The path is escaped, so the only '#' is the one before the track.
    const QString rest = uri.mid(prefix.size());
    const qsizetype hash = rest.indexOf(QLatin1Char('#'));
    if (hash < 0 || rest.indexOf(QLatin1Char('#'), hash + 1) >= 0)
        return std::nullopt;
    const std::optional<int> track = trackNumber(rest.mid(hash + 1));
    if (!track)
        return std::nullopt;
    // An empty authority: "orvane-vcd://host/..." or "orvane-vcd://dev/sr0"
    // would otherwise read as a path relative to wherever the player runs.
    const QString escaped = rest.left(hash);
    if (!escaped.startsWith(QLatin1Char('/')))
        return std::nullopt;
    for (QChar c : escaped) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return std::nullopt;
    }
    const std::optional<QByteArray> path = unescape(escaped.toUtf8());
    // libcdio takes a C string, and a path a QString cannot hold would come
    // back from videoCdUri() as another file.
    if (!path || path->size() < 2 || path->contains('\0') || !QUtf8StringView(*path).isValidUtf8())
        return std::nullopt;
    return std::pair{QFile::decodeName(*path), *track};
}

} // namespace orvane::playback::gst
