#include "ui/main/mprisadaptors.h"

#include "core/filetypes.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "ui/main/mprisservice.h"
#include "ui/main/mprisvalues.h"

#include <QUrl>

namespace orvane::ui {

MprisRootAdaptor::MprisRootAdaptor(MprisService *service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{}

QString MprisRootAdaptor::identity() const
{
    return core::kApplicationTitle;
}

QStringList MprisRootAdaptor::supportedUriSchemes() const
{
    return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    using namespace core::modMain;
    QStringList types =
        mimeTypesOfFileTypes(WmpFileTypes.isEmpty() ? core::kBuiltinWmpFileTypes : WmpFileTypes);
    for (const QString &type : mimeTypesOfFileTypes(
             RealFileTypes.isEmpty() ? core::kBuiltinRealFileTypes : RealFileTypes)) {
        if (!types.contains(type))
            types.append(type);
    }
    return types;
}

void MprisRootAdaptor::Raise()
{
    m_service->player().raise();
}

void MprisRootAdaptor::Quit()
{
    m_service->player().quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService *service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return m_service->player().playbackStatus();
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return m_service->currentMetadata();
}

double MprisPlayerAdaptor::volume() const
{
    return m_service->player().volume();
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    if (const std::optional<int> value = sliderValueOfVolume(volume))
        m_service->player().setVolume(*value / 1000.0);
}

QString MprisPlayerAdaptor::loopStatus() const
{
    return loopStatusOf(m_service->player().repeatAll());
}

void MprisPlayerAdaptor::setLoopStatus(const QString &status)
{
    if (const std::optional<bool> on = repeatAllFromLoopStatus(status)) {
        m_service->player().setRepeatAll(*on);
        m_service->refresh();
    }
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_service->player().positionUs();
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return m_service->player().tracks().size() > 1;
}

bool MprisPlayerAdaptor::canGoPrevious() const
{
    return canGoNext();
}

bool MprisPlayerAdaptor::canPlay() const
{
    return !m_service->player().tracks().isEmpty();
}

bool MprisPlayerAdaptor::canSeek() const
{
    return m_service->player().canSeek();
}

void MprisPlayerAdaptor::Next()
{
    m_service->player().next();
}

void MprisPlayerAdaptor::Previous()
{
    m_service->player().previous();
}

void MprisPlayerAdaptor::Pause()
{
    m_service->player().pause();
}

void MprisPlayerAdaptor::PlayPause()
{
    m_service->player().playPause();
}

void MprisPlayerAdaptor::Stop()
{
    m_service->player().stop();
}

void MprisPlayerAdaptor::Play()
{
    m_service->player().play();
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    MprisPlayer &player = m_service->player();
    if (!player.canSeek())
        return;
    player.setPositionUs(std::max<qlonglong>(0, player.positionUs() + offset));
    Q_EMIT Seeked(player.positionUs());
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &trackId, qlonglong position)
{
    MprisPlayer &player = m_service->player();
    // A request for a track that is no longer current is stale: ignore it.
    if (!player.canSeek() || position < 0 || m_service->keyOf(trackId) != player.currentKey())
        return;
    player.setPositionUs(position);
    Q_EMIT Seeked(player.positionUs());
}

void MprisPlayerAdaptor::OpenUri(const QString &uri)
{
    // Opened like a drop: queued for the next processing step.
    const QUrl url(uri);
    const QString location = url.isLocalFile() ? url.toLocalFile() : uri;
    if (!location.isEmpty())
        core::modMain::PendingCommand.push(location);
}

MprisTrackListAdaptor::MprisTrackListAdaptor(MprisService *service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{}

QList<QDBusObjectPath> MprisTrackListAdaptor::tracks() const
{
    QList<QDBusObjectPath> ids;
    const QList<MprisPlayer::Track> tracks = m_service->player().tracks();
    ids.reserve(tracks.size());
    for (const MprisPlayer::Track &track : tracks)
        ids.append(m_service->trackId(track.key));
    return ids;
}

MprisMetadataList MprisTrackListAdaptor::GetTracksMetadata(const QList<QDBusObjectPath> &trackIds)
{
    const QList<MprisPlayer::Track> tracks = m_service->player().tracks();
    MprisMetadataList result;
    for (const QDBusObjectPath &id : trackIds) {
        const QString key = m_service->keyOf(id);
        for (const MprisPlayer::Track &track : tracks) {
            if (track.key == key) {
                result.append(m_service->metadataOf(track));
                break;
            }
        }
    }
    return result;
}

void MprisTrackListAdaptor::AddTrack(const QString &, const QDBusObjectPath &, bool)
{
    // CanEditTracks is false: the playlist is edited in the player.
}

void MprisTrackListAdaptor::RemoveTrack(const QDBusObjectPath &)
{}

void MprisTrackListAdaptor::GoTo(const QDBusObjectPath &trackId)
{
    const QString key = m_service->keyOf(trackId);
    if (!key.isEmpty())
        m_service->player().goTo(key);
}

} // namespace orvane::ui
