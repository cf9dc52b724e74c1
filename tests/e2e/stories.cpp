#include "tests/e2e/stories.h"

#include "tests/e2e/e2emedia.h"

#include <cmath>

namespace orvane::e2e {

const EngineCase kEngines[2] = {
    {"GStreamer", [](const QString &title,
                     double s) { return mp3Clip(title, title.startsWith(u'S') ? s + 1 : s); }},
    {"Mpv", [](const QString &title,
               double s) { return realAudioClip(title.startsWith(u'S') ? s + 1 : s); }},
};

double shownPosition(Player &player)
{
    return statusPosition(player.statusText()).value_or(-1);
}

bool waitForWord(Player &player, const QString &word, int timeoutMs)
{
    return waitUntil([&] { return statusWord(player.statusText()) == word; }, timeoutMs);
}

bool waitForStart(Player &player, double length, int timeoutMs)
{
    return waitUntil(
        [&] {
            const QString status = player.statusText();
            const double at = statusPosition(status).value_or(99);
            return std::abs(statusLength(status).value_or(-1) - length) < 0.5 &&
                   statusWord(status) == QStringLiteral("Playing") && at > 0.3 && at < 5;
        },
        timeoutMs);
}

bool clickControl(Player &player, const QString &toolTip)
{
    const QRect box = player.accessibility().extents(player.control(toolTip));
    if (box.isEmpty())
        return false;
    player.click(box.center());
    return true;
}

bool quitFromTheFilesMenu(Player &player)
{
    if (!player.waitForNoWindow(QStringLiteral("^Adding Media")))
        return false;
    player.activate();
    if (!player.keyForPopup(QStringLiteral("alt+f")))
        return false;
    player.key(QStringLiteral("q"));
    return player.waitForExit(20000) == 0;
}

} // namespace orvane::e2e
