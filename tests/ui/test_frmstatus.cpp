// The progress dialog: its counter line, its buttons and the shortening of
// the path on its second line.
#include "core/modmain.h"
#include "ui/dialogs/frmstatus.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace orvane::test {
namespace {

using adding::kKeepLine;
using ui::frmStatus;

// Every character is one unit wide.
int characters(const QString &text)
{
    return int(text.size());
}

TEST(ShortenPath, KeepsTheNameAndCutsTheFolder)
{
    const struct {
        const char *path;
        int width;
        const char *shown;
    } cases[] = {
        {"/home/user/music/song.mp3", 100, "/home/user/music/song.mp3"},
        {"/home/user/music/song.mp3", 25, "/home/user/music/song.mp3"},
        {"/home/user/music/song.mp3", 24, "/home/user/m.../song.mp3"},
        {"/home/user/music/song.mp3", 13, "/.../song.mp3"},
        {"/home/user/music/song.mp3", 12, ".../song.mp3"},
        {"file://C:\\Media\\clip.wmv", 16, "file...\\clip.wmv"},
        // Too narrow even for the name: the name loses its end.
        {"/home/user/music/song.mp3", 9, ".../song."},
        {"/home/user/music/song.mp3", 2, "..."},
        {"averyveryverylongname.flac", 10, "...averyve"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ui::shortenPath(QString::fromLatin1(c.path), c.width, characters),
                  QString::fromLatin1(c.shown))
            << c.path << " in " << c.width;
}

TEST(StatusCounter, PadsToThreeDigitsAndRoundsThePercent)
{
    EXPECT_EQ(ui::statusCounterText(50.0f, 5, 10), QStringLiteral("050% (005/010)"));
    EXPECT_EQ(ui::statusCounterText(100.0f, 150, 150), QStringLiteral("100% (150/150)"));
    EXPECT_EQ(ui::statusCounterText(100.0f / 3.0f * 2.0f, 2, 3), QStringLiteral("067% (002/003)"));
    EXPECT_EQ(ui::statusCounterText(100.0f, 1234, 1234), QStringLiteral("100% (1234/1234)"));
}

class StatusDialog : public ::testing::Test
{
protected:
    StatusDialog()
    {
        core::modMain::LanguageFile =
            QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Default.ovs");
    }
};

TEST_F(StatusDialog, ShowStatusUpdatesWhatItIsGiven)
{
    frmStatus dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Adding Media"));
    EXPECT_EQ(dialog.cmdSkip()->text(), QStringLiteral("&Skip"));
    EXPECT_FALSE(dialog.SkipRequested || dialog.CancelRequested);

    dialog.Show_Status(QStringLiteral("one"), QStringLiteral("/a/b.mp3"), QStringLiteral("three"),
                       5, 10, -1, -1);
    EXPECT_EQ(dialog.barValue(), 50);
    EXPECT_EQ(dialog.counterText(), QStringLiteral("050% (005/010)"));

    // total 0: bar and counter stay, lines and buttons still change.
    dialog.Show_Status(QStringLiteral("new"), kKeepLine, QString(), 3, 0, 0, 1);
    EXPECT_EQ(dialog.barValue(), 50);
    EXPECT_EQ(dialog.counterText(), QStringLiteral("050% (005/010)"));
    EXPECT_EQ(dialog.line(1), QStringLiteral("new"));
    EXPECT_EQ(dialog.line(2), QStringLiteral("/a/b.mp3"));
    EXPECT_EQ(dialog.line(3), QString());
    EXPECT_FALSE(dialog.cmdSkip()->isEnabled());
    EXPECT_TRUE(dialog.cmdCancel()->isEnabled());

    // 1 leaves Skip off; current -1 resets the bar and empties the counter.
    dialog.Show_Status(kKeepLine, kKeepLine, kKeepLine, -1, 10, 1, 0);
    EXPECT_FALSE(dialog.cmdSkip()->isEnabled());
    EXPECT_FALSE(dialog.cmdCancel()->isEnabled());
    EXPECT_EQ(dialog.barValue(), 0);
    EXPECT_EQ(dialog.counterText(), QString());

    dialog.Show_Status(kKeepLine, kKeepLine, kKeepLine, 150, 150, 2, -1);
    EXPECT_TRUE(dialog.cmdSkip()->isEnabled());
    EXPECT_EQ(dialog.barValue(), 100);
    EXPECT_EQ(dialog.line(1), QStringLiteral("new"));
}

TEST_F(StatusDialog, SkipRaisesOneFlagAndCancelBoth)
{
    frmStatus dialog;
    dialog.show();
    QTest::mouseClick(dialog.cmdSkip(), Qt::LeftButton);
    EXPECT_TRUE(dialog.SkipRequested);
    EXPECT_FALSE(dialog.CancelRequested);

    dialog.SkipRequested = false;
    QTest::mouseClick(dialog.cmdCancel(), Qt::LeftButton);
    EXPECT_TRUE(dialog.SkipRequested);
    EXPECT_TRUE(dialog.CancelRequested);
}

TEST_F(StatusDialog, EscapeIsCancelAndLeavesTheDialogUp)
{
    frmStatus dialog;
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.SkipRequested && dialog.CancelRequested);

    dialog.SkipRequested = dialog.CancelRequested = false;
    dialog.Show_Status(kKeepLine, kKeepLine, kKeepLine, -1, -1, 0, 0);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.SkipRequested || dialog.CancelRequested) << "Cancel is off";
}

TEST_F(StatusDialog, LongPathOnLineTwoKeepsItsFileName)
{
    frmStatus dialog;
    const QString path = QStringLiteral("/very") +
                         QStringLiteral("/long folder name").repeated(40) +
                         QStringLiteral("/the song.mp3");
    dialog.Show_Status(QString(), path, QString(), -1, -1, 1, 1);
    const QString drawn = dialog.drawnLine2();
    EXPECT_LT(drawn.size(), path.size());
    EXPECT_TRUE(drawn.endsWith(QStringLiteral(".../the song.mp3"))) << drawn.toStdString();
    EXPECT_TRUE(drawn.startsWith(QStringLiteral("/very/long"))) << drawn.toStdString();
    dialog.show();
    dialog.repaint(); // drawing the shortened line must not fail
}

} // namespace
} // namespace orvane::test
