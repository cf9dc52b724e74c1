// Starting Orvane for real: which process becomes the running player, what
// a second start hands over, and what happens when that cannot work.
#include "tests/app/appprocess.h"
#include "tests/support/processes.h"
#include "tests/support/xvfb.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <list>

using namespace orvane::test;

namespace {

QString runtimeFile(const ProgramFolder &folder, const char *suffix)
{
    return folder.path() + QStringLiteral("/runtime/Orvane-") + QString::number(::getuid()) +
           QString::fromLatin1(suffix);
}

bool waitForFile(const QString &path, int timeoutMs = 10000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!QFile::exists(path)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// A second start: it must end by itself, quickly.
int runSecond(const ProgramFolder &folder, const QStringList &args)
{
    AppProcess second(folder, args);
    return second.waitForExit(15000);
}

} // namespace

TEST(Instances, SecondStartsHandOverTheirCommandLines)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.isValid());
    AppProcess first(folder, {});
    ASSERT_TRUE(waitForFile(runtimeFile(folder, ".socket"))) << first.log().toStdString();

    EXPECT_EQ(runSecond(folder, {}), 0) << "no arguments: ends at once";
    EXPECT_EQ(runSecond(folder, {QStringLiteral("a.mp3"), QStringLiteral("b.wav")}), 0);
    EXPECT_EQ(runSecond(folder, {QStringLiteral("/music/my song.mp3")}), 0);
    ASSERT_TRUE(first.waitForLog(QStringLiteral("my song")));
    // Relative names are made absolute in the folder the second start ran in.
    const QString here = QDir::currentPath();
    EXPECT_EQ(queuedTexts(first.log()),
              QStringList({here + QStringLiteral("/a.mp3|") + here + QStringLiteral("/b.wav"),
                           QStringLiteral("\"/music/my song.mp3\"")}));
    EXPECT_EQ(first.process().state(), QProcess::Running);
    EXPECT_FALSE(QFile::exists(folder.settingsFile())) << "nothing written yet";
}

TEST(Instances, TwentyStartsAtOnceMakeOnePlayerAndLoseNothing)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.isValid());
    std::list<AppProcess> starts;
    for (int i = 0; i < 20; ++i)
        starts.emplace_back(folder, QStringList{QStringLiteral("/m/item%1.mp3").arg(i)});

    // Every start but one ends by itself; the one left is the player.
    const QDeadlineTimer deadline(30000);
    int ended = 0;
    while (!deadline.hasExpired()) {
        ended = 0;
        for (AppProcess &p : starts)
            ended += p.process().waitForFinished(5) || p.process().state() == QProcess::NotRunning;
        if (ended >= 19)
            break;
    }
    EXPECT_EQ(ended, 19);
    AppProcess *running = nullptr;
    for (AppProcess &p : starts) {
        if (p.process().state() != QProcess::NotRunning) {
            EXPECT_EQ(running, nullptr) << "a second process kept running";
            running = &p;
        } else {
            EXPECT_EQ(p.waitForExit(), 0) << p.log().toStdString();
        }
    }
    ASSERT_NE(running, nullptr);
    ASSERT_TRUE(running->waitForLog(QStringLiteral("queued:")));
    const QDeadlineTimer logDeadline(10000);
    while (queuedTexts(running->log()).size() < 20 && !logDeadline.hasExpired())
        running->process().waitForReadyRead(100);
    QStringList texts = queuedTexts(running->log());
    texts.sort();
    QStringList expected;
    for (int i = 0; i < 20; ++i)
        expected.append(QStringLiteral("/m/item%1.mp3").arg(i));
    expected.sort();
    EXPECT_EQ(texts, expected);
}

TEST(Instances, AKilledPlayerDoesNotBlockTheNextStart)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.isValid());
    {
        AppProcess first(folder, {});
        ASSERT_TRUE(waitForFile(runtimeFile(folder, ".socket")));
        ::kill(pid_t(first.process().processId()), SIGKILL);
        first.waitForExit();
    }
    ASSERT_TRUE(QFile::exists(runtimeFile(folder, ".socket"))) << "the stale socket is there";

    AppProcess next(folder, {QStringLiteral("/m/after.mp3")});
    ASSERT_TRUE(next.waitForLog(QStringLiteral("queued: /m/after.mp3")))
        << "it became the player itself: " << next.log().toStdString();
    EXPECT_EQ(runSecond(folder, {QStringLiteral("/m/again.mp3")}), 0);
    EXPECT_TRUE(next.waitForLog(QStringLiteral("queued: /m/again.mp3")));
}

