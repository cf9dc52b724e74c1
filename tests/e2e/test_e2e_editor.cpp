// A user deletes items from the playlist, then brings them back through
// the playlist editor; and reads the editor in Japanese.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

using namespace orvane::e2e;

namespace {

class Editor : public DesktopTest
{
protected:
    void keepScreenshot(const char *name)
    {
        m_desktop.screenshot(QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/editor-") +
                             QString::fromLatin1(name) + QStringLiteral(".png"));
    }

    bool waitForPlaylist(Player &player, const QStringList &titles, int timeoutMs = 15000)
    {
        return waitUntil([&] { return player.playlist() == titles; }, timeoutMs, 200);
    }

    // Clicks the middle of the object called name inside root.
    bool clickNamed(Player &player, const Accessible &root, const QString &name)
    {
        AtSpi &atspi = player.accessibility();
        const QRect box = atspi.extents(atspi.findByName(root, name));
        if (box.isEmpty())
            return false;
        player.click(centreOf(box));
        return true;
    }

    // The text box labelled name in the frame called frame.
    QString fieldText(Player &player, const Accessible &editor, const QString &frame,
                      const QString &name)
    {
        AtSpi &atspi = player.accessibility();
        for (const Accessible &child : atspi.children(atspi.findByName(editor, frame))) {
            if (atspi.role(child) == QStringLiteral("text") && atspi.name(child) == name)
                return atspi.text(child);
        }
        return QStringLiteral("(no such field)");
    }

    Accessible playlistCell(Player &player, const QString &title)
    {
        AtSpi &atspi = player.accessibility();
        const Accessible tree =
            atspi.findByRole(atspi.application(player.pid()), QStringLiteral("tree"));
        return atspi.findByName(tree, title);
    }

    // The editor's dialog, once it has the focus.
    Accessible openEditor(Player &player, const QString &caption)
    {
        // Right after start-up the adding may still hold the list, and a
        // command is refused then: the user presses again.
        bool opened = false;
        for (int attempt = 0; attempt < 5 && !opened; ++attempt) {
            player.activate();
            opened = player.keyForPopup(QStringLiteral("ctrl+Insert"), 3000);
        }
        if (!opened || player.waitForActiveWindow(QLatin1Char('^') + caption).isEmpty())
            return {};
        AtSpi &atspi = player.accessibility();
        return atspi.findByName(atspi.application(player.pid()), caption);
    }

    const QStringList kTitles{QStringLiteral("First"), QStringLiteral("Second"),
                              QStringLiteral("Third"), QStringLiteral("Fourth"),
                              QStringLiteral("Fifth")};
};

} // namespace

TEST_F(Editor, DeletedItemsComeBackThroughTheEditor)
{
    QStringList clips;
    for (const QString &title : kTitles)
        clips << mp3Clip(title, 20);
    Player &player = startPlayer(clips);
    ASSERT_TRUE(waitForPlaylist(player, kTitles));

    for (const QString &title : {kTitles[1], kTitles[2], kTitles[4]}) {
        const qsizetype rows = player.playlist().size();
        const QRect cell = player.accessibility().extents(playlistCell(player, title));
        ASSERT_FALSE(cell.isEmpty()) << title.toStdString();
        player.click(centreOf(cell));
        player.key(QStringLiteral("Delete"));
        ASSERT_TRUE(waitUntil([&] { return player.playlist().size() == rows - 1; }, 5000))
            << "Delete removes " << title.toStdString();
    }
    ASSERT_EQ(player.playlist(), (QStringList{kTitles[0], kTitles[3]}));

    const Accessible editor = openEditor(player, QStringLiteral("Edit Playlist"));
    ASSERT_TRUE(editor.isValid()) << "Ctrl+Ins opens the editor";
    AtSpi &atspi = player.accessibility();
    const Accessible all = atspi.findByName(editor, QStringLiteral("All items"));
    EXPECT_EQ(atspi.columnTexts(all), kTitles) << "deleted items are listed too";

    // Every item, in the order the store has them, into the new playlist.
    ASSERT_TRUE(clickNamed(player, all, kTitles[0]));
    player.key(QStringLiteral("ctrl+a"));
    ASSERT_TRUE(waitUntil(
        [&] {
            return fieldText(player, editor, QStringLiteral("Item details"),
                             QStringLiteral("Title")) == QStringLiteral("<several values>");
        },
        5000))
        << "the fields of the selected items are shown";
    ASSERT_TRUE(clickNamed(player, editor, QStringLiteral("Add >")));
    const Accessible chosen = atspi.findByName(editor, QStringLiteral("New playlist"));
    EXPECT_TRUE(waitUntil([&] { return atspi.columnTexts(chosen) == kTitles; }, 5000))
        << atspi.columnTexts(chosen).join(u'|').toStdString();
    keepScreenshot("english");

    ASSERT_TRUE(clickNamed(player, editor, QStringLiteral("OK")));
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^Edit Playlist")));
    EXPECT_TRUE(waitForPlaylist(player, kTitles, 5000))
        << "the view shows them again: " << player.playlist().join(u'|').toStdString();
}

TEST_F(Editor, TheEditorSpeaksJapanese)
{
    writeSettings("[General Setting]\r\nLanguageFile=Japanese.ovs\r\n");
    Player &player = startPlayer({mp3Clip(kTitles[0], 20), mp3Clip(kTitles[1], 20)});
    ASSERT_TRUE(waitForPlaylist(player, {kTitles[0], kTitles[1]}));
    const Accessible editor = openEditor(player, QStringLiteral("プレイリストの編集"));
    ASSERT_TRUE(editor.isValid());
    AtSpi &atspi = player.accessibility();
    const Accessible all = atspi.findByName(editor, QStringLiteral("すべての項目"));
    ASSERT_TRUE(clickNamed(player, all, kTitles[1]));
    EXPECT_TRUE(waitUntil(
        [&] {
            return fieldText(player, editor, QStringLiteral("項目の情報"),
                             QStringLiteral("タイトル")) == kTitles[1];
        },
        5000));
    EXPECT_TRUE(
        atspi.findByNamePattern(editor, QRegularExpression(QStringLiteral("^適用.*"))).isValid());
    keepScreenshot("japanese");
    player.key(QStringLiteral("Escape"));
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^プレイリストの編集")));
    EXPECT_EQ(player.playlist(), (QStringList{kTitles[0], kTitles[1]}));
}
