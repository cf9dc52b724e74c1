#pragma once

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class QWindow;

namespace orvane::playback {

// What an engine hands the user interface for one of its small dialogs
// (statistics, options, about): a caption and rows of label and value. The
// playback layer builds no widgets; the user interface shows these.
struct EngineReport {
    QString title;
    QList<std::pair<QString, QString>> rows;
};

// The first playback engine: files, streams and Video CD tracks. The rest of
// Orvane plays such media only through this contract; the numbers in the
// comments are the member ids the playback behaviour is written against.
//
// Every member is called on the GUI thread and every signal is emitted on
// it, in the order the engine raised it, through queued calls: a signal never
// fires inside the call that caused it, so code that pumps events while it
// waits sees each report exactly once and in order. Getters answer at once
// from the engine's own record and never block.
//
// Positions and lengths are seconds (double).
class MediaPlayer : public QObject
{
    Q_OBJECT

public:
    // PlayState values (1068). 6 also covers "opening": a location handed to
    // FileName stays 6 until it is ready (then 0) or failed (error event).
    enum PlayState : int {
        Stopped = 0,
        Paused = 1,
        Playing = 2,
        Waiting = 3, // buffering a stream
        ScanForward = 4,
        ScanReverse = 5,
        Closed = 6,
    };

    // Codes of mediaInfoString (2016).
    enum MediaInfo : int {
        InfoTitle = 8,
        InfoAuthor = 9,
        InfoCopyright = 10,
        InfoDescription = 12,
        // Not a code of the Windows control: the album tag, for the
        // desktop's media controls.
        InfoAlbum = 1000,
    };

    // DisplaySize values (1032): the picture at the clip's size, at twice
    // that size, or as large as the video window allows; the aspect ratio is
    // kept and the picture never exceeds the window.
    enum DisplaySize : int {
        DisplayDefault = 0,
        DisplayDouble = 2,
        DisplayFitToSize = 4,
    };

    // showDialog (2033) arguments; About is aboutBox (-552).
    enum Dialog : int {
        DialogAbout = 0,
        DialogStatistics = 1,
        DialogOptions = 2,
    };

    // errorCode values (1067). The controller treats 0x800A0005 as always
    // ignorable, so no engine error uses it.
    enum ErrorCode : qint32 {
        NoError = 0,
        ErrorFileNotFound = qint32(0x80070002),
        ErrorAccessDenied = qint32(0x80070005),
        ErrorNotMediaFile = qint32(0x8007000D),  // empty, directory, FIFO, unknown contents
        ErrorUnsupported = qint32(0x80040265),   // no decoder for a stream of the media
        ErrorDecode = qint32(0x80040266),        // the media's data is damaged
        ErrorNetwork = qint32(0x80072EFD),       // a stream could not be reached
        ErrorTimeout = qint32(0x800705B4),       // the media did not open in time
        ErrorPlaylist = qint32(0x80040267),      // an .asx file that cannot be used
        ErrorEngine = qint32(0x80004005),        // anything else the engine reports
        WarningRecoverable = qint32(0x00040001), // playback goes on (see errorRecovery)
    };

    explicit MediaPlayer(QObject *parent = nullptr);
    ~MediaPlayer() override;

    // 1026. Setting a location closes what was open (event old -> 6), then
    // opens and prerolls the new one without playing; the state turns 0 when
    // it is ready, or the error event reports why it failed (the state stays
    // 6). "" only closes. A location is a "file://" text with the plain
    // (not percent-encoded) path, a plain absolute path, or a URL.
    // ".asx", ".wax" and ".wvx" files are read by the engine: entry 1 opens.
    virtual QString fileName() const = 0;
    virtual void setFileName(const QString &location) = 0;

    virtual int playState() const = 0; // 1068, PlayState

    // 2001, 2002, 2003. Without open media they do nothing. The state turns
    // at once (with its event queued); Play after the end starts over.
    // Stop keeps the position: callers that want the start set it to 0.
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;

    virtual double currentPosition() const = 0;          // 1027
    virtual void setCurrentPosition(double seconds) = 0; // 1027, seeks; ignored when !canSeek
    virtual double duration() const = 0;                 // 1003, 0 while unknown
    virtual bool isDurationValid() const = 0;            // 1059
    virtual bool canSeek() const = 0;                    // 1012

    // 1010, 1029: the media's chapters, counted from 1. currentMarker is the
    // chapter that holds the position (0 before the first or without any);
    // setting it seeks to that chapter's start (out of range is ignored).
    virtual int markerCount() const = 0;
    virtual int currentMarker() const = 0;
    virtual void setCurrentMarker(int marker) = 0;

    // 1030: how many times the media plays before the engine reports
    // Stopped; 0 plays it endlessly. Repeats happen inside the engine without
    // state events. Default 1.
    virtual int playCount() const = 0;
    virtual void setPlayCount(int count) = 0;

