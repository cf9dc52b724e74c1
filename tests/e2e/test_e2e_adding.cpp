// A user opens a long M3U of local files: the playlist fills at the pace
// the budget gives, the progress dialog counts meanwhile, and Cancel in it
// ends the adding with what was added so far kept.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <unistd.h>

using namespace orvane::e2e;

namespace {

constexpr int kFiles = 2000;
// The budget of adding local files is 6 ms a file on the 2-core machine,
// which bench_desktop_adding holds; measured here it is 3.3 ms when the
// machine is quiet and 5.3 ms while two builds share it. The story allows
// half as much again, so that it fails on a slow adding, not on a busy
// machine (the adding that made the user wait took 53 ms a file).
constexpr double kLimitMsPerFile = 9.0;

class Adding : public DesktopTest
{
protected:
    // The three titles of the clips behind the list, in the list's order.
    const QStringList m_titles = {QStringLiteral("Alpha"), QStringLiteral("Beta"),
                                  QStringLiteral("Gamma")};

    // An M3U of count files under names of their own: hard links (copies
    // where no link can be made) of three short clips, so that every line
    // is a file the program has not opened before.
    QString longList(int count)
    {
        QStringList clips;
        for (const QString &title : m_titles)
            clips << mp3Clip(title, 1);
        const QString folder = m_desktop.home() + QStringLiteral("/music");
        EXPECT_TRUE(QDir().mkpath(folder));
        QByteArray lines;
        for (int i = 0; i < count; ++i) {
            const QByteArray from = QFile::encodeName(clips.at(i % clips.size()));
            const QString name =
                folder + QStringLiteral("/track-%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
            if (::link(from.constData(), QFile::encodeName(name).constData()) != 0 &&
                !QFile::copy(QFile::decodeName(from), name))
                ADD_FAILURE() << "cannot make " << name.toStdString();
            lines += QFile::encodeName(name) + '\n';
        }
        const QString list = m_desktop.home() + QStringLiteral("/long.m3u");
        QFile file(list);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines);
        return list;
    }
};

} // namespace

TEST_F(Adding, ALongM3uFillsThePlaylistAtThePaceOfItsBudget)
{
    const QString list = longList(kFiles);
    Player &player = startPlayer({list});
    // From the window on screen: the adding starts once it is there.
    QElapsedTimer clock;
    clock.start();
    const int limitMs = int(kFiles * kLimitMsPerFile * 3);
    int rows = -1;
    const bool all = waitUntil(
        [&] {
            rows = player.playlistRows();
            return rows == kFiles;
        },
        limitMs, 100);
    const double perFile = double(clock.elapsed()) / kFiles;
    ASSERT_TRUE(all) << rows << " of " << kFiles << " rows after " << limitMs << " ms: more than "
                     << perFile << " ms a file";
    std::printf("adding %d local files: %.2f ms a file\n", kFiles, perFile);
    EXPECT_LT(perFile, kLimitMsPerFile);

    // Each item is titled from its own file's tag.
    const QStringList shown = player.playlist();
    ASSERT_FALSE(shown.isEmpty());
    for (qsizetype i = 0; i < shown.size(); ++i)
        ASSERT_EQ(shown.at(i), m_titles.at(i % m_titles.size())) << "row " << i;
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^Could Not Add"), 1000))
        << "every file was added";
}

TEST_F(Adding, CancelInTheProgressDialogKeepsWhatWasAddedSoFar)
{
    // Long enough that a user has time to reach for the button.
    const int files = 2 * kFiles;
    Player &player = startPlayer({longList(files)});
    ASSERT_FALSE(player.waitForWindow(QStringLiteral("^Adding Media"), 20000).isEmpty())
        << "the progress dialog comes up";
    AtSpi &atspi = player.accessibility();
    const Accessible dialog =
        atspi.findByName(atspi.application(player.pid()), QStringLiteral("Adding Media"));
    const Accessible bar = atspi.findByRole(dialog, QStringLiteral("progress bar"));
    const Accessible cancel = atspi.findByName(dialog, QStringLiteral("Cancel"));
    ASSERT_TRUE(bar.isValid() && cancel.isValid());
    double first = 0;
    ASSERT_TRUE(waitUntil([&] { return (first = atspi.currentValue(bar).value_or(0)) > 0; }))
        << "the bar moves while the files are added";
    EXPECT_TRUE(waitUntil([&] { return atspi.currentValue(bar).value_or(0) > first; }))
        << "and goes on moving";

    player.click(centreOf(atspi.extents(cancel)));
    ASSERT_TRUE(player.waitForNoWindow(QStringLiteral("^Adding Media")))
        << "Cancel ends the adding";
    // The file whose probe Cancel cut short is not one that failed.
    EXPECT_TRUE(player.waitForWindow(QStringLiteral("^Could Not Add"), 2000).isEmpty())
        << "no error log after a cancel";
    int rows = -1;
    ASSERT_TRUE(waitUntil([&] { return (rows = player.playlistRows()) > 0; }))
        << "what was added stays";
    std::printf("cancelled with %d of %d files added\n", rows, files);
    EXPECT_LT(rows, files);
    EXPECT_FALSE(waitUntil([&] { return player.playlistRows() != rows; }, 2000))
        << "and nothing is added after the cancel: " << rows << " -> " << player.playlistRows();
    EXPECT_EQ(player.playlist().value(0), m_titles.at(0));
}

// While the list is added, the user reaches for the keys and the desktop's
// media controls: Clear, Play and MPRIS Play wait for no one and must not
// take the list or the engines from the walk. They are refused; the walk
// adds every file, each titled from its own tags, and then plays the first.
TEST_F(Adding, CommandsDuringTheAddingLeaveTheListAndTheEnginesToIt)
{
    Player &player = startPlayer({longList(kFiles)});
    ASSERT_FALSE(player.waitForWindow(QStringLiteral("^Adding Media"), 20000).isEmpty());
    player.activate();
    player.key(QStringLiteral("ctrl+Delete"));
    player.key(QStringLiteral("ctrl+p"));
    player.playerctl({QStringLiteral("play")});
    player.key(QStringLiteral("ctrl+Delete"));

    ASSERT_TRUE(player.waitForNoWindow(QStringLiteral("^Adding Media"), 30000));
    ASSERT_EQ(player.playlistRows(), kFiles) << "nothing was cleared under the walk";
    const QStringList shown = player.playlist();
    for (qsizetype i = 0; i < shown.size(); ++i)
        ASSERT_EQ(shown.at(i), m_titles.at(i % m_titles.size())) << "row " << i;
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    EXPECT_EQ(player.playerctl({QStringLiteral("metadata"), QStringLiteral("title")}),
              m_titles.at(0));
}

// Closing the window ends the adding like Cancel, and the program with it:
// no error log, nothing starts to play, gone within two seconds.
TEST_F(Adding, ClosingTheWindowDuringTheAddingEndsTheProgramSoon)
{
    Player &player = startPlayer({longList(2 * kFiles)});
    ASSERT_FALSE(player.waitForWindow(QStringLiteral("^Adding Media"), 20000).isEmpty());
    ASSERT_TRUE(player.activate());
    player.key(QStringLiteral("alt+F4"));
    EXPECT_EQ(player.waitForExit(2000), 0) << "still running 2 s after the close:\n"
                                           << player.backtrace().toStdString();
    EXPECT_FALSE(player.log().contains(QStringLiteral("Could Not Add")));
}
