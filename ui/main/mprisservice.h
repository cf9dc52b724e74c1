#pragma once

#include "ui/main/mprisplayer.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

namespace orvane::ui {

// The player on the session bus as "org.mpris.MediaPlayer2.orvane", with the
// root, Player and TrackList interfaces: how a Linux desktop's media keys
// and sound applets reach it. Without a session bus it stays off silently.
class MprisService : public QObject
{
    Q_OBJECT
public:
    static inline const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.orvane");
    static inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");

    MprisService(MprisPlayer &player, const QDBusConnection &bus, QObject *parent = nullptr);
    ~MprisService() override;

    // True once the service name is ours.
    bool isRegistered() const { return m_registered; }

    // The player's state may have changed: tells the bus what did.
    void refresh();

    MprisPlayer &player() { return m_player; }
    QVariantMap metadataOf(const MprisPlayer::Track &track) const;
    QVariantMap currentMetadata() const;
    QDBusObjectPath trackId(const QString &key) const;
    // The view key of a track id of ours; empty for a foreign one.
    QString keyOf(const QDBusObjectPath &id) const;

private:
    struct Snapshot {
        QString status;
        QVariantMap metadata;
        bool canGoNext = false;
        bool canGoPrevious = false;
        bool canSeek = false;
        double volume = 0.0;
        QString loopStatus;
        QStringList keys;
    };
    Snapshot takeSnapshot() const;
    void emitPropertiesChanged(const QString &interface, const QVariantMap &changed);

    MprisPlayer &m_player;
    QDBusConnection m_bus;
    bool m_registered = false;
    Snapshot m_last;
};

} // namespace orvane::ui
