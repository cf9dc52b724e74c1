#pragma once

#include "playback/mpv/mpvrealplayer.h"
#include "tests/support/media.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStringList>

#include <functional>

namespace orvane::test {

// Everything the engine reported, in order.
struct EngineLog {
    struct Error {
        int severity, engineCode, userCode;
        QString userText, errorText;
    };
    QStringList events; // "state 3", "opened a.rm", "closed", "buffering", "error 3/6"
    QList<int> states;
    QList<Error> errors;
    QStringList openedUrls;

    void watch(playback::RealPlayer &engine)
    {
        using playback::RealPlayer;
        QObject::connect(&engine, &RealPlayer::stateChanged, [this](int state) {
            states << state;
            events << QStringLiteral("state %1").arg(state);
        });
        QObject::connect(&engine, &RealPlayer::clipOpened,
                         [this](const QString &name, const QString &url) {
                             openedUrls << url;
                             events << QStringLiteral("opened ") + name;
                         });
        QObject::connect(&engine, &RealPlayer::clipClosed,
                         [this] { events << QStringLiteral("closed"); });
        QObject::connect(&engine, &RealPlayer::buffering,
                         [this](int, int) { events << QStringLiteral("buffering"); });
        QObject::connect(&engine, &RealPlayer::errorMessage,
                         [this](int severity, qint32 engineCode, qint32 userCode,
                                const QString &userText, const QString &,
                                const QString &errorText) {
                             errors << Error{severity, engineCode, userCode, userText, errorText};
                             events << QStringLiteral("error %1/%2").arg(severity).arg(userCode);
                         });
    }
    void clear() { *this = EngineLog{}; }
};

// Pumps events until the condition holds or the time is up (the program's
// own waits look the same: a loop that lets events run).
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Sinks that keep real time and need no sound card or display.
inline playback::mpv::MpvOptions quietOptions()
{
    playback::mpv::MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    options.videoOutput = QStringLiteral("null");
    options.networkTimeoutSeconds = 3;
    return options;
}

inline QString fileUrl(const QString &path)
{
    return QStringLiteral("file://") + path;
}

// RealMedia made with RealVideo 1.0 and RealAudio 1.0 (14.4): the codecs the
// GStreamer engine cannot decode.
inline QString realVideoClip()
{
    return generatedMedia(
        QStringLiteral("mpv-rv10-real144.rm"),
        {QStringLiteral("-f"),        QStringLiteral("lavfi"),
         QStringLiteral("-i"),        QStringLiteral("testsrc=size=160x112:rate=15:duration=3"),
         QStringLiteral("-f"),        QStringLiteral("lavfi"),
         QStringLiteral("-i"),        QStringLiteral("sine=frequency=440:duration=3"),
         QStringLiteral("-c:v"),      QStringLiteral("rv10"),
         QStringLiteral("-c:a"),      QStringLiteral("real_144"),
         QStringLiteral("-ar"),       QStringLiteral("8000"),
         QStringLiteral("-ac"),       QStringLiteral("1"),
         QStringLiteral("-metadata"), QStringLiteral("title=RM Title"),
         QStringLiteral("-metadata"), QStringLiteral("author=RM Author"),
         QStringLiteral("-metadata"), QStringLiteral("copyright=RM Copyright"),
         QStringLiteral("-metadata"), QStringLiteral("comment=RM Comment")});
}

// ffmpeg writes RealAudio only inside the RealMedia container; named ".ra".
inline QString realAudioClip()
{
    return generatedMedia(QStringLiteral("mpv-real144.ra"),
                          {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=440:duration=3"), QStringLiteral("-c:a"),
                           QStringLiteral("real_144"), QStringLiteral("-ar"),
                           QStringLiteral("8000"), QStringLiteral("-ac"), QStringLiteral("1"),
                           QStringLiteral("-f"), QStringLiteral("rm")});
}

// ffmpeg's RealMedia muxer gives audio-only files no packet times; these
// two are read through the engine's retiming stream.
inline QString aacRealMediaClip()
{
    return generatedMedia(QStringLiteral("mpv-aac.rm"),
                          {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=440:duration=3"), QStringLiteral("-c:a"),
                           QStringLiteral("aac"), QStringLiteral("-f"), QStringLiteral("rm")});
}

// AC-3 in RealMedia: ffmpeg writes times here, so it is read as it is.
inline QString ac3RealMediaClip()
{
    return generatedMedia(QStringLiteral("mpv-ac3.rm"),
                          {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=440:duration=3"), QStringLiteral("-c:a"),
                           QStringLiteral("ac3"), QStringLiteral("-f"), QStringLiteral("rm")});
}

inline QString oggClip()
{
    return generatedMedia(QStringLiteral("mpv-tone.ogg"),
                          {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=330:duration=3"), QStringLiteral("-c:a"),
                           QStringLiteral("libvorbis"), QStringLiteral("-metadata"),
                           QStringLiteral("title=Ogg Title")});
}

} // namespace orvane::test
