#pragma once

#include "playback/cd/cdplayer.h"
#include "playback/cd/disc.h"
#include "playback/mci/mcicommand.h"
#include "playback/mci/mcidevice.h"

#include <functional>
#include <optional>

namespace orvane::playback {

// The "cdaudio" device: answers the command strings for a drive letter of
// the drive table, from the disc's table of contents read once at open and
// from the sound pipeline's state, so status queries never touch the drive.
class CdAudioDevice final : public mci::MciDevice
{
public:
    enum class TimeFormat { Tmsf, Msf, Milliseconds };
    // Where a drive letter's disc is read from, and whether it is a drive
    // (not an image); nothing for a letter that names no disc.
    struct Source {
        QString path;
        bool drive = false;
    };
    using SourceResolver = std::function<std::optional<Source>(const QString &device)>;

    explicit CdAudioDevice(SourceResolver resolver = {}, int readBoundMs = 5000);

    quint32 sendString(const QString &command, QString &reply) override;

private:
    quint32 run(const mci::MciCommand &command, QString &reply);
    quint32 open(const mci::MciCommand &command);
    quint32 status(const mci::MciCommand &command, QString &reply);
    quint32 info(const mci::MciCommand &command, QString &reply) const;
    quint32 capability(const mci::MciCommand &command, QString &reply) const;
    quint32 set(const mci::MciCommand &command);
    quint32 play(const mci::MciCommand &command);
    quint32 seek(const mci::MciCommand &command);
    void pause();
    void close();

    // A disc position: a track and frames into it.
    struct Place {
        int track = 0;
        qint64 frame = 0;
    };
    std::optional<Place> placeOf(const mci::TimeArgument &time) const;
    QString positionText(const Place &place) const;
    QString lengthText(qint64 frames) const;
    // Where playback is now; follows the pipeline and ends at the bound.
    Place current();
    bool playing();

    SourceResolver m_resolver;
    int m_readBoundMs;
    bool m_open = false;
    QString m_alias;
    Source m_source;
    DiscInfo m_disc;
    TimeFormat m_format = TimeFormat::Msf;
    Place m_place;
    qint64 m_endFrame = 0; // where the play under way stops, in its track
    bool m_playing = false;
    bool m_paused = false; // by pause, until the next play, seek or stop
    CdPlayer m_player;
};

// The resolver of the program: drive letters through the drive table.
std::optional<CdAudioDevice::Source> driveTableSource(const QString &device);

} // namespace orvane::playback
