#pragma once

#include <QObject>
#include <QString>

class QWindow;

namespace orvane::playback {

// The second playback engine: RealMedia files and streams, and the playlists
// of that family (".ram/.rpm" location lists, ".smil/.smi" presentations),
// which the engine expands into entries by itself.
//
// Units: positions and lengths in milliseconds (32-bit, as the controller
// stores them); a negative length means "not known (yet)". Entries are
// counted from 1 where the controller compares them with an item's entry
// number (currentEntry) and from 0 where it asks for an entry's texts.
//
// Thread: every member is called on the GUI thread and every signal is
// emitted on it. Signals are never emitted from inside a call to the engine:
// they are queued and reach the program from the event loop, in the order the
// engine raised them, also when the program pumps events inside a wait of
// its own. No member waits for the engine: what they report is what the
// engine said last, so a busy engine cannot hold up the window.
//
// Kept pure virtual and small so that the code above can be tested with a
// fake; the numbers in the comments are the members' dispatch ids in the
// Windows control this engine stands in for.
class RealPlayer : public QObject
{
    Q_OBJECT
public:
    // What playState() reports.
    enum PlayState {
        Stopped = 0,    // nothing playing (also: nothing loaded)
        Contacting = 1, // opening the source: connecting, probing
        Buffering = 2,  // a network source fills its buffer (before or while playing)
        Playing = 3,
        Paused = 4,
        Seeking = 5,
    };
    Q_ENUM(PlayState)

    // Severity of errorMessage(): 1 is the worst. 6 and 7 are problems the
    // engine recovered from (the program may keep going quietly).
    enum Severity {
        Alert = 1,         // the engine itself cannot work (libmpv failed to start)
        Critical = 2,      // the source cannot be used at all (refused by the engine)
        Error = 3,         // the source failed to open or play
        Warning = 4,       // reserved
        Notice = 5,        // reserved
        Informational = 6, // recovered: a playlist entry was passed over, a seek refused
        Debug = 7,         // recovered: a detail of no consequence
    };
    Q_ENUM(Severity)

    // Stable codes for errorMessage()'s user code; the text says the same in words.
    enum ErrorCode {
        NoError = 0,
        EngineFailed = 1,       // libmpv could not be created or started
        NotFound = 2,           // the file does not exist
        NotARegularFile = 3,    // a directory, FIFO, device or socket
        EmptyFile = 4,          // zero bytes
        UnreadableFile = 5,     // no permission or an I/O error
        UnknownFormat = 6,      // the engine recognises no stream in it
        NetworkFailed = 7,      // connection refused, timed out, name not found
        BadPlaylist = 8,        // a ".ram"/".smil" that cannot be read
        EmptyPlaylist = 9,      // a playlist without any usable entry
        SelfReference = 10,     // a playlist entry that leads back to the playlist
        EntrySkipped = 11,      // one entry of a playlist failed; the next one plays
        SeekRefused = 12,       // the position is outside the clip
        PlaybackFailed = 13,    // the engine gave up while playing
        UnsupportedSource = 14, // a scheme the engine does not handle
    };
    Q_ENUM(ErrorCode)

    explicit RealPlayer(QObject *parent = nullptr)
        : QObject(parent)
    {}
    ~RealPlayer() override;

    // 102. The location being played: "file://" + absolute path, a plain
    // path, or a network URL. Setting "" stops and empties the engine; setting
    // a location stops what plays, reads a ".ram/.rpm/.smil/.smi" file into
    // entries at once, and loads nothing yet (play() opens it). source()
    // returns the new text at once; playState() turns 0 with the engine's
    // report (stateChanged(0)) when something was playing.
    virtual QString source() const = 0;
    virtual void setSource(const QString &location) = 0;

    // 104. Which part of the engine's face is shown: "ImageWindow" (the
    // picture) or "StatusBar". The engine has no status bar of its own, so
    // the text is only kept; the picture is videoWindow().
    virtual QString controls() const = 0;
    virtual void setControls(const QString &controls) = 0;

    // 260. One of PlayState.
    virtual int playState() const = 0;

    // 257. Opens the source when nothing is open (Contacting at once, then
    // clipOpened, Buffering for a network source and Playing as the engine
    // reports them, or errorMessage and Stopped), resumes when paused, else
    // does nothing. At the end of the last entry (and of the last loop) the
    // state turns Stopped; between entries and loops it does not.
    virtual void play() = 0;
    // 258. Pauses; the state turns Paused with the engine's report.
    virtual void pause() = 0;
    // 202. Stops and closes the clip. The state does NOT change inside the
    // call: it turns Stopped with the engine's report (stateChanged(0)), so a
    // caller that reads playState() right after stop() still sees the state
    // the clip had. Does nothing when already Stopped. The next play() starts
    // at the position last set (0 after a stop).
    virtual void stop() = 0;

    // 269. Moves to a position; while stopped, sets where the next play()
    // starts. A position outside the clip gives errorMessage(Informational,
    // SeekRefused). State Seeking until the engine has moved.
    virtual void setPosition(qint32 ms) = 0;
    // 259. The current position; 0 while stopped. Read many times a second:
    // while playing it moves on with the clock between the engine's reports;
    // it never goes back within a clip except by a seek, and right after
    // setPosition() it is the new place.
    virtual qint32 position() const = 0;
    // 261. The length of the current clip; negative while not known (nothing
    // opened yet, a live stream).
    virtual qint32 length() const = 0;

