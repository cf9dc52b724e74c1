#include "tests/support/media.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace orvane::test {

QString generatedMedia(const QString &fileName, const QStringList &ffmpegArgs)
{
    const QString dir = QStringLiteral(ORVANE_TEST_MEDIA_DIR);
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + fileName;
    if (QFileInfo(path).size() > 0)
        return path;

    // Several test processes may ask at once: write aside, then rename.
    const QString tmp = dir + QStringLiteral("/tmp-") +
                        QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
                        fileName;
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                     QStringLiteral("error"), QStringLiteral("-y")};
    args += ffmpegArgs;
    args << tmp;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    const bool finished = ffmpeg.waitForFinished(120000);
    if (!finished || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        ADD_FAILURE() << "ffmpeg failed for " << fileName.toStdString() << ": "
                      << ffmpeg.readAllStandardError().toStdString();
        QFile::remove(tmp);
        return {};
    }
    QFile::remove(path);
    QFile::rename(tmp, path);
    return path;
}

QString toneMp3(double seconds)
{
    const QString len = QString::number(seconds);
    return generatedMedia(QStringLiteral("tone-%1s.mp3").arg(len),
                          {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=440:duration=") + len,
                           QStringLiteral("-c:a"), QStringLiteral("libmp3lame"),
                           QStringLiteral("-metadata"), QStringLiteral("title=Tone Title"),
                           QStringLiteral("-metadata"), QStringLiteral("artist=Tone Artist"),
                           QStringLiteral("-metadata"), QStringLiteral("copyright=Tone Copyright"),
                           QStringLiteral("-metadata"), QStringLiteral("comment=Tone Comment")});
}

QString toneWav(double seconds)
{
    const QString len = QString::number(seconds);
    return generatedMedia(QStringLiteral("tone-%1s.wav").arg(len),
                          {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=660:duration=") + len});
}

} // namespace orvane::test
