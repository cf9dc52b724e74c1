// Readings of the CD device's replies, SendMci's answers without a device,
// and the drive table.
#include "core/drives.h"
#include "playback/mci/mcidevice.h"
#include "playback/mci/mcireplies.h"
#include "playback/mci/sendmci.h"
#include "tests/core/fakemessagebox.h"

#include "core/modmain.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::playback::mci;

TEST(MciReplies, PositionsAndLengthsInTmsf)
{
    const struct {
        const char *reply;
        double position, length;
    } cases[] = {
        {"03:01:02:37", 62.0 + 37.0 / 75.0, 3 * 60.0 + 1.0 + 2.0 / 75.0},
        {"04:10:15", 10 * 60.0 + 15.0, 250.2},
        {"", 0.0, 0.0},
        {"::", 0.0, 0.0},
        {"1:x:5:7", 5.0 + 7.0 / 75.0, 60.0 + 0.0 + 5.0 / 75.0},
        {"01:99999:00:00", 32767.0 * 60.0, 60.0 + 32767.0},
    };
    for (const auto &c : cases) {
        const QString reply = QString::fromLatin1(c.reply);
        EXPECT_NEAR(tmsfPositionSeconds(reply), c.position, 1e-9) << c.reply;
        EXPECT_NEAR(tmsfLengthSeconds(reply), c.length, 1e-9) << c.reply;
    }
}

TEST(MciReplies, LeadingNumbers)
{
    const struct {
        const char *text;
        qint16 i16;
        qint32 i32;
    } cases[] = {
        {"", 0, 0},
        {"12abc", 12, 12},
        {"  7", 7, 7},
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {"-4", -4, -4},
        {"4000000000", 32767, 2147483647},
        {"x12", 0, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(leadingInt16(QString::fromLatin1(c.text)), c.i16) << c.text;
        EXPECT_EQ(leadingInt32(QString::fromLatin1(c.text)), c.i32) << c.text;
    }
    const MsfPosition p = msfFromSeconds(95.0);
    EXPECT_EQ(p.minutes, 1);
    EXPECT_EQ(p.seconds, 35);
    EXPECT_EQ(p.frames, 0);
    // A reply of absurd size still gives a position the commands can carry.
    const MsfPosition huge = msfFromSeconds(leadingNumber(QString(40, u'9')));
    EXPECT_GT(huge.minutes, 0);
    EXPECT_LT(huge.seconds, 60);
}

TEST(SendMci, EveryCommandFailsWithoutADevice)
{
    test::FakeMessageBox box;
    core::modMain::ShowErrors = true;
    QString reply;
    QString error;
    EXPECT_FALSE(playback::SendMci(QStringLiteral("open D: type cdaudio alias Medias wait"), reply,
                                   256, 0, error, false));
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_EQ(error, mciErrorText(kMciInvalidDeviceName));
    EXPECT_TRUE(box.shown.isEmpty());

    EXPECT_FALSE(
        playback::SendMci(QStringLiteral("status Medias mode"), reply, 256, 0, error, true));
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_TRUE(box.shown[0].text.startsWith(QStringLiteral("MCI divice Error!\r\n\r\n")));
    EXPECT_TRUE(box.shown[0].text.endsWith(error));
}

TEST(SendMci, RepliesAreCutAtNulAndCapacity)
{
    struct Device : MciDevice {
        quint32 sendString(const QString &, QString &reply) override
        {
            reply = QStringLiteral("playing") + QChar(u'\0') + QStringLiteral("junk");
            return 0;
        }
    } device;
    setMciDevice(&device);
    QString reply, error;
    EXPECT_TRUE(
        playback::SendMci(QStringLiteral("status Medias mode"), reply, 256, 0, error, true));
    EXPECT_EQ(reply, QStringLiteral("playing"));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(playback::SendMci(QStringLiteral("status Medias mode"), reply, 4, 0, error, false));
    EXPECT_EQ(reply, QStringLiteral("pla"));
    setMciDevice(nullptr);
}

TEST(Drives, MountTableReading)
{
    const QByteArray text = "/dev/sr0 /media/my\\040disc iso9660 ro 0 0\n"
                            "garbage\n"
                            "\n"
                            "  /dev/sda1   /   ext4 rw 0 0  \r\n"
                            "x /bad\\04 t\n"
                            "y /nul\\000here t\n"
                            "z /new\\012line t\n"
                            "w /raw\x02"
                            "byte t\n";
    const QList<core::MountEntry> mounts = core::parseMounts(text);
    ASSERT_EQ(mounts.size(), 4) << "control characters are no folder names";
    EXPECT_EQ(mounts[0].mountPoint, QStringLiteral("/media/my disc"));
    EXPECT_EQ(mounts[0].type, QStringLiteral("iso9660"));
    EXPECT_EQ(mounts[1].device, QStringLiteral("/dev/sda1"));
    EXPECT_EQ(mounts[1].mountPoint, QStringLiteral("/"));
    EXPECT_EQ(mounts[2].mountPoint, QStringLiteral("/bad\\04")); // incomplete escape kept
    EXPECT_EQ(mounts[3].mountPoint, QStringLiteral("/nul\\000here"));
}

TEST(Drives, LettersForDrivesAndMappings)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<std::pair<QString, QString>> mappings{
        {QStringLiteral("E"), QStringLiteral("/dev/sr7")},
        {QStringLiteral("v:"), dir.path()},
        {QStringLiteral("W"), QStringLiteral("/data/disc.cue")},
        {QStringLiteral("7"), QStringLiteral("/dev/sr9")},
        {QStringLiteral("X"), QStringLiteral("  ")},
        {QStringLiteral("Y"), QStringLiteral("/data/disc.TOC")},
        {QStringLiteral("Z"), QStringLiteral("/data/disc.nrg")},
    };
    const core::DriveTable table = core::DriveTable::build(
        {QStringLiteral("/dev/sr0"), QStringLiteral("/dev/sr1")}, mappings,
        {{QStringLiteral("/dev/sr1"), QStringLiteral("/media/cd"), QStringLiteral("udf")}});
    using Kind = core::DriveTable::Kind;
    const QList<core::DriveTable::Drive> expected{
        {QStringLiteral("E:"), Kind::Device, QStringLiteral("/dev/sr7")},
        {QStringLiteral("V:"), Kind::Folder, dir.path()},
        {QStringLiteral("W:"), Kind::Image, QStringLiteral("/data/disc.cue")},
        {QStringLiteral("Y:"), Kind::Image, QStringLiteral("/data/disc.TOC")},
        {QStringLiteral("Z:"), Kind::Image, QStringLiteral("/data/disc.nrg")},
        {QStringLiteral("D:"), Kind::Device, QStringLiteral("/dev/sr0")},
        {QStringLiteral("F:"), Kind::Device, QStringLiteral("/dev/sr1")},
    };
    EXPECT_EQ(table.drives(), expected);
    EXPECT_EQ(table.folderOf(QStringLiteral("f:")), QStringLiteral("/media/cd"));
    EXPECT_EQ(table.folderOf(QStringLiteral("V:")), dir.path());
    EXPECT_TRUE(table.folderOf(QStringLiteral("D:")).isEmpty()); // not mounted
    EXPECT_FALSE(table.drive(QStringLiteral("Q:")).has_value());
    EXPECT_FALSE(table.drive(QStringLiteral("file:")).has_value());
}