TEST(Instances, APlayerThatCannotListenSaysSoAndPlaysOn)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.isValid());
    // Something that is no socket sits where the socket goes.
    const QString socket = runtimeFile(folder, ".socket");
    ASSERT_TRUE(QDir().mkpath(socket));
    AppProcess first(folder, {QStringLiteral("/m/alone.mp3")});
    ASSERT_TRUE(first.waitForLog(QStringLiteral("queued: /m/alone.mp3")))
        << "it is the player: " << first.log().toStdString();
    const QString log = first.log();
    EXPECT_TRUE(log.contains(QStringLiteral("cannot listen on \"%1\"").arg(socket)))
        << log.toStdString();
    EXPECT_EQ(first.process().state(), QProcess::Running);
}

TEST(Instances, AnotherProgramsListenerKeepsItsSocket)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.isValid());
    const QString socket = runtimeFile(folder, ".socket");
    QLocalServer stranger;
    ASSERT_TRUE(stranger.listen(socket)) << stranger.errorString().toStdString();
    AppProcess first(folder, {QStringLiteral("/m/alone.mp3")});
    ASSERT_TRUE(first.waitForLog(QStringLiteral("queued: /m/alone.mp3")))
        << "it is the player all the same: " << first.log().toStdString();
    EXPECT_TRUE(first.log().contains(QStringLiteral("cannot listen on \"%1\"").arg(socket)))
        << first.log().toStdString();
    QLocalSocket client;
    client.connectToServer(socket);
    EXPECT_TRUE(client.waitForConnected(2000)) << "the stranger still answers on its name";
}

class WithDisplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_x.start(800, 600)) << m_x.error().toStdString();
        ASSERT_TRUE(m_folder.isValid());
    }

    // Waits for a window whose name matches the pattern, presses Return in
    // it, and returns its id (empty when none came).
    QString answerWindow(const QString &pattern, int timeoutMs = 15000)
    {
        const QString id = xdotool(m_x.display(),
                                   {QStringLiteral("search"), QStringLiteral("--sync"),
                                    QStringLiteral("--name"), pattern},
                                   timeoutMs)
                               .section(QLatin1Char('\n'), 0, 0);
        if (id.isEmpty())
            return id;
        QThread::msleep(300); // let the box finish mapping before it gets keys
        xdotool(m_x.display(), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
        xdotool(m_x.display(),
                {QStringLiteral("key"), QStringLiteral("--window"), id, QStringLiteral("Return")});
        xdotool(m_x.display(), {QStringLiteral("key"), QStringLiteral("Return")});
        return id;
    }

    Xvfb m_x;
    ProgramFolder m_folder;
};

TEST_F(WithDisplay, NoUsableLanguageFileEndsWithTheMessageAndStatus1)
{
    ASSERT_TRUE(QDir(m_folder.path() + QStringLiteral("/Language")).removeRecursively());
    AppProcess app(m_folder, {QStringLiteral("a.mp3")}, m_x.display());
    EXPECT_FALSE(answerWindow(QStringLiteral("^Orvane Error!!$")).isEmpty())
        << app.log().toStdString();
    EXPECT_EQ(app.waitForExit(10000), 1) << app.log().toStdString();
    EXPECT_TRUE(app.log().contains(QStringLiteral("標準の言語設定ファイルがありません。")));
    EXPECT_FALSE(QFile::exists(m_folder.settingsFile()));
}

TEST_F(WithDisplay, AnUnansweredHandOverReportsTheLinkError)
{
    // Hold the instance lock without answering: a hung first instance.
    const QString lock = runtimeFile(m_folder, ".lock");
    const int fd = ::open(QFile::encodeName(lock).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    AppProcess second(m_folder, {QStringLiteral("a.mp3")}, m_x.display());
    EXPECT_FALSE(answerWindow(QStringLiteral("^Orvane$"), 20000).isEmpty());
    EXPECT_EQ(second.waitForExit(10000), 1);
    ::close(fd);
}
