#include "ui/main/mprisservice.h"

#include "ui/main/mprisadaptors.h"
#include "ui/main/mprisvalues.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace orvane::ui {

namespace {

const QString kTrackPrefix = QStringLiteral("/org/mpris/MediaPlayer2/orvane/track/");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

} // namespace

MprisService::MprisService(MprisPlayer &player, const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_player(player)
    , m_bus(bus)
{
    qDBusRegisterMetaType<MprisMetadataList>();
    if (!m_bus.isConnected())
        return;
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    new MprisTrackListAdaptor(this);
    if (!m_bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors))
        return;
    m_registered = m_bus.registerService(kServiceName);
    if (!m_registered)
        m_bus.unregisterObject(kObjectPath);
    m_last = takeSnapshot();
}

MprisService::~MprisService()
{
    if (m_registered) {
        m_bus.unregisterService(kServiceName);
        m_bus.unregisterObject(kObjectPath);
    }
}

QDBusObjectPath MprisService::trackId(const QString &key) const
{
    // Keys are "num" + index: the index makes a valid object path element.
    if (!key.startsWith(QStringLiteral("num")))
        return QDBusObjectPath(kNoTrack);
    return QDBusObjectPath(kTrackPrefix + key.mid(3));
}

QString MprisService::keyOf(const QDBusObjectPath &id) const
{
    const QString path = id.path();
    if (!path.startsWith(kTrackPrefix))
        return {};
    bool ok = false;
    const int index = path.mid(kTrackPrefix.size()).toInt(&ok);
    return ok && index >= 0 ? QStringLiteral("num") + QString::number(index) : QString();
}

QVariantMap MprisService::metadataOf(const MprisPlayer::Track &track) const
{
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId(track.key)));
    map.insert(QStringLiteral("xesam:title"), track.title);
    if (!track.artist.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{track.artist});
    if (!track.album.isEmpty())
        map.insert(QStringLiteral("xesam:album"), track.album);
    if (!track.url.isEmpty())
        map.insert(QStringLiteral("xesam:url"), encodedUrl(track.url));
    if (track.lengthUs >= 0)
        map.insert(QStringLiteral("mpris:length"), qlonglong(track.lengthUs));
    return map;
}

QVariantMap MprisService::currentMetadata() const
{
    const QString key = m_player.currentKey();
    if (key.isEmpty())
        return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(kNoTrack))}};
    const QList<MprisPlayer::Track> tracks = m_player.tracks();
    for (const MprisPlayer::Track &track : tracks) {
        if (track.key == key)
            return metadataOf(track);
    }
    return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(kNoTrack))}};
}

MprisService::Snapshot MprisService::takeSnapshot() const
{
    Snapshot s;
    s.status = m_player.playbackStatus();
    s.metadata = currentMetadata();
    const QList<MprisPlayer::Track> tracks = m_player.tracks();
    s.canGoNext = tracks.size() > 1;
    s.canGoPrevious = s.canGoNext;
    s.canSeek = m_player.canSeek();
    s.volume = m_player.volume();
    s.loopStatus = loopStatusOf(m_player.repeatAll());
    for (const MprisPlayer::Track &track : tracks)
        s.keys.append(track.key);
    return s;
}

void MprisService::refresh()
{
    if (!m_registered)
        return;
    const Snapshot now = takeSnapshot();
    QVariantMap changed;
    if (now.status != m_last.status)
        changed.insert(QStringLiteral("PlaybackStatus"), now.status);
    if (now.metadata != m_last.metadata)
        changed.insert(QStringLiteral("Metadata"), now.metadata);
    if (now.canGoNext != m_last.canGoNext) {
        changed.insert(QStringLiteral("CanGoNext"), now.canGoNext);
        changed.insert(QStringLiteral("CanGoPrevious"), now.canGoPrevious);
    }
    if (now.canSeek != m_last.canSeek)
        changed.insert(QStringLiteral("CanSeek"), now.canSeek);
    if (now.volume != m_last.volume)
        changed.insert(QStringLiteral("Volume"), now.volume);
    if (now.loopStatus != m_last.loopStatus)
        changed.insert(QStringLiteral("LoopStatus"), now.loopStatus);
    if (!changed.isEmpty())
        emitPropertiesChanged(kPlayerInterface, changed);
    if (now.keys != m_last.keys) {
        QList<QDBusObjectPath> ids;
        for (const QString &key : now.keys)
            ids.append(trackId(key));
        QDBusMessage signal = QDBusMessage::createSignal(
            kObjectPath, QStringLiteral("org.mpris.MediaPlayer2.TrackList"),
            QStringLiteral("TrackListReplaced"));
        signal << QVariant::fromValue(ids) << QVariant::fromValue(trackId(m_player.currentKey()));
        m_bus.send(signal);
    }
    m_last = now;
}

void MprisService::emitPropertiesChanged(const QString &interface, const QVariantMap &changed)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    m_bus.send(signal);
}

} // namespace orvane::ui
