#include "playback/cd/disc.h"

#include "playback/cd/cdiohandle.h"

#include <QLoggingCategory>

#include <cdio/cdio.h>
#include <cdio/cdtext.h>
#include <cdio/logging.h>

#include <memory>
#include <mutex>

namespace orvane::playback {

namespace {

constexpr std::int32_t kPregapFrames = 150; // LSN 0 is two seconds into the disc
constexpr std::int32_t kFramesPerSecond = 75;

int digitSum(std::int32_t n)
{
    int sum = 0;
    for (; n > 0; n /= 10)
        sum += int(n % 10);
    return sum;
}

QString cdText(const cdtext_t *text, cdtext_field_t field, track_t track)
{
    if (!text)
        return {};
    const char *value = cdtext_get_const(text, field, track);
    return value ? QString::fromUtf8(value).trimmed() : QString();
}

Q_LOGGING_CATEGORY(lcDisc, "orvane.playback.cd")

void logQuietly(cdio_log_level_t level, const char *message)
{
    if (level == CDIO_LOG_ASSERT)
        cdio_default_log_handler(level, message); // libcdio's own invariant broke
    else if (level >= CDIO_LOG_ERROR)
        qCDebug(lcDisc, "libcdio: %s", message);
}

} // namespace

int DiscInfo::audioTracks() const
{
    int count = 0;
    for (const DiscTrack &t : tracks)
        count += t.audio ? 1 : 0;
    return count;
}

const DiscTrack *DiscInfo::track(int number) const
{
    for (const DiscTrack &t : tracks)
        if (t.number == number)
            return &t;
    return nullptr;
}

std::uint32_t cddbDiscId(const DiscInfo &disc)
{
    if (disc.tracks.isEmpty())
        return 0;
    const auto second = [](std::int32_t lsn) { return (lsn + kPregapFrames) / kFramesPerSecond; };
    std::uint32_t n = 0;
    for (const DiscTrack &t : disc.tracks)
        n += std::uint32_t(digitSum(second(t.startLsn)));
    const auto seconds =
        std::uint32_t(second(disc.leadoutLsn) - second(disc.tracks.first().startLsn));
    return ((n % 0xff) << 24) | ((seconds & 0xffff) << 8) |
           std::uint32_t(disc.tracks.size() & 0xff);
}

bool discIsConsistent(const DiscInfo &disc)
{
    if (disc.tracks.isEmpty() || disc.tracks.first().startLsn < 0)
        return false;
    for (qsizetype i = 0; i < disc.tracks.size(); ++i) {
        const DiscTrack &t = disc.tracks.at(i);
        const std::int32_t next =
            i + 1 < disc.tracks.size() ? disc.tracks.at(i + 1).startLsn : disc.leadoutLsn;
        if (t.number < 1 || t.number > 99 || next <= t.startLsn)
            return false;
        if (i > 0 && t.number != disc.tracks.at(i - 1).number + 1)
            return false;
    }
    return true;
}

std::optional<DiscInfo> readDisc(const QString &source)
{
    // libcdio's own handler ends the process on an error (a folder given as
    // an image is one); a missing image or an empty drive is an answer here.
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        // A handler the program set already (the Video CD source's keeps the
        // reason a track failed) is safe; only libcdio's own is replaced.
        const cdio_log_handler_t before = cdio_log_set_handler(logQuietly);
        if (before != cdio_default_log_handler)
            cdio_log_set_handler(before);
    });
    const QByteArray path = source.toLocal8Bit();
    cd::CdioHandle cd(cdio_open(path.constData(), DRIVER_UNKNOWN));
    if (!cd)
        return std::nullopt;
    const track_t first = cdio_get_first_track_num(cd.get());
    const track_t count = cdio_get_num_tracks(cd.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return std::nullopt;

    DiscInfo disc;
    const cdtext_t *text = cdio_get_cdtext(cd.get());
    disc.title = cdText(text, CDTEXT_FIELD_TITLE, 0);
    disc.performer = cdText(text, CDTEXT_FIELD_PERFORMER, 0);
    disc.leadoutLsn = cdio_get_track_lsn(cd.get(), CDIO_CDROM_LEADOUT_TRACK);
    for (track_t t = first; t < first + count; ++t) {
        DiscTrack track;
        track.number = t;
        track.startLsn = cdio_get_track_lsn(cd.get(), t);
        track.audio = cdio_get_track_format(cd.get(), t) == TRACK_FORMAT_AUDIO;
        track.title = cdText(text, CDTEXT_FIELD_TITLE, t);
        track.performer = cdText(text, CDTEXT_FIELD_PERFORMER, t);
        disc.tracks.append(track);
    }
    if (disc.leadoutLsn == CDIO_INVALID_LSN || !discIsConsistent(disc))
        return std::nullopt;
    for (qsizetype i = 0; i < disc.tracks.size(); ++i) {
        const std::int32_t next =
            i + 1 < disc.tracks.size() ? disc.tracks.at(i + 1).startLsn : disc.leadoutLsn;
        disc.tracks[i].frames = next - disc.tracks.at(i).startLsn;
    }
    return disc;
}

} // namespace orvane::playback
