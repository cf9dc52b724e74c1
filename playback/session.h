#pragma once

#include "playback/controller.h"
#include "playback/navigation.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace orvane::playlist {
class lstPlayList;
}

namespace orvane::playback {

class PlaybackWindow;
class ProcessingLoop;
class StatusLine;

// What the status display showed last, so that controls are only written
// when something changed.
struct StatusMemory {
    double position = 0.0;
    double length = 0.0;
    QString statusText;
    double shownPosition = 0.0; // the position statusText shows
    qint32 cdMode = 0;
    qint16 cdRepeat = 0; // plays of the current CD track so far
};

// The main window's side of playback: its flags, the engines' state-change
// reports, the end of an item, the Play commands and the periodic status
// refresh. It works on the controls it is given and reaches the rest of the
// window through PlaybackWindow, so it runs without any widget.
class PlaybackSession : public QObject
{
    Q_OBJECT

public:
    // How long after a whole second of the media the clock's refresh comes.
    static constexpr int kTickLateMs = 20;

    // silSeek, lblStatus and window may be null (nothing is shown then).
    PlaybackSession(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
                    SeekBar *silSeek, StatusLine *lblStatus, PlaybackWindow *window,
                    QObject *parent = nullptr);
    ~PlaybackSession() override;

    // Routes the engines' state changes and error reports here.
    void connectEngines();
    // AdvanceAfterEnd suspends this processing while it changes items.
    void setProcessing(ProcessingLoop *processing) { m_processing = processing; }

    bool stopRequested() const { return m_stopRequested; }
    // Every caller stops or loads right after, which forgets what the
    // engine prepared: dropping it here would reopen the playing media
    // only to have that open race the stop.
    void setStopRequested(bool on) { m_stopRequested = on; }
    bool repeatAll() const { return m_repeatAll; }
    void setRepeatAll(bool on);
    const StatusMemory &statusMemory() const { return m_memory; }
    qint16 seekScale() const { return m_seekScale; }
    bool seekDragging() const { return m_seekDragging; }

    // End of an item: the next checked item, or the end of the list.
    bool AdvanceAfterEnd();
    void MediaPlayer_PlayStateChange(int oldState, int newState);
    // The engine went on by itself to the location it was given before the
    // end; the advance follows it as after the engine's stopped report.
    void MediaPlayer_NextStarted();
    // What the engine may open behind the media at after (the playing item,
    // or the last one handed over; playsDone: its plays so far): the
    // location the advance would play next, or "" when the item plays
    // again, the list stops there or the next item is not a file of the
    // same engine.
    QString NextLocation(const QString &after, int playsDone) const;
    // The playlist's items, order or checks changed: a location prepared
    // behind the playing item that is no longer the next one is dropped.
    void PlayListChanged();
    void RealPlayer_OnStateChange(int newState);
    // True when it started the same track again.
    bool CdEndOfTrack(qint32 mode);

    // Play menu: 11 PlayPause, 12 Stop, 14 Reverse, 15 Forward, 17
    // RepeatAll (repeatAllChecked: the menu item's check mark). False for
    // any other id.
    bool ovmPlay_MenuClick(int id, bool repeatAllChecked = false);
    // Control toolbar: "play"/"pause", "stop", "reverse", "forward", "sound".
    void tobControl_ButtonClick(const QString &key);
    void PlayPause();
    void Stop();
    void Reverse();
    void Forward();

    // One refresh of the seek bar and status line (and the CD end of track).
    void UpdateStatus();
    // While media plays on screen: milliseconds until the shown time should
    // move to its next second; -1 when no change is due with the clock
    // (nothing loaded, paused, stopped, or not on the screen).
    int msUntilNextSecond() const;
    // The seek bar: the user drags it (scroll) / its value was set (change).
    void silSeek_Scroll();
    void silSeek_Change();
    // A step of the bar without a drag (wheel, keys): seeks there once the
    // steps pause.
    void silSeek_Step();

private:
    void onEngineStopped();
    int handedPosition() const;
    QString locationAt(int position) const;
    void revisePrepared();
    void onEnginePlaying();
    void pressButton(const QString &key);
    void setInfoText(const QString &text);
    void showMediaInfo();
    // Says in the status line which item did not play, and keeps saying it
    // while nothing plays.
    void reportFailures(const FailedItems &failed);
    void layoutPictureArea();
    void setStatus(const QString &text);
    bool refreshFromEngine();
    void showStatus(const QString &text, double position);
    bool statusShown() const;
    void applyLength(double length);
    void runCdStep();

    MediaPlayer &m_mediaPlayer;
    RealPlayer &m_realPlayer;
    playlist::lstPlayList &m_view;
    SeekBar *m_seekBar;
    StatusLine *m_status;
    PlaybackWindow *m_window;
    ProcessingLoop *m_processing = nullptr;

    bool m_stopRequested = false;
    bool m_repeatAll = false;
    StatusMemory m_memory;
    QString m_failureText; // shown instead of "Ready" after a failure
    qint16 m_seekScale = 1;
    bool m_seekDragging = false;
    // Wheel or key steps in a row: one seek when they stop coming.
    QTimer m_seekSteps;
    static constexpr int kSeekStepPauseMs = 150;
    // The menu help wrote the status line on the last pass.
    bool m_statusLent = false;
};

} // namespace orvane::playback
