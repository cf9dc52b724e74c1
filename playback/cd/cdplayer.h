#pragma once

#include <QString>

#include <memory>

namespace orvane::playback {

// The sound of one audio CD track through GStreamer: cdparanoiasrc for a
// drive (it corrects read errors), cdiocddasrc for an image, into the
// desktop's audio sink. Opening a drive can take seconds, so every pipeline
// change runs on a worker thread in the order asked; the calls here return
// at once and what they report never waits for the drive.
class CdPlayer
{
public:
    enum class State { Idle, Starting, Playing, Paused, Ended, Failed };

    CdPlayer();
    ~CdPlayer();
    CdPlayer(const CdPlayer &) = delete;
    CdPlayer &operator=(const CdPlayer &) = delete;

    // Plays track (the source element's track number) of source from
    // startFrame frames (1/75 s) into it, to the track's end.
    void play(const QString &source, bool drive, int track, qint64 startFrame);
    void pause();
    // Ends the pipeline and lets go of the drive.
    void stop();

    State state() const;
    // Frames into the track: the pipeline's position while it runs, the
    // asked start while it starts.
    qint64 positionFrames() const;
    QString lastError() const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
};

} // namespace orvane::playback
