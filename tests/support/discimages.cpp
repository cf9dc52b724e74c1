#include "tests/support/discimages.h"

#include "tests/support/media.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvane::test {

namespace {

constexpr qint64 kSector = 2352;

QString msf(qint64 frames)
{
    return QStringLiteral("%1:%2:%3")
        .arg(frames / 75 / 60, 2, 10, QLatin1Char('0'))
        .arg(frames / 75 % 60, 2, 10, QLatin1Char('0'))
        .arg(frames % 75, 2, 10, QLatin1Char('0'));
}

// Raw 44.1 kHz stereo samples, padded to whole sectors.
QByteArray trackSamples(const ImageTrack &track, int index)
{
    if (track.data)
        return QByteArray(track.seconds * 75 * kSector, '\0');
    const QString raw = generatedMedia(
        QStringLiteral("cdtrack-%1-%2s.raw").arg(index).arg(track.seconds),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("sine=frequency=%1:duration=%2").arg(330 + 110 * index).arg(track.seconds),
         QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-ar"), QStringLiteral("44100"),
         QStringLiteral("-f"), QStringLiteral("s16le")});
    QFile file(raw);
    if (raw.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    QByteArray samples = file.readAll();
    samples.append(QByteArray((kSector - samples.size() % kSector) % kSector, '\0'));
    return samples;
}

QString cdTextLines(const QString &indent, const QString &title, const QString &performer)
{
    QString lines;
    if (!title.isEmpty())
        lines += indent + QStringLiteral("TITLE \"%1\"\n").arg(title);
    if (!performer.isEmpty())
        lines += indent + QStringLiteral("PERFORMER \"%1\"\n").arg(performer);
    return lines;
}

} // namespace

QString audioDiscImage(const QString &name, const QVector<ImageTrack> &tracks,
                       const QString &discTitle, const QString &discPerformer)
{
    const QString dir = QStringLiteral(ORVANE_TEST_MEDIA_DIR);
    QDir().mkpath(dir);
    const QString bin = dir + QLatin1Char('/') + name + QStringLiteral(".bin");
    const QString cue = dir + QLatin1Char('/') + name + QStringLiteral(".cue");

    QByteArray image;
    QString sheet = cdTextLines({}, discTitle, discPerformer);
    sheet += QStringLiteral("FILE \"%1\" BINARY\n").arg(QFileInfo(bin).fileName());
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const ImageTrack &track = tracks.at(i);
        sheet += QStringLiteral("  TRACK %1 %2\n")
                     .arg(i + 1, 2, 10, QLatin1Char('0'))
                     .arg(track.data ? QStringLiteral("MODE1/2352") : QStringLiteral("AUDIO"));
        sheet += cdTextLines(QStringLiteral("    "), track.title, track.performer);
        sheet += QStringLiteral("    INDEX 01 %1\n").arg(msf(image.size() / kSector));
        const QByteArray samples = trackSamples(track, int(i));
        if (samples.isEmpty())
            return {};
        image += samples;
    }
    for (const auto &[path, bytes] : {std::pair{bin, image}, std::pair{cue, sheet.toUtf8()}}) {
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
            ADD_FAILURE() << "cannot write " << path.toStdString();
            return {};
        }
    }
    return cue;
}

QString videoCdImage(const QString &name, const QVector<int> &clipSeconds)
{
    const QString dir = QStringLiteral(ORVANE_TEST_MEDIA_DIR);
    QDir().mkpath(dir);
    const QString cue = dir + QLatin1Char('/') + name + QStringLiteral(".cue");
    const QString bin = dir + QLatin1Char('/') + name + QStringLiteral(".bin");
    if (QFileInfo(cue).size() > 0 && QFileInfo(bin).size() > 0)
        return cue;

    QStringList args{QStringLiteral("--quiet"), QStringLiteral("-t"),      QStringLiteral("vcd2"),
                     QStringLiteral("-c"),      QFileInfo(cue).fileName(), QStringLiteral("-b"),
                     QFileInfo(bin).fileName()};
    for (int seconds : clipSeconds) {
        const QString duration = QStringLiteral("duration=") + QString::number(seconds);
        const QString clip = generatedMedia(
            QStringLiteral("vcdclip-%1s.mpg").arg(seconds),
            {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
             QStringLiteral("testsrc=size=352x288:rate=25:") + duration, QStringLiteral("-f"),
             QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("sine=") + duration,
             QStringLiteral("-target"), QStringLiteral("pal-vcd")});
        if (clip.isEmpty())
            return {};
        args << clip;
    }
    // The sheet names its .bin as given, so both are made under their final
    // names in a folder of this process and moved in, the sheet last.
    QTemporaryDir work(dir + QStringLiteral("/vcdimager-XXXXXX"));
    QProcess vcdimager;
    vcdimager.setWorkingDirectory(work.path());
    vcdimager.start(QStringLiteral("vcdimager"), args);
    const bool finished = vcdimager.waitForFinished(120000);
    if (!finished || vcdimager.exitStatus() != QProcess::NormalExit || vcdimager.exitCode() != 0) {
        ADD_FAILURE() << "vcdimager failed for " << name.toStdString() << ": "
                      << vcdimager.readAllStandardError().toStdString()
                      << vcdimager.readAllStandardOutput().toStdString();
        return {};
    }
    for (const QString &target : {bin, cue}) {
        QFile::remove(target);
        if (!QFile::rename(work.filePath(QFileInfo(target).fileName()), target)) {
            ADD_FAILURE() << "cannot move " << target.toStdString() << " into place";
            return {};
        }
    }
    return cue;
}

} // namespace orvane::test
