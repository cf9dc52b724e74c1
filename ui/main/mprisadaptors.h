#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QList>
#include <QStringList>
#include <QVariantMap>

namespace orvane::ui {

class MprisService;

using MprisMetadataList = QList<QVariantMap>;

// org.mpris.MediaPlayer2
class MprisRootAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    explicit MprisRootAdaptor(MprisService *service);
    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return true; }
    QString identity() const;
    QString desktopEntry() const { return QStringLiteral("orvane"); }
    QStringList supportedUriSchemes() const;
    QStringList supportedMimeTypes() const;

public Q_SLOTS:
    void Raise();
    void Quit();

private:
    MprisService *m_service;
};

// org.mpris.MediaPlayer2.Player
class MprisPlayerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPlay)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
public:
    explicit MprisPlayerAdaptor(MprisService *service);
    QString playbackStatus() const;
    double rate() const { return 1.0; }
    void setRate(double) {}
    QVariantMap metadata() const;
    // The system mixer's volume, the same the slider sets.
    double volume() const;
    void setVolume(double volume);
    QString loopStatus() const;
    void setLoopStatus(const QString &status);
    // There is no shuffle: the play order is the playlist's.
    bool shuffle() const { return false; }
    void setShuffle(bool) {}
    qlonglong position() const;
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canPlay() const;
    bool canSeek() const;
    bool canControl() const { return true; }

public Q_SLOTS:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath &trackId, qlonglong position);
    void OpenUri(const QString &uri);

Q_SIGNALS:
    void Seeked(qlonglong position);

private:
    MprisService *m_service;
};

// org.mpris.MediaPlayer2.TrackList
class MprisTrackListAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.TrackList")
    Q_PROPERTY(QList<QDBusObjectPath> Tracks READ tracks)
    Q_PROPERTY(bool CanEditTracks READ canEditTracks)
public:
    explicit MprisTrackListAdaptor(MprisService *service);
    QList<QDBusObjectPath> tracks() const;
    bool canEditTracks() const { return false; }

public Q_SLOTS:
    orvane::ui::MprisMetadataList GetTracksMetadata(const QList<QDBusObjectPath> &trackIds);
    void AddTrack(const QString &uri, const QDBusObjectPath &afterTrack, bool setAsCurrent);
    void RemoveTrack(const QDBusObjectPath &trackId);
    void GoTo(const QDBusObjectPath &trackId);

Q_SIGNALS:
    void TrackListReplaced(const QList<QDBusObjectPath> &tracks,
                           const QDBusObjectPath &currentTrack);

private:
    MprisService *m_service;
};

} // namespace orvane::ui

Q_DECLARE_METATYPE(orvane::ui::MprisMetadataList)