    // 2030, 2032: entries of a multi-entry file (.asx); 0 for other media.
    // setCurrentEntry (from 1) switches to that entry's media without passing
    // through Closed: a playing engine plays the new entry, otherwise it
    // stays Stopped. Out of range is ignored. The engine plays one entry at
    // a time and reports Stopped at its end.
    virtual int entryCount() const = 0;
    virtual int currentEntry() const = 0;
    virtual void setCurrentEntry(qint32 entry) = 0;

    virtual int displaySize() const = 0; // 1032, DisplaySize
    virtual void setDisplaySize(int size) = 0;
    // The clip's picture size in pixels (square pixels); empty without video.
    virtual QSize videoSize() const = 0;
    // The native window the engine draws video into; the user interface
    // embeds it (QWidget::createWindowContainer). Null when no video can be
    // shown (no windowing system). Owned by the engine.
    virtual QWindow *videoWindow() = 0;

    // 1065, 1066, 1067: the last error since the media was set; set when the
    // error event is raised, cleared by setFileName.
    virtual bool hasError() const = 0;
    virtual QString errorDescription() const = 0;
    virtual qint32 errorCode() const = 0;
    // 1038: how playback recovers from the last error: "none" when the error
    // ended the media (it is closed or stopped), "continue" when the engine
    // plays on (a warning). "" without an error.
    virtual QString errorRecovery() const = 0;

    // 2016: MediaInfo code -> text from the current entry of an .asx, else
    // from the media's tags; "" when unknown or for other codes.
    virtual QString mediaInfoString(int code) const = 0;

    // 1057, 2008 (codec number from 1): one description per stream.
    virtual int codecCount() const = 0;
    virtual QString codecDescription(int codec) const = 0;

    virtual bool isMuted() const = 0; // 1089
    virtual void setMuted(bool muted) = 0;

    // Base settings, written when the engines are reset.
    // -500 AutoSize: resize the video window to the clip on open. Default false.
    virtual bool autoSize() const = 0;
    virtual void setAutoSize(bool on) = 0;
    // 1017 auto start: play as soon as the media has opened. Default false.
    virtual bool autoStart() const = 0;
    virtual void setAutoStart(bool on) = 0;
    // 1025 auto rewind: after the last repeat, go back to the start instead
    // of staying at the end. Default false.
    virtual bool autoRewind() const = 0;
    virtual void setAutoRewind(bool on) = 0;
    // 19 border: black margin in pixels kept around the picture. Default 0.
    virtual int videoBorder() const = 0;
    virtual void setVideoBorder(int pixels) = 0;
    // 23 engine controls: the engine draws no controls of its own; stored
    // and reported, otherwise without effect. Default false.
    virtual bool showControls() const = 0;
    virtual void setShowControls(bool on) = 0;
    // 1056 state events: raise playStateChanged. Default true.
    virtual bool sendStateEvents() const = 0;
    virtual void setSendStateEvents(bool on) = 0;
    // 1064 error events: raise error for errors that end the media. Default true.
    virtual bool sendErrorEvents() const = 0;
    virtual void setSendErrorEvents(bool on) = 0;
    // 1069 warning events: raise error also for recoverable problems (with
    // errorRecovery "continue"). Default true.
    virtual bool sendWarningEvents() const = 0;
    virtual void setSendWarningEvents(bool on) = 0;

    // 2033 (DialogStatistics, DialogOptions) and -552 (about): emit
    // dialogRequested so the user interface shows report(which).
    virtual void showDialog(int which) = 0;
    virtual void aboutBox() = 0;
    virtual EngineReport report(int which) const = 0;

    // Changing to the next item without a pause. Shortly before a media
    // ends, also while it is still opening, the engine asks the provider (on
    // the GUI thread) what follows it: after is that media's location, one
    // that plays or one handed over before it, and playsDone its plays so
    // far. A location it answers opens behind it and follows without a
    // gap: fileName() turns to it and nextStarted() is raised instead of
    // Stopped, the state staying Playing. "" lets the media end as usual.
    // An engine that cannot do this never asks.
    using NextLocation = std::function<QString(const QString &after, int playsDone)>;
    virtual void setNextLocationProvider(NextLocation provider) { Q_UNUSED(provider) }
    // The locations handed over that have not started, in playing order.
    virtual QStringList nextLocations() const { return {}; }
    // Forgets them: the playing media ends as usual (stop() and
    // setFileName() forget them too).
    virtual void dropNextLocations() {}

Q_SIGNALS:
    void playStateChanged(int oldState, int newState);
    // The location taken from the provider now plays.
    void nextStarted();
    void error();
    void dialogRequested(int which);
};

// The play state as a word, for logs and reports.
QString playStateName(int state);

} // namespace orvane::playback
