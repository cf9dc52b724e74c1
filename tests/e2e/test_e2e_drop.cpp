// A user drags files from another program (a file manager) onto the
// player's window: they join the playlist in the order dragged and the
// first one plays. The drag goes through the X server's drag and drop, as
// between any two programs of a desktop.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

#include <QProcess>

using namespace orvane::e2e;

namespace {

class Drop : public DesktopTest
{
protected:
    ~Drop() override
    {
        m_source.kill();
        m_source.waitForFinished(2000);
    }

    // The drag source with these files, once its window is on the screen.
    QRect startSource(const QStringList &files)
    {
        m_source.setProcessEnvironment(m_desktop.environment());
        m_source.start(QStringLiteral(ORVANE_E2E_DRAGSOURCE), files);
        QString id;
        waitUntil([&] {
            id = m_desktop
                     .run(QStringLiteral("xdotool"),
                          {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--name"), QStringLiteral("^Drag source$")})
                     .section(u'\n', 0, 0);
            return !id.isEmpty();
        });
        return id.isEmpty() ? QRect() : m_desktop.windowGeometry(id);
    }

    // A hand's drag: press, a pause for the drag to begin, then a steady
    // way to the target, where the button is let go.
    void dragByHand(const QPoint &from, const QPoint &to)
    {
        QStringList hand{QStringLiteral("mousemove"), QString::number(from.x()),
                         QString::number(from.y()),   QStringLiteral("mousedown"),
                         QStringLiteral("1"),         QStringLiteral("sleep"),
                         QStringLiteral("0.3")};
        for (int i = 1; i <= 10; ++i) {
            const QPoint at = from + (to - from) * i / 10;
            hand << QStringLiteral("mousemove") << QString::number(at.x())
                 << QString::number(at.y()) << QStringLiteral("sleep") << QStringLiteral("0.05");
        }
        hand << QStringLiteral("sleep") << QStringLiteral("0.2") << QStringLiteral("mouseup")
             << QStringLiteral("1");
        m_desktop.run(QStringLiteral("xdotool"), hand);
    }

    QProcess m_source;
};

} // namespace

TEST_F(Drop, FilesDroppedOnTheWindowJoinThePlaylistAndTheFirstPlays)
{
    Player &player = startPlayer();
    const QString one = mp3Clip(QStringLiteral("Dropped one"), 5);
    const QString two = mp3Clip(QStringLiteral("Dropped two"), 7);
    const QRect source = startSource({one, two});
    ASSERT_FALSE(source.isEmpty()) << "the drag source shows no window";
    const QRect window = player.geometry();
    ASSERT_FALSE(window.isEmpty());

    dragByHand(source.center(), window.center());
    EXPECT_TRUE(waitUntil([&] {
        return player.playlist() ==
               QStringList{QStringLiteral("Dropped one"), QStringLiteral("Dropped two")};
    })) << player.playlist().join(u',').toStdString();
    EXPECT_TRUE(waitForStart(player, 5)) << player.statusText().toStdString();
    m_source.waitForReadyRead(2000);
    EXPECT_TRUE(m_source.readAllStandardOutput().contains("copied")) << "the window took the drop";
}
