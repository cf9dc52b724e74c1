// A user who wants to choose before anything plays opens the options from
// the menu, turns AutoPlay off and confirms: the next file added waits in
// the playlist. Every page of the dialog is kept as a screenshot, in English
// and in Japanese, to be looked at.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

#include <QFile>

using namespace orvane::e2e;

namespace {

const char *const kPages[] = {"general1", "general2", "shell", "wmp", "rap", "convert"};

class Options : public DesktopTest
{
protected:
    Accessible application(Player &player)
    {
        return player.accessibility().application(player.pid());
    }

    // The Options menu, then its Orvane Options item.
    bool openOptions(Player &player, const QString &caption)
    {
        player.activate();
        if (!player.keyForPopup(QStringLiteral("alt+o")))
            return false;
        player.key(QStringLiteral("o"));
        return !player.waitForActiveWindow(u'^' + caption).isEmpty();
    }

    // Whether a frame with that caption is on the screen.
    bool frameShown(Player &player, const QString &caption)
    {
        AtSpi &atspi = player.accessibility();
        return waitUntil([&] {
            const Accessible frame = atspi.findByName(application(player), caption);
            return frame.isValid() && !atspi.extents(frame).isEmpty();
        });
    }

    // Every page in turn, from the keyboard, each kept as a screenshot once
    // its frame is on the screen.
    void keepEveryPage(Player &player, const char *language, const QStringList &frames)
    {
        for (int page = 0; page < 6; ++page) {
            if (page > 0)
                player.key(QStringLiteral("ctrl+Tab"));
            EXPECT_TRUE(frameShown(player, frames.at(page))) << kPages[page];
            m_desktop.screenshot(
                QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/options-%1-%2.png")
                    .arg(QString::fromLatin1(language), QString::fromLatin1(kPages[page])));
        }
        player.key(QStringLiteral("ctrl+Tab"));
        EXPECT_TRUE(frameShown(player, frames.first())) << "round to the first page";
    }

    QByteArray settings()
    {
        QFile file(m_folder.settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(Options, WithAutoPlayTurnedOffAnAddedFileWaitsInThePlaylist)
{
    Player &player = startPlayer({});
    const QString caption = QStringLiteral("Orvane Options");
    ASSERT_TRUE(openOptions(player, caption));
    player.key(QStringLiteral("alt+p")); // Start playing after adding media
    keepEveryPage(
        player, "english",
        {QStringLiteral("General settings"), QStringLiteral("Advanced settings"),
         QStringLiteral("Desktop integration"), QStringLiteral("GStreamer engine's file types"),
         QStringLiteral("mpv engine's file types"), QStringLiteral("External converter program")});
    AtSpi &atspi = player.accessibility();
    const Accessible ok = atspi.findByName(application(player), QStringLiteral("OK"));
    ASSERT_TRUE(ok.isValid());
    player.click(atspi.extents(ok).center());
    ASSERT_TRUE(player.waitForNoWindow(u'^' + caption));
    EXPECT_TRUE(settings().contains("AutoPlay=False")) << settings().constData();

    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("ctrl+o")));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Open Media")).isEmpty());
    player.type(mp3Clip(QStringLiteral("Waiting"), 20));
    player.key(QStringLiteral("Return"));
    ASSERT_TRUE(waitUntil([&] { return player.playlist().size() == 1; }, 20000));
    EXPECT_FALSE(waitForWord(player, QStringLiteral("Playing"), 3000))
        << "it waits for a play command: " << player.statusText().toStdString();
}

TEST_F(Options, EveryPageInJapanese)
{
    writeSettings("[General Setting]\r\nLanguageFile=Japanese.ovs\r\n");
    Player &player = startPlayer({});
    const QString caption = QStringLiteral("Orvane のオプション");
    ASSERT_TRUE(openOptions(player, caption));
    keepEveryPage(player, "japanese",
                  {QStringLiteral("全般の設定"), QStringLiteral("詳細な設定"),
                   QStringLiteral("デスクトップとの連携"),
                   QStringLiteral("GStreamer エンジンのファイルの種類"),
                   QStringLiteral("mpv エンジンのファイルの種類"),
                   QStringLiteral("外部の変換プログラム")});
    player.key(QStringLiteral("Escape"));
    EXPECT_TRUE(player.waitForNoWindow(u'^' + caption));
    EXPECT_FALSE(settings().contains("AutoPlay")) << "closed without OK, nothing written";
}
