#pragma once

#include "playback/engine/realplayer.h"
#include "playback/mpv/realplaylist.h"
#include "playback/mpv/sourcefiles.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWindow>

#include <deque>
#include <functional>

struct mpv_handle;
struct mpv_event;
struct mpv_event_end_file;
struct mpv_event_log_message;

namespace orvane::playback::mpv {

// How the engine talks to the outside world. Each empty text falls back to
// an environment variable, then to the built-in choice:
//   ORVANE_MPV_AO  audio output, e.g. "null" (keeps real time: tests, benchmarks);
//                  default: libmpv's own choice (PulseAudio, ALSA, ...)
//   ORVANE_MPV_VO  video output, e.g. "null" or "x11"; default "gpu,x11" when
//                  the application runs on X11 (the picture goes into
//                  videoWindow()), "null" on any other platform (offscreen).
struct MpvOptions {
    QString audioOutput;
    QString videoOutput;
    // Seconds a network source may stay silent before it fails.
    int networkTimeoutSeconds = 5;
    // Further libmpv options as "name=value", applied last (measurements).
    QStringList extraOptions;
    // Open WAV/AIFF/AU without libavformat's probing of the samples (see
    // perFileOptions in the source); off only to measure what it costs.
    bool trustPcmHeaders = true;
};

// The RealPlayer engine on libmpv. libmpv is created on first use. Its
// threads only post a queued call to this object's thread (the GUI thread),
// which then takes the engine's events one by one (mpv_wait_event with a
// zero timeout) and turns them into state and signals. No call waits for
// libmpv: settings and commands are queued to it, and what the members
// report comes from observed properties and from answers to queued reads,
// kept here. (libmpv's core waits for its video thread at times; a
// synchronous call made then would freeze the window.) The only code that
// runs on libmpv's threads besides the wake-up is the reader of RealMedia
// files without packet times (realmediastream.h), which touches only its file.
class MpvRealPlayer final : public RealPlayer
{
    Q_OBJECT
public:
    explicit MpvRealPlayer(QObject *parent = nullptr, MpvOptions options = {});
    ~MpvRealPlayer() override;

    QString source() const override { return m_source; }
    void setSource(const QString &location) override;
    QString controls() const override { return m_controls; }
    void setControls(const QString &controls) override { m_controls = controls; }
    int playState() const override { return m_state; }
    void play() override;
    void pause() override;
    void stop() override;
    void setPosition(qint32 ms) override;
    qint32 position() const override;
    qint32 length() const override;
    bool canPlay() const override;
    bool canSeek() const override;
    bool isLooping() const override { return m_looping; }
    void setLooping(bool on) override { m_looping = on; }
    int loopCount() const override { return m_loopCount; }
    void setLoopCount(int count) override { m_loopCount = count < 1 ? 1 : count; }
    int numEntries() const override { return int(m_entries.size()); }
    int currentEntry() const override { return m_entries.isEmpty() ? 0 : m_entry + 1; }
    void nextEntry() override;
    void previousEntry() override;
    QString entryTitle(int index) const override;
    QString entryAuthor(int index) const override;
    QString entryCopyright(int index) const override;
    QString entryAbstract(int index) const override;
    QString title() const override { return m_clip.title; }
    QString author() const override { return m_clip.author; }
    QString copyright() const override { return m_clip.copyright; }
    QString album() const override { return m_clip.album; }
    int clipWidth() const override { return m_clipWidth; }
    int clipHeight() const override { return m_clipHeight; }
    bool isMute() const override { return m_mute; }
    void setMute(bool mute) override;
    void setCentered(bool on) override { m_centered = on; }
    void setOriginalSize() override { m_pictureScale = 1; }
    void setDoubleSize() override { m_pictureScale = 2; }
    int pictureScale() const override { return m_pictureScale; }
    void setVolume(int percent) override;
    void setAutoStart(bool on) override { m_autoStart = on; }
    void setShuffle(bool on) override { m_shuffle = on; }
    void setMaintainAspect(bool on) override;
    void setWantKeyboardEvents(bool on) override;
    void setWantMouseEvents(bool on) override;
    void setEnableContextMenu(bool) override {}
    void setOnScreenMessages(bool on) override;
    QString statisticsText() const override;
    QString preferencesText() const override;
    QString aboutText() const override;
    // Created with the engine when the program has a GUI. A window
    // container may take it over; the engine should outlive the container,
    // since libmpv draws into the window until the engine is destroyed.
    QWindow *videoWindow() override;

    // The outputs in use (after the fallbacks above).
    QString audioOutput() const { return m_ao; }
    QString videoOutput() const { return m_vo; }

private:
    enum : quint64 { kNoId = quint64(-1) };

