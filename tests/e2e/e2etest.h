#pragma once

#include "tests/e2e/desktop.h"
#include "tests/e2e/player.h"
#include "tests/support/processes.h"

#include <QFile>
#include <QPoint>
#include <QRect>

#include <gtest/gtest.h>

#include <memory>

namespace orvane::e2e {

// A fresh desktop and program folder for every test. A failing test leaves
// a screenshot of the screen and the program's output behind.
class DesktopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_desktop.start()) << m_desktop.error().toStdString();
        ASSERT_TRUE(m_folder.isValid());
    }

    void TearDown() override
    {
        if (!HasFailure())
            return;
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        const QString shot = QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/") +
                             QString::fromLatin1(info->test_suite_name()).replace(u'/', u'-') +
                             u'.' + QString::fromLatin1(info->name()).replace(u'/', u'-') +
                             QStringLiteral(".png");
        m_desktop.screenshot(shot);
        std::printf("screenshot: %s\n", qPrintable(shot));
        for (const auto &player : m_players) {
            std::printf("--- program output ---\n%s\n", qPrintable(player->log().right(4000)));
            QString stack;
            for (const QString &line : player->backtrace().split(u'\n'))
                if (line.startsWith(u'#'))
                    stack += line.left(160) + u'\n';
            std::printf("--- where it is ---\n%s\n", qPrintable(stack));
        }
    }

    // The program, started with these arguments and its window on screen.
    Player &startPlayer(const QStringList &args = {})
    {
        m_players.push_back(std::make_unique<Player>(m_desktop, m_folder));
        Player &player = *m_players.back();
        EXPECT_TRUE(player.start(args));
        EXPECT_FALSE(player.window().isEmpty()) << "no main window";
        return player;
    }

    // setting.ini written before the program starts.
    void writeSettings(const QByteArray &text)
    {
        QFile file(m_folder.settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    Desktop m_desktop;
    test::ProgramFolder m_folder;
    std::vector<std::unique_ptr<Player>> m_players;
};

inline QPoint centreOf(const QRect &rect)
{
    return rect.center();
}

// A point inside a horizontal slider's groove, at fraction of its length.
inline QPoint alongSlider(const QRect &slider, double fraction)
{
    // Keep clear of the ends, where the handle's half width sits.
    const int margin = slider.height() / 2 + 2;
    const int x = slider.left() + margin + int((slider.width() - 2 * margin) * fraction);
    return {x, slider.center().y()};
}

} // namespace orvane::e2e
