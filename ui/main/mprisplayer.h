#pragma once

#include <QList>
#include <QString>

namespace orvane::ui {

// What the desktop's media controls may see of and do with the player. The
// main window implements it by running its own Play commands, so a media key
// on the desktop does exactly what the Play menu does.
class MprisPlayer
{
public:
    struct Track {
        QString key; // the playlist view's key, "num" + index
        QString title;
        QString artist;
        QString album;        // known of the item that plays, from its tags
        QString url;          // the playlist's location, not encoded
        qint64 lengthUs = -1; // unknown when negative
    };

    virtual ~MprisPlayer() = default;

    virtual QList<Track> tracks() const = 0; // in play order
    // The item that plays (or is paused), else the one Play would start;
    // empty when there is none.
    virtual QString currentKey() const = 0;
    // "Playing", "Paused" or "Stopped".
    virtual QString playbackStatus() const = 0;
    virtual qint64 positionUs() const = 0;
    virtual bool canSeek() const = 0;
    // The system mixer's volume, 0 to 1.
    virtual double volume() const = 0;
    virtual void setVolume(double volume) = 0;
    // The Play menu's repeat-all.
    virtual bool repeatAll() const = 0;
    virtual void setRepeatAll(bool on) = 0;

    virtual void playPause() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    virtual void goTo(const QString &key) = 0;
    virtual void setPositionUs(qint64 position) = 0;
    virtual void raise() = 0;
    virtual void quit() = 0;
};

} // namespace orvane::ui
