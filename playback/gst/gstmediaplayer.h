#pragma once

#include "playback/engine/mediaplayer.h"
#include "playback/gst/asxreader.h"

#include <QPointer>
#include <QTimer>

#include <memory>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;
typedef struct _GstTagList GstTagList;

namespace orvane::playback::gst {

class VideoWindow;
struct BusRelay;

struct GstMediaPlayerOptions {
    // The audio sink as a gst-launch description, e.g. "fakesink sync=true"
    // for tests and benchmarks. Empty: the environment variable
    // ORVANE_GST_AUDIO_SINK, else "autoaudiosink".
    QString audioSink;
    // The video sink, likewise; empty: ORVANE_GST_VIDEO_SINK, else the
    // engine's own X11 window when the application runs on X11 (xcb), else
    // "fakesink sync=true".
    QString videoSink;
    // A location that has neither opened nor failed after this long fails
    // with ErrorTimeout.
    int openTimeoutMs = 8000;
};

// MediaPlayer on GStreamer's playbin. GStreamer is initialised on the first
// construction. Bus messages are taken by a synchronous handler that only
// posts them to this object's (GUI) thread; the streaming threads never
// touch the engine's record. Video is drawn with GstVideoOverlay into
// videoWindow(), scaled in software so it works on any X server.
//
// Nothing waits unbounded on the GUI thread: opening is asynchronous and
// limited by openTimeoutMs; the only blocking calls are GStreamer's own
// state changes down to READY, which end once the streaming threads stop,
// so what could keep a thread from stopping is refused beforehand (FIFOs,
// devices and folders never reach GStreamer; network sources get a 5 s
// timeout).
//
// Media opens into a fake audio sink (probing needs no sound device); the
// real output joins on the first play, where the position was.
class GstMediaPlayer final : public MediaPlayer
{
    Q_OBJECT

public:
    explicit GstMediaPlayer(const GstMediaPlayerOptions &options = {}, QObject *parent = nullptr);
    ~GstMediaPlayer() override;

    QString fileName() const override { return m_fileName; }
    void setFileName(const QString &location) override;
    int playState() const override { return m_state; }
    void play() override;
    void pause() override;
    void stop() override;
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double duration() const override { return m_durationValid ? m_duration : 0.0; }
    bool isDurationValid() const override { return m_durationValid; }
    bool canSeek() const override { return m_canSeek; }
    int markerCount() const override { return int(m_markers.size()); }
    int currentMarker() const override;
    void setCurrentMarker(int marker) override;
    int playCount() const override { return m_playCount; }
    void setPlayCount(int count) override;
    int entryCount() const override { return int(m_asx.entries.size()); }
    int currentEntry() const override { return m_entry; }
    void setCurrentEntry(qint32 entry) override;
    int displaySize() const override { return m_displaySize; }
    void setDisplaySize(int size) override;
    QSize videoSize() const override { return m_videoSize; }
    QWindow *videoWindow() override;
    bool hasError() const override { return m_hasError; }
    QString errorDescription() const override { return m_errorDescription; }
    qint32 errorCode() const override { return m_errorCode; }
    QString errorRecovery() const override { return m_errorRecovery; }
    QString mediaInfoString(int code) const override;
    int codecCount() const override { return int(m_codecs.size()); }
    QString codecDescription(int codec) const override;
    bool isMuted() const override { return m_muted; }
    void setMuted(bool muted) override;
    bool autoSize() const override { return m_autoSize; }
    void setAutoSize(bool on) override { m_autoSize = on; }
    bool autoStart() const override { return m_autoStart; }
    void setAutoStart(bool on) override { m_autoStart = on; }
    bool autoRewind() const override { return m_autoRewind; }
    void setAutoRewind(bool on) override { m_autoRewind = on; }
    int videoBorder() const override { return m_border; }
    void setVideoBorder(int pixels) override;
    bool showControls() const override { return m_showControls; }
    void setShowControls(bool on) override { m_showControls = on; }
    bool sendStateEvents() const override { return m_sendStateEvents; }
    void setSendStateEvents(bool on) override { m_sendStateEvents = on; }
    bool sendErrorEvents() const override { return m_sendErrorEvents; }
    void setSendErrorEvents(bool on) override { m_sendErrorEvents = on; }
    bool sendWarningEvents() const override { return m_sendWarningEvents; }
    void setSendWarningEvents(bool on) override { m_sendWarningEvents = on; }
    void showDialog(int which) override;
    void aboutBox() override;
    EngineReport report(int which) const override;
    void setNextLocationProvider(NextLocation provider) override;
    QStringList nextLocations() const override;
    void dropNextLocations() override;