    // 205. A source is set and it has not failed: play() can start it.
    virtual bool canPlay() const = 0;
    // 316. The open clip can be moved in (a file or a seekable stream).
    virtual bool canSeek() const = 0;

    // 231. Endless looping of the whole source (all its entries) on or off.
    virtual bool isLooping() const = 0;
    virtual void setLooping(bool on) = 0;
    // 270, 271. How many times the whole source plays when looping is off:
    // 1 plays it once (the default); values below 1 count as 1.
    virtual int loopCount() const = 0;
    virtual void setLoopCount(int count) = 0;

    // 309. Entries of the source: the locations of a ".ram" or the media of a
    // ".smil", 1 for a single clip, 0 with no source.
    virtual int numEntries() const = 0;
    // 310. The entry that plays (or plays next), counted from 1; 0 with no source.
    virtual int currentEntry() const = 0;
    // 341, 342. Moves to the next or previous entry (no wrap-around); when
    // something is open, the new entry opens and keeps the play/pause state.
    virtual void nextEntry() = 0;
    virtual void previousEntry() = 0;
    // 311-314. Texts of the entry with index 0 to numEntries()-1: from the
    // playlist file, or for a single clip from its tags once it was opened.
    // "" for an index out of range.
    virtual QString entryTitle(int index) const = 0;
    virtual QString entryAuthor(int index) const = 0;
    virtual QString entryCopyright(int index) const = 0;
    virtual QString entryAbstract(int index) const = 0;

    // 262-264. Tags of the clip opened last ("" when it has none; kept after
    // a stop until the source changes).
    virtual QString title() const = 0;
    virtual QString author() const = 0;
    virtual QString copyright() const = 0;
    // The clip's album tag; not a member of the Windows control, so engines
    // without it keep this "".
    virtual QString album() const { return {}; }

    // 265, 266. Picture size of the clip in pixels, 0 for audio or when unknown.
    virtual int clipWidth() const = 0;
    virtual int clipHeight() const = 0;

    // 229. Silences the output (kept across sources).
    virtual bool isMute() const = 0;
    virtual void setMute(bool mute) = 0;

    // 277, 289, 291. Picture-size calls: centring on/off, then natural or
    // double size. The layout sizes videoWindow() from clipWidth() and
    // clipHeight(); the engine fills that window keeping the aspect ratio, so
    // these calls only record the mode (pictureScale() reads it back).
    virtual void setCentered(bool on) = 0;
    virtual void setOriginalSize() = 0;
    virtual void setDoubleSize() = 0;
    virtual int pictureScale() const = 0; // 1 or 2

    // Base settings that the engine reset writes, with what they mean here:
    // 227: output volume, 0 to 100.
    virtual void setVolume(int percent) = 0;
    // 106: opening a source starts playing it at once (off: only play() does).
    virtual void setAutoStart(bool on) = 0;
    // 107: entries play in a shuffled order (off: in file order).
    virtual void setShuffle(bool on) = 0;
    // 273: keep the clip's aspect ratio when the picture is scaled.
    virtual void setMaintainAspect(bool on) = 0;
    // 295: the picture window reacts to the keyboard (off: keys go to the program).
    virtual void setWantKeyboardEvents(bool on) = 0;
    // 235: the picture window reacts to the mouse (off: clicks go to the program).
    virtual void setWantMouseEvents(bool on) = 0;
    // 275: a context menu of the engine's own. The engine has none: no-op.
    virtual void setEnableContextMenu(bool on) = 0;
    // 326: messages drawn over the picture (seek times, volume).
    virtual void setOnScreenMessages(bool on) = 0;

    // 283, 210, -552: texts for the statistics, preferences and about boxes
    // of the user interface (the engine shows no window of its own). The
    // statistics are the values the engine reported last.
    virtual QString statisticsText() const = 0;
    virtual QString preferencesText() const = 0;
    virtual QString aboutText() const = 0;

    // The native window the picture is drawn into; the user interface embeds
    // it (QWidget::createWindowContainer) and sizes it. May be null for an
    // engine without video (a fake, or the headless configuration).
    virtual QWindow *videoWindow() = 0;

Q_SIGNALS:
    // A clip was opened: its short name (file name or title) and its location.
    // When it arrives, title(), author(), copyright(), length(), clipWidth(),
    // clipHeight() and canSeek() already describe that clip.
    void clipOpened(const QString &shortClipName, const QString &url);
    // The clip that was open has closed (its end, stop, another source).
    void clipClosed();
    // Buffering progress of a network source: flags (0 filling the buffer
    // before playing, 1 refilling while playing) and percent complete.
    void buffering(int flags, int percentComplete);
    // The play state changed to the value given (PlayState).
    void stateChanged(int newState);
    // An error: severity (Severity, 1-7), the engine's own code (a libmpv or
    // errno number, 0 if none), Orvane's code (ErrorCode), a text for the
    // user, an address with more information ("" if none) and the engine's
    // own text.
    void errorMessage(int severity, qint32 engineCode, qint32 userCode, const QString &userText,
                      const QString &moreInfoUrl, const QString &errorText);
};

} // namespace orvane::playback
