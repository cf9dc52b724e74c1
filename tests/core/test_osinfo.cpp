// The system line of the about box: the Windows names kept for the
// numbers Windows reports, and os-release read the way a shell reads it.
#include "core/osinfo.h"
#include "tests/support/qtprint.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::core;

namespace {

struct NameCase {
    WindowsVersion version;
    const char *name;
    const char *edition;
};

QString writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

} // namespace

TEST(WindowsNames, FollowPlatformAndVersion)
{
    const QString unknown = OSInfo::unknownOSName();
    const NameCase cases[] = {
        {{0, 3, 10, 0, -1}, "Windows 3.1", ""},
        {{1, 4, 0, 950, -1}, "Windows 95", ""},
        {{1, 4, 10, 2222, -1}, "Windows 98", ""}, // Second Edition
        {{1, 4, 89, 0, -1}, "Windows 98", ""},
        {{1, 4, 90, 3000, -1}, "Windows Me", ""},
        {{1, 5, 0, 0, -1}, nullptr, ""},
        {{2, 4, 0, 1381, 1}, "Windows NT4", ""},
        {{2, 5, 0, 2195, 1}, "Windows 2000", "Professional"},
        {{2, 5, 0, 2195, 2}, "Windows 2000", "Domain Controller"},
        {{2, 5, 0, 2195, 3}, "Windows 2000", "Server"},
        {{2, 5, 0, 2195, -1}, "Windows 2000", ""},
        {{2, 5, 1, 2600, 1}, "Windows XP", "Home Edition"},
        {{2, 5, 1, 2600, 2}, "Windows XP", "Professional"},
        {{2, 5, 1, 2600, 3}, "Windows XP", "Developer"},
        {{2, 5, 2, 3790, 3}, nullptr, ""}, // Server 2003
        {{2, 6, 0, 6000, 1}, nullptr, ""},
        {{3, 5, 1, 0, 1}, nullptr, ""},
    };
    for (const NameCase &c : cases) {
        const OSInfo info = windowsOSInfo(c.version);
        const QString expected = c.name ? QString::fromLatin1(c.name) : unknown;
        EXPECT_EQ(info.OSName, expected)
            << c.version.platform << ' ' << c.version.major << '.' << c.version.minor;
        EXPECT_EQ(info.Edition, QString::fromLatin1(c.edition)) << c.version.minor;
    }
}

TEST(WindowsNames, KeepTheNumbersAndOnlyTheLowBuildBits)
{
    const OSInfo info = windowsOSInfo({1, 4, 10, 0x040A08AE, -1});
    EXPECT_EQ(info.PlatformText, QStringLiteral("1"));
    EXPECT_EQ(info.MajorVersion, 4);
    EXPECT_EQ(info.MinorVersion, 10);
    EXPECT_EQ(info.BuildNumber, 0x08AE);
}

TEST(OsRelease, ReadsValuesAsAShellWould)
{
    const QHash<QString, QString> values =
        parseOsRelease("# comment\n"
                       "NAME=\"Debian GNU/Linux\"\n"
                       "VERSION='12 (bookworm)'\r\n"
                       "ID=debian\n"
                       "  PRETTY_NAME=\"Say \\\"hi\\\" \\\\ \\$HOME \\n\"  # trailing comment\n"
                       "PLAIN=a\\ b\n"
                       "SINGLE='no \\escapes'\n"
                       "EMPTY=\n"
                       "OPEN=\"never closed\n"
                       "JUNK=\"a\" b\n"
                       "1BAD=x\n"
                       "BAD KEY=x\n"
                       "=nokey\n"
                       "no assignment\n"
                       "BELL=\"ring\a\x1b[31mred\"\n");
    EXPECT_EQ(values.value(QStringLiteral("NAME")), QStringLiteral("Debian GNU/Linux"));
    EXPECT_EQ(values.value(QStringLiteral("VERSION")), QStringLiteral("12 (bookworm)"));
    EXPECT_EQ(values.value(QStringLiteral("ID")), QStringLiteral("debian"));
    EXPECT_EQ(values.value(QStringLiteral("PRETTY_NAME")),
              QStringLiteral("Say \"hi\" \\ $HOME \\n"));
    EXPECT_EQ(values.value(QStringLiteral("PLAIN")), QStringLiteral("a b"));
    EXPECT_EQ(values.value(QStringLiteral("SINGLE")), QStringLiteral("no \\escapes"));
    EXPECT_TRUE(values.contains(QStringLiteral("EMPTY")));
    EXPECT_EQ(values.value(QStringLiteral("BELL")), QStringLiteral("ring[31mred"));
    for (const char *refused : {"OPEN", "JUNK", "1BAD", "BAD KEY", "BAD", ""})
        EXPECT_FALSE(values.contains(QString::fromLatin1(refused))) << refused;
}

TEST(OsRelease, NamesTheSystemFromTheFirstFileThatExists)
{
    QTemporaryDir dir;
    const QString usrLib = writeFile(dir, "usr-lib", "NAME=Fallback\nVERSION=1\n");
    const QString etc = writeFile(dir, "etc", "NAME=\"Orvane Linux\"\nVERSION=\"7 (x)\"\n");
    const QString missing = dir.filePath(QStringLiteral("missing"));

    OSInfo info = osInfoFrom({etc, usrLib}, QStringLiteral("6.1.0-18-amd64"));
    EXPECT_EQ(info.OSName, QStringLiteral("Orvane Linux"));
    EXPECT_EQ(info.Edition, QStringLiteral("7 (x)"));
    EXPECT_EQ(info.MajorVersion, 6);
    EXPECT_EQ(info.MinorVersion, 1);
    EXPECT_EQ(info.BuildNumber, 0);

    info = osInfoFrom({missing, usrLib}, QStringLiteral("5.15.133+"));
    EXPECT_EQ(info.OSName, QStringLiteral("Fallback"));
    EXPECT_EQ(info.BuildNumber, 133);

    // A file that names nothing is still a Linux system; no file at all
    // tells nothing.
    const QString nameless = writeFile(dir, "nameless", "ID=x\n");
    EXPECT_EQ(osInfoFrom({nameless}, {}).OSName, QStringLiteral("Linux"));
    info = osInfoFrom({missing}, QStringLiteral("garbage"));
    EXPECT_EQ(info.OSName, OSInfo::unknownOSName());
    EXPECT_TRUE(info.Edition.isEmpty());
    EXPECT_EQ(info.MajorVersion, 0);
}

TEST(OsRelease, KernelNumbersStayInTheirFields)
{
    qint16 major = -1, minor = -1;
    qint32 build = -1;
    parseKernelRelease(QStringLiteral("99999.99999.999999999-huge"), major, minor, build);
    EXPECT_GE(major, 0);
    EXPECT_GE(minor, 0);
    EXPECT_GE(build, 0);
    EXPECT_LE(build, 0xFFFF);
    parseKernelRelease(QStringLiteral("6"), major, minor, build);
    EXPECT_EQ(major, 6);
    EXPECT_EQ(minor, 0);
    EXPECT_EQ(build, 0);
}