    // False when GStreamer or playbin could not be set up; every location
    // then fails with ErrorEngine.
    bool isUsable() const { return m_playbin != nullptr; }

    // Called by the video window (GUI thread).
    void videoWindowResized();
    void videoWindowExposed();

private:
    friend struct BusRelay;
    enum class Target { Stopped, Paused, Playing };

    void createPipeline();
    GstElement *makeVideoSink();
    void closeMedia();
    bool openEntry(int entry);
    bool openRef();
    void startPipeline(const QString &uri);
    void resetMediaRecord();
    void setState(int state);
    void raiseError(qint32 code, const QString &description, bool fatal);
    void failOpen(qint32 code, const QString &description);
    void onOpenTimeout();

    void handleBusMessage(GstMessage *message, quint64 generation);
    void onPrerolled();
    void onEndOfStream();
    void onError(GstMessage *message);
    void onWarning(GstMessage *message);
    void onToc(GstMessage *message);
    void onBuffering(int percent);
    void readStreams();
    void readDuration();
    void updatePictureSize();
    void useRealOutputs(bool real);
    void joinRealOutputs();
    void reopenAt(double seconds);
    void answerNext(quint64 generation);
    void cancelNextQuestion();
    void onStreamStart();
    void onRealOutputsJoined();
    void seekTo(double seconds);

    GstMediaPlayerOptions m_options;
    GstElement *m_playbin = nullptr;
    GstElement *m_audioSink = nullptr;      // the real output
    GstElement *m_probeSink = nullptr;      // stands in until the first play
    GstElement *m_videoOutput = nullptr;    // the real picture output (a bin)
    GstElement *m_probeVideoSink = nullptr; // stands in for it likewise
    GstElement *m_videoSink = nullptr;      // our X11 sink inside it, when used
    GstElement *m_sizeFilter = nullptr;     // picture size of the X11 sink
    std::shared_ptr<BusRelay> m_relay;
    std::unique_ptr<VideoWindow> m_window;
    QTimer m_openTimer;
    quint64 m_generation = 0;

    QString m_fileName;
    QString m_uri; // what playbin plays
    QString m_asxFolder;
    AsxPlaylist m_asx;
    int m_entry = 0; // current entry, from 1; 0 without entries
    int m_ref = 0;   // reference of the entry being tried
    int m_state = Closed;
    Target m_target = Target::Stopped;
    bool m_prerolled = false;
    bool m_atEnd = false;
    bool m_needsRestart = false;  // the pipeline was stopped by an error
    bool m_realOutputsIn = false; // the real sinks are in the pipeline
    bool m_joining = false;       // rebuilding the pipeline with them
    double m_resumeAt = -1.0;     // position to take up after joining
    double m_seekTarget = -1.0;   // where a seek under way goes
    int m_playsDone = 0;
    NextLocation m_nextProvider;
    struct Handed {
        QString location;
        QString uri;
    };
    QList<Handed> m_handed; // given to playbin, not playing yet

    double m_duration = 0.0;
    bool m_durationValid = false;
    bool m_canSeek = false;
    QList<double> m_markers; // chapter starts, seconds
    QStringList m_codecs;
    QSize m_videoSize;
    GstTagList *m_tags = nullptr;
    QString m_missingPlugin;
    QString m_lastWarning;
    QStringList m_pendingWarnings; // raised once the media has opened

    bool m_hasError = false;
    QString m_errorDescription;
    qint32 m_errorCode = NoError;
    QString m_errorRecovery;

    int m_playCount = 1;
    int m_displaySize = DisplayDefault;
    bool m_muted = false;
    bool m_autoSize = false;
    bool m_autoStart = false;
    bool m_autoRewind = false;
    int m_border = 0;
    bool m_showControls = false;
    bool m_sendStateEvents = true;
    bool m_sendErrorEvents = true;
    bool m_sendWarningEvents = true;
    QSize m_pictureSize;
};

} // namespace orvane::playback::gst
