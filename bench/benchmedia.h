#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace orvane::bench {

// A file made by ffmpeg in the benchmarks' media folder, once.
inline QString benchMedia(const QString &name, const QStringList &ffmpegArgs)
{
    const QString dir = QStringLiteral(ORVANE_BENCH_MEDIA_DIR);
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name;
    if (QFileInfo(path).size() > 0)
        return path;
    const QString tmp = dir + QStringLiteral("/part-") + name; // keeps the extension for ffmpeg
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                             QStringLiteral("error"), QStringLiteral("-y")} +
                     ffmpegArgs + QStringList{tmp});
    if (!ffmpeg.waitForFinished(300000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed for %s: %s\n", qPrintable(name),
                     ffmpeg.readAllStandardError().constData());
        return {};
    }
    QFile::remove(path);
    QFile::rename(tmp, path);
    return path;
}

} // namespace orvane::bench
