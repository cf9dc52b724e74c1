#pragma once

#include "tests/e2e/player.h"

#include <QString>

#include <functional>
#include <ostream>

namespace orvane::e2e {

// The engine a story runs with, by the clips it plays: the GStreamer
// engine takes MP3, the libmpv engine RealMedia. A clip whose title starts
// with "S" is a second longer than asked, so the status line tells which
// of two clips plays.
struct EngineCase {
    const char *name;
    std::function<QString(const QString &title, double seconds)> clip;
};
extern const EngineCase kEngines[2];
inline void PrintTo(const EngineCase &engine, std::ostream *out)
{
    *out << engine.name;
}

// What a user reads in the status line: position, length, play-mode word.
double shownPosition(Player &player);
// Waits until the status line reads the play-mode word ("Playing").
bool waitForWord(Player &player, const QString &word, int timeoutMs = 20000);
// Waits until the clip of that length plays from its start and its time
// runs. The item's name changes at once, while the status line keeps the
// last item's time until the new one has loaded.
bool waitForStart(Player &player, double length, int timeoutMs = 20000);
// Clicks the middle of the control with that tool tip; false when the
// control is not on screen.
bool clickControl(Player &player, const QString &toolTip);

// Files > Quit once the adding has ended (rows show while the last of them
// is still being read); true when the program then ends by itself, with 0.
bool quitFromTheFilesMenu(Player &player);

} // namespace orvane::e2e
