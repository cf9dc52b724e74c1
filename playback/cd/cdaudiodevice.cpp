#include "playback/cd/cdaudiodevice.h"

#include "core/drives.h"
#include "playback/cd/boundeddisc.h"

#include <QFileInfo>

namespace orvane::playback {

using namespace mci;

namespace {

constexpr qint64 kFramesPerSecond = 75;
constexpr qint64 kPregapFrames = 150; // MSF positions count the two seconds before LSN 0

QString twoDigits(qint64 n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString msf(qint64 frames)
{
    const qint64 seconds = frames / kFramesPerSecond;
    return twoDigits(seconds / 60) + u':' + twoDigits(seconds % 60) + u':' +
           twoDigits(frames % kFramesPerSecond);
}

int field(const TimeArgument &time, int index)
{
    return index < time.fields.size() ? time.fields[index] : 0;
}

bool validMsf(int seconds, int frames)
{
    return seconds < 60 && frames < kFramesPerSecond;
}

// The CD sources number the audio tracks alone, from 1, leaving data
// tracks out.
int elementTrack(const DiscInfo &disc, int number)
{
    int index = 0;
    for (const DiscTrack &track : disc.tracks) {
        if (track.audio)
            ++index;
        if (track.number == number)
            break;
    }
    return index;
}

} // namespace

std::optional<CdAudioDevice::Source> driveTableSource(const QString &device)
{
    const auto drive = core::currentDriveTable().drive(device);
    if (!drive || drive->kind == core::DriveTable::Kind::Folder)
        return std::nullopt;
    return CdAudioDevice::Source{drive->target, drive->kind == core::DriveTable::Kind::Device};
}

CdAudioDevice::CdAudioDevice(SourceResolver resolver, int readBoundMs)
    : m_resolver(resolver ? std::move(resolver) : SourceResolver(driveTableSource))
    , m_readBoundMs(readBoundMs)
{}

quint32 CdAudioDevice::sendString(const QString &command, QString &reply)
{
    reply.clear();
    const auto parsed = parseMciCommand(command);
    if (const quint32 *error = std::get_if<quint32>(&parsed))
        return *error;
    return run(std::get<MciCommand>(parsed), reply);
}

quint32 CdAudioDevice::run(const MciCommand &command, QString &reply)
{
    if (command.verb == Verb::Open)
        return open(command);
    if (command.verb == Verb::Close && command.device.compare(u"all", Qt::CaseInsensitive) == 0) {
        close();
        return kMciNoError;
    }
    if (!m_open || command.device.compare(m_alias, Qt::CaseInsensitive) != 0)
        return kMciInvalidDeviceName;
    switch (command.verb) {
    case Verb::Close:
        close();
        return kMciNoError;
    case Verb::Status:
        return status(command, reply);
    case Verb::Info:
        return info(command, reply);
    case Verb::Capability:
        return capability(command, reply);
    case Verb::Set:
        return set(command);
    case Verb::Play:
        return play(command);
    case Verb::Seek:
        return seek(command);
    case Verb::Pause:
        pause();
        return kMciNoError;
    case Verb::Resume:
        return m_paused ? play(MciCommand{}) : kMciNoError;
    case Verb::Stop:
        if (playing()) {
            m_place = current();
            m_player.stop();
            m_playing = false;
        }
        m_paused = false;
        return kMciNoError;
    case Verb::Open:
        break;
    }
    return kMciUnrecognizedCommand;
}

quint32 CdAudioDevice::open(const MciCommand &command)
{
    if (!command.type.isEmpty() && command.type != u"cdaudio")
        return kMciInvalidDeviceName;
    const QString alias = command.alias.isEmpty() ? command.device : command.alias;
    if (m_open)
        return alias.compare(m_alias, Qt::CaseInsensitive) == 0 ? kMciDuplicateAlias
                                                                : kMciUnsupportedFunction;
    const auto source = m_resolver(command.device);
    if (!source)
        return kMciInvalidDeviceName;
    bool timedOut = false;
    const auto disc = readDiscCached(source->path, m_readBoundMs, &timedOut);
    if (!disc)
        return timedOut ? kMciDeviceNotReady : kMciMediaNotPresent;
    m_open = true;
    m_alias = alias;
    m_source = *source;
    m_disc = *disc;
    m_format = TimeFormat::Msf;
    m_place = {m_disc.firstTrack(), 0};
    m_playing = false;
    m_paused = false;
    m_endFrame = 0;
    return kMciNoError;
}

void CdAudioDevice::close()
{
    if (m_open)
        m_player.stop();
    m_open = false;
    m_playing = false;
    m_paused = false;
}

bool CdAudioDevice::playing()
{
    current();
    return m_playing;
}

CdAudioDevice::Place CdAudioDevice::current()
{
    if (!m_playing)
        return m_place;
    switch (m_player.state()) {
    case CdPlayer::State::Starting:
    case CdPlayer::State::Playing: {
        const qint64 frame = m_player.positionFrames();
        if (frame < m_endFrame)
            return {m_place.track, frame};
        // Short of the track's end the pipeline is held where play was bound.
        m_player.pause();
        break;
    }
    case CdPlayer::State::Failed:
        m_playing = false;
        return m_place;
    default:
        break;
    }
    m_playing = false;
    m_place.frame = m_endFrame;
    return m_place;
}

std::optional<CdAudioDevice::Place> CdAudioDevice::placeOf(const TimeArgument &time) const
{
    if (m_format == TimeFormat::Tmsf) {
        if (!validMsf(field(time, 2), field(time, 3)) || !m_disc.track(field(time, 0)))
            return std::nullopt;
        const qint64 frame =
            (field(time, 1) * 60 + field(time, 2)) * kFramesPerSecond + field(time, 3);
        return Place{field(time, 0), frame};
    }
    qint64 lsn = 0;
    if (m_format == TimeFormat::Msf) {
        if (!validMsf(field(time, 1), field(time, 2)))
            return std::nullopt;
        lsn = (field(time, 0) * 60 + field(time, 1)) * kFramesPerSecond + field(time, 2) -
              kPregapFrames;
    } else {
        lsn = qint64(field(time, 0)) * kFramesPerSecond / 1000 - kPregapFrames;
    }
    for (auto t = m_disc.tracks.crbegin(); t != m_disc.tracks.crend(); ++t) {
        if (lsn >= t->startLsn && lsn <= t->startLsn + t->frames)
            return Place{t->number, lsn - t->startLsn};
    }
    return std::nullopt;
}

QString CdAudioDevice::positionText(const Place &place) const
{
    const DiscTrack *track = m_disc.track(place.track);
    const qint64 absolute = (track ? track->startLsn : 0) + place.frame + kPregapFrames;
    switch (m_format) {
    case TimeFormat::Tmsf:
        return twoDigits(place.track) + u':' + msf(place.frame);
    case TimeFormat::Msf:
        return msf(absolute);
    case TimeFormat::Milliseconds:
        break;
    }
    return QString::number(absolute * 1000 / kFramesPerSecond);
}

QString CdAudioDevice::lengthText(qint64 frames) const
{
    return m_format == TimeFormat::Milliseconds ? QString::number(frames * 1000 / kFramesPerSecond)
                                                : msf(frames);
}

quint32 CdAudioDevice::status(const MciCommand &command, QString &reply)
{
    const QString &item = command.item;
    const DiscTrack *asked = command.track ? m_disc.track(*command.track) : nullptr;
    if (command.track && !asked)
        return kMciOutsideRange;
    if (item == u"mode") {
        reply = playing() ? QStringLiteral("playing")
                          : (m_paused ? QStringLiteral("paused") : QStringLiteral("stopped"));
    } else if (item == u"position") {
        reply = positionText(asked ? Place{asked->number, 0} : current());
    } else if (item == u"current track") {
        reply = QString::number(current().track);
    } else if (item == u"number of tracks") {
        reply = QString::number(m_disc.tracks.size());
    } else if (item == u"length") {
        reply =
            lengthText(asked ? asked->frames : m_disc.leadoutLsn - m_disc.tracks.first().startLsn);
    } else if (item == u"type" && asked) {
        reply = asked->audio ? QStringLiteral("audio") : QStringLiteral("other");
    } else if (item == u"media present" || item == u"ready") {
        reply = QStringLiteral("true");
    } else if (item == u"start position") {
        reply = positionText({m_disc.firstTrack(), 0});
    } else if (item == u"time format") {
        reply = m_format == TimeFormat::Tmsf
                    ? QStringLiteral("tmsf")
                    : (m_format == TimeFormat::Msf ? QStringLiteral("msf")
                                                   : QStringLiteral("milliseconds"));
    } else {
        return kMciUnrecognizedKeyword;
    }
    return kMciNoError;
}

quint32 CdAudioDevice::info(const MciCommand &command, QString &reply) const
{
    if (command.item == u"identity")
        // Signed, so that the number an item keeps reads back the same.
        reply = QString::number(qint32(cddbDiscId(m_disc)));
    else if (command.item == u"product")
        reply = QStringLiteral("CD Audio");
    else
        return kMciUnrecognizedKeyword;
    return kMciNoError;
}

quint32 CdAudioDevice::capability(const MciCommand &command, QString &reply) const
{
    const QString &item = command.item;
    if (item == u"device type")
        reply = QStringLiteral("cdaudio");
    else if (item == u"can play" || item == u"has audio" || item == u"can seek")
        reply = QStringLiteral("true");
    else if (item == u"can eject")
        reply = m_source.drive ? QStringLiteral("true") : QStringLiteral("false");
    else if (item == u"can record" || item == u"has video" || item == u"can save")
        reply = QStringLiteral("false");
    else
        return kMciUnrecognizedKeyword;
    return kMciNoError;
}

quint32 CdAudioDevice::set(const MciCommand &command)
{
    if (command.item == u"time format tmsf")
        m_format = TimeFormat::Tmsf;
    else if (command.item == u"time format msf")
        m_format = TimeFormat::Msf;
    else if (command.item == u"time format milliseconds" || command.item == u"time format ms")
        m_format = TimeFormat::Milliseconds;
    else if (command.item.startsWith(u"time format"))
        return kMciBadTimeFormat;
    else
        return kMciUnsupportedFunction;
    return kMciNoError;
}

quint32 CdAudioDevice::play(const MciCommand &command)
{
    Place from = current();
    if (command.from) {
        const auto place = placeOf(*command.from);
        if (!place)
            return kMciOutsideRange;
        from = *place;
    }
    const DiscTrack *track = m_disc.track(from.track);
    if (!track || from.frame > track->frames)
        return kMciOutsideRange;
    if (!track->audio)
        return kMciDataTrack;
    // One track plays at a time: an end in a later track is the end of this one.
    qint64 end = track->frames;
    if (command.to) {
        const auto to = placeOf(*command.to);
        if (!to || to->track < from.track || (to->track == from.track && to->frame < from.frame))
            return kMciOutsideRange;
        if (to->track == from.track)
            end = std::min(end, to->frame);
    } else if (!command.from && m_endFrame > from.frame && m_endFrame <= track->frames) {
        end = m_endFrame; // a resume keeps the bound of the play it resumes
    }
    m_place = from;
    m_endFrame = end;
    m_playing = true;
    m_paused = false;
    m_player.play(m_source.path, m_source.drive, elementTrack(m_disc, track->number), from.frame);
    return kMciNoError;
}

quint32 CdAudioDevice::seek(const MciCommand &command)
{
    Place target;
    if (command.toStart) {
        target = {m_disc.firstTrack(), 0};
    } else if (command.toEnd) {
        target = {m_disc.tracks.last().number, m_disc.tracks.last().frames};
    } else {
        const auto place = placeOf(*command.to);
        const DiscTrack *track = place ? m_disc.track(place->track) : nullptr;
        if (!track || place->frame > track->frames)
            return kMciOutsideRange;
        target = *place;
    }
    // A seek stops play where it is, as the drive does.
    if (playing())
        m_player.pause();
    m_playing = false;
    m_paused = false;
    m_place = target;
    m_endFrame = 0;
    return kMciNoError;
}

void CdAudioDevice::pause()
{
    if (!playing())
        return;
    m_place = current();
    m_player.pause();
    m_playing = false;
    m_paused = true;
}

} // namespace orvane::playback