    bool ensureMpv();
    void applyOptions();
    void observeProperties();
    void setMpvFlag(const char *name, bool on);
    void drain();
    void scheduleDrain();
    void post(std::function<void()> step);
    void setState(int state);
    void raiseError(int severity, int engineCode, int userCode, const QString &userText,
                    const QString &errorText);
    void handleEvent(const mpv_event &event);
    void onLogMessage(const mpv_event_log_message &message);
    void onShutdown();
    void onEndFile(const mpv_event_end_file &end);
    void onFileLoaded();
    void onPlaybackRestart();
    void onPropertyChange(quint64 id, const QVariant &value);
    void onPropertyReply(quint64 tag, const QVariant &value);
    void onClipPropertyChange(quint64 id, const QVariant &value);
    void onCachePause(bool paused);
    void onCommandReply(quint64 tag, int error, const mpv_event &event);
    void finishOpen();
    bool seekTo(qint32 ms);
    void askTime();
    void noteTime(const QVariant &seconds);
    void onEntryEnded();
    void onEntryFailed(int engineCode, int userCode, const QString &why);
    void openEntry(int index);
    void loadTarget(const QByteArray &target, const QString &path,
                    const std::function<void(int, int, const QString &)> &failLater);
    void onLoadReply(int error, const QVariantMap &result);
    bool isOpen() const;
    void closeForStop();
    void forgetClip();
    int nextEntryIndex();
    QString classifyLocal(const QString &path, int *code) const;
    bool isNetworkEntry() const;
    quint64 newTag(); // a reply id for an async request

    MpvOptions m_options;
    QString m_ao, m_vo;
    mpv_handle *m_mpv = nullptr;
    bool m_mpvFailed = false;
    QPointer<QWindow> m_window; // a window container may take it over

    QString m_source;
    QString m_controls = QStringLiteral("ImageWindow");
    QList<RealEntry> m_entries;
    bool m_singleClip = false; // the entry texts come from the clip's tags
    int m_entry = 0;           // index into m_entries
    QString m_sourceError;     // the playlist could not be used
    int m_sourceErrorCode = 0;
    QList<SourceNote> m_sourceNotes; // entries passed over while reading it
    QList<bool> m_playedInRound;

    int m_state = Stopped;
    bool m_failed = false;         // the last open failed: canPlay() is false
    quint64 m_activeId = kNoId;    // libmpv's playlist entry id of the open clip
    bool m_opened = false;         // that clip sent "file loaded"
    bool m_restarted = false;      // ... and its first frame is ready
    bool m_completedInRun = false; // some entry played to its end since play()
    bool m_paused = false;         // the pause the program asked for
    bool m_cachePaused = false;
    quint64 m_loadTag = 0;        // reply id of the load on its way
    quint64 m_startedId = kNoId;  // the clip libmpv started last
    bool m_closingOpened = false; // the clip being stopped had opened
    quint64 m_stopTag = 0;        // reply id of the stop whose report ends the clip
    quint64 m_nextTag = 1;
    quint64 m_loadGen = 0; // invalidates queued steps of an earlier open
    qint32 m_startMs = 0;
    qint32 m_pendingSeekMs = -1;
    int m_timesPlayed = 0;
    QString m_lastLog;

    struct ClipTags {
        QString title, author, copyright, comment, album;
    } m_clip;
    double m_duration = -1;
    int m_clipWidth = 0, m_clipHeight = 0;
    bool m_seekable = false;
    quint64 m_openQueryTag = 0;    // first reply id of the reads when the clip loaded
    QVariantList m_openFacts;      // their answers so far
    bool m_restartWaiting = false; // the first frame came before those answers

    // The position: the last time libmpv reported, moved on by the clock
    // while playing, never backwards within a clip except by a seek.
    qint32 m_reportedMs = 0;
    QElapsedTimer m_reportClock; // since that report, or since playing resumed
    mutable qint64 m_positionFloor = 0;
    qint32 m_seekTargetMs = -1; // shown while a seek of ours is on its way
    quint64 m_seekTag = 0;      // reply id of that seek
    quint64 m_timeQueryTag = 0; // reply id of the read of where it landed
    QVariantList m_statistics;  // observed values of the statistics lines

    bool m_looping = false;
    int m_loopCount = 1;
    bool m_mute = false;
    int m_volume = 100;
    bool m_centered = true;
    int m_pictureScale = 1;
    bool m_autoStart = false;
    bool m_shuffle = false;
    bool m_keepAspect = true;
    bool m_wantKeyboard = false;
    bool m_wantMouse = false;
    bool m_osd = false;

    std::deque<std::function<void()>> m_pending;
    bool m_drainPosted = false;
};

} // namespace orvane::playback::mpv
