// The language catalogue and the error reporter: what a user sees when a
// text is missing, when a language file is too old, and how the lookup cache
// can go stale.
#include "core/errorreporter.h"
#include "core/inifile.h"
#include "core/language.h"
#include "core/modmain.h"
#include "tests/core/fakemessagebox.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::core;
using orvane::test::FakeMessageBox;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class LanguageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_file = m_dir.filePath(QStringLiteral("Test.ovs"));
        QByteArray text = "[Orvane Language Settings]\r\nVersion=1.06\r\n[Status]\r\n";
        for (int i = 0; i < 12; ++i)
            text += "key" + QByteArray::number(i) + "=value" + QByteArray::number(i) + "\r\n";
        text += "Empty=\r\n";
        writeFile(m_file, text);
        modMain::LanguageFile = m_file;
        modMain::ShowErrors = true;
    }
    void TearDown() override { modMain::LanguageFile.clear(); }

    QTemporaryDir m_dir;
    QString m_file;
};

QString key(int i)
{
    return QStringLiteral("key") + QString::number(i);
}

} // namespace

TEST_F(LanguageTest, MissingKeysAndValuesGiveEmptyText)
{
    EXPECT_EQ(GetText(QStringLiteral("Status"), QStringLiteral("nothing")), QString());
    EXPECT_EQ(GetText(QStringLiteral("Status"), QStringLiteral("Empty")), QString());
    EXPECT_EQ(GetText(QStringLiteral("Status"), QString()), QString());
    EXPECT_EQ(
        GetText(QStringLiteral("Status"), key(0), m_dir.filePath(QStringLiteral("missing.ovs"))),
        QString());
    modMain::LanguageFile.clear();
    EXPECT_EQ(GetText(QStringLiteral("Status"), key(0)), QString()) << "no language in use";
}

TEST_F(LanguageTest, TheTenSlotCacheForgetsTheOldestFirst)
{
    const QString section = QStringLiteral("Status");
    EXPECT_EQ(GetText(section, key(0)), QStringLiteral("value0"));
    // Change the file: cached lookups still answer with the old text.
    QByteArray changed = "[Orvane Language Settings]\r\nVersion=1.06\r\n[Status]\r\n";
    for (int i = 0; i < 12; ++i)
        changed += "key" + QByteArray::number(i) + "=new" + QByteArray::number(i) + "\r\n";
    writeFile(m_file, changed);
    EXPECT_EQ(GetText(section, key(0)), QStringLiteral("value0"));
    EXPECT_EQ(GetText(section, QStringLiteral("KEY0")), QStringLiteral("new0"))
        << "another letter case misses the cache but the file matches it";

    for (int i = 1; i < 12; ++i)
        GetText(section, key(i));
    EXPECT_EQ(GetText(section, key(0)), QStringLiteral("new0")) << "its slot was overwritten";
}

TEST_F(LanguageTest, VersionCheckAcceptsFrom106AndReportsOlderFiles)
{
    struct Case {
        const char *content;
        bool accepted;
        bool reported;
    };
    const Case cases[] = {
        {"[Orvane Language Settings]\r\nVersion=1.06\r\n", true, false},
        {"[Orvane Language Settings]\r\nVersion=1.1beta\r\n", true, false},
        {"[Orvane Language Settings]\r\nVersion=1.05\r\n", false, true},
        {"[Orvane Language Settings]\r\nLanguage=English\r\n", false, true},
        {"[Orvane Language Settings]\r\nVersion=new\r\n", false, true},
    };
    for (const Case &c : cases) {
        FakeMessageBox box;
        const QString path = m_dir.filePath(QStringLiteral("check.ovs"));
        writeFile(path, c.content);
        EXPECT_EQ(CheckLanguageFile(path), c.accepted) << c.content;
        ASSERT_EQ(box.shown.size(), c.reported ? 1 : 0) << c.content;
        if (c.reported) {
            EXPECT_TRUE(box.shown[0].text.startsWith(QStringLiteral("Unknown Error!\r\n\r\n") +
                                                     path + QStringLiteral("\r\n")));
            EXPECT_EQ(box.shown[0].title, QStringLiteral("Orvane Error!!"));
            EXPECT_EQ(box.shown[0].icon, MessageIcon::Critical);
        }
    }
    FakeMessageBox box;
    EXPECT_FALSE(CheckLanguageFile(m_dir.filePath(QStringLiteral("none.ovs"))));
    EXPECT_FALSE(CheckLanguageFile(m_dir.path())) << "a folder is no language file";
    writeFile(m_dir.filePath(QStringLiteral(".hidden.ovs")),
              "[Orvane Language Settings]\r\nVersion=2\r\n");
    EXPECT_FALSE(CheckLanguageFile(m_dir.filePath(QStringLiteral(".hidden.ovs"))));
    EXPECT_TRUE(box.shown.isEmpty()) << "missing files are passed over silently";
}

TEST(ErrorReporter, HeadingsQuietAndSilenced)
{
    FakeMessageBox box;
    modMain::ShowErrors = true;
    ShowError(kErrorMediaPlayer, 1, QStringLiteral("a"), false, false);
    ShowError(kErrorRealPlayer, 1, QStringLiteral("b"), false, false);
    ShowError(kErrorMci, 1, QStringLiteral("c"), false, false);
    ShowError(5, 1, QStringLiteral("d"), false, false);
    ShowError(kErrorMci, 1, QStringLiteral("quiet"), true, false);
    modMain::ShowErrors = false;
    ShowError(kErrorMci, 1, QStringLiteral("silenced"), false, false);
    modMain::ShowErrors = true;
    ASSERT_EQ(box.shown.size(), 4);
    EXPECT_EQ(box.shown[0].text, QStringLiteral("Windows Media Player Error!\r\n\r\na"));
    EXPECT_EQ(box.shown[1].text, QStringLiteral("RealPlayer Error!\r\n\r\nb"));
    EXPECT_EQ(box.shown[2].text, QStringLiteral("MCI divice Error!\r\n\r\nc"));
    EXPECT_EQ(box.shown[3].text, QStringLiteral("Unknown Error!\r\n\r\nd"));
}

TEST(PlaceNearCursor, StaysOnTheScreen)
{
    struct Case {
        QPoint cursor;
        QPoint expected;
    };
    const QSize form(300, 150);
    const QSize screen(1920, 1080);
    const Case cases[] = {
        {{1000, 500}, {900, 450}},  // a third of the form left of and above the pointer
        {{0, 0}, {0, 0}},           // the top-left corner
        {{1919, 500}, {1620, 450}}, // flush with the right edge
        {{500, 1079}, {400, 930}},  // flush with the bottom
    };
    for (const Case &c : cases)
        EXPECT_EQ(placeNearCursorPosition(c.cursor, form, screen), c.expected) << c.cursor.x();
}

TEST(LeadingNumber, ReadsLikeTheVersionCheck)
{
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral(" 1.06")), 1.06);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("1.07abc")), 1.07);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(leadingNumber(QString()), 0.0);
}
