#include "tests/e2e/e2emedia.h"

#include "tests/support/media.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace orvane::e2e {

using test::generatedMedia;

namespace {

QStringList sine(double seconds, int frequency = 440)
{
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("sine=frequency=%1:duration=%2").arg(frequency).arg(seconds)};
}

QString seconds(double value)
{
    return QString::number(value).replace(u'.', u'_');
}

std::optional<double> timeAt(const QString &status, int index)
{
    static const QRegularExpression time(QStringLiteral("(\\d+):(\\d\\d)[.,](\\d\\d)"));
    auto it = time.globalMatch(status);
    for (int i = 0; it.hasNext(); ++i) {
        const QRegularExpressionMatch m = it.next();
        if (i == index)
            return m.captured(1).toInt() * 60 + m.captured(2).toInt() +
                   m.captured(3).toInt() / 100.0;
    }
    return std::nullopt;
}

} // namespace

QString mp3Clip(const QString &title, double length)
{
    QString name = title.toLower();
    name.replace(u' ', u'-');
    return generatedMedia(
        QStringLiteral("e2e-%1-%2s.mp3").arg(name, seconds(length)),
        sine(length) + QStringList{QStringLiteral("-c:a"), QStringLiteral("libmp3lame"),
                                   QStringLiteral("-metadata"), QStringLiteral("title=") + title});
}

QString realAudioClip(double length)
{
    return generatedMedia(QStringLiteral("e2e-ra144-%1s.rm").arg(seconds(length)),
                          sine(length, 660) +
                              QStringList{QStringLiteral("-c:a"), QStringLiteral("real_144"),
                                          QStringLiteral("-ar"), QStringLiteral("8000"),
                                          QStringLiteral("-ac"), QStringLiteral("1"),
                                          QStringLiteral("-f"), QStringLiteral("rm")});
}

QString realVideoClip(double length)
{
    return generatedMedia(
        QStringLiteral("e2e-rv10-%1s.rm").arg(seconds(length)),
        QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                    QStringLiteral("testsrc=size=160x112:rate=15:duration=%1").arg(length)} +
            sine(length) +
            QStringList{QStringLiteral("-c:v"), QStringLiteral("rv10"), QStringLiteral("-c:a"),
                        QStringLiteral("real_144"), QStringLiteral("-ar"), QStringLiteral("8000"),
                        QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-shortest")});
}

QString brokenMp3()
{
    const QString path = QStringLiteral(ORVANE_TEST_MEDIA_DIR) + QStringLiteral("/e2e-broken.mp3");
    QDir().mkpath(QStringLiteral(ORVANE_TEST_MEDIA_DIR));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray(4096, 'x'));
    return path;
}

std::optional<double> statusPosition(const QString &status)
{
    return timeAt(status, 0);
}

std::optional<double> statusLength(const QString &status)
{
    return timeAt(status, 1);
}

QString statusWord(const QString &status)
{
    return status.section(QStringLiteral("     "), 1).trimmed();
}

} // namespace orvane::e2e
