// The settings store: what callers rely on when they preset a default and
// read, and what a write must never do to the rest of the file.
#include "core/atomicfile.h"
#include "core/inifile.h"
#include "core/textcodec.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::core;

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("setting.ini")); }

    void writeRaw(const QByteArray &bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray readRaw() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(IniFileTest, MissingFileGivesEveryDefault)
{
    bool memory = true;
    EXPECT_TRUE(IniReadWrite(QStringLiteral("Main Window Position"), QStringLiteral("Memory"),
                             memory, path(), false));
    EXPECT_TRUE(memory);
    float width = 5655.0f;
    EXPECT_TRUE(IniReadWrite(QStringLiteral("Main Window Position"), QStringLiteral("Width"), width,
                             path(), false));
    EXPECT_FLOAT_EQ(width, 5655.0f);
    QString text; // an empty default reads as "nothing there"
    EXPECT_FALSE(IniReadWrite(QStringLiteral("General Setting"), QStringLiteral("LanguageFile"),
                              text, path(), false));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_FALSE(QFile::exists(path())) << "reading never creates the file";
}

TEST_F(IniFileTest, FirstWriteCreatesFileAndFolder)
{
    const QString nested = m_dir.filePath(QStringLiteral("config/orvane/setting.ini"));
    qint32 mode = 0;
    ASSERT_TRUE(IniReadWrite(QStringLiteral("General Setting"), QStringLiteral("Processing Mode"),
                             mode, nested, true));
    QFile f(nested);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "[General Setting]\r\nProcessing Mode=0\r\n");
}

TEST_F(IniFileTest, SectionsAndKeysMatchWithoutLetterCaseFirstMatchWins)
{
    writeRaw("[general setting]\r\n  AUTOPLAY  =  false  \r\nautoplay=True\r\n"
             "[General Setting]\r\nShortPath=False\r\n");
    bool autoPlay = true;
    EXPECT_TRUE(IniReadWrite(QStringLiteral("General Setting"), QStringLiteral("AutoPlay"),
                             autoPlay, path(), false));
    EXPECT_FALSE(autoPlay);
    bool shortPath = true; // only the first section of that name counts
    EXPECT_TRUE(IniReadWrite(QStringLiteral("General Setting"), QStringLiteral("ShortPath"),
                             shortPath, path(), false));
    EXPECT_TRUE(shortPath);
}

TEST_F(IniFileTest, LongValuesAreCutTo255Characters)
{
    const QString longValue(300, QLatin1Char('x'));
    writeRaw("[Convert Setting]\r\nSCMPX=" + longValue.toUtf8() + "\r\n");
    QString value;
    ASSERT_TRUE(IniReadWrite(QStringLiteral("Convert Setting"), QStringLiteral("SCMPX"), value,
                             path(), false));
    EXPECT_EQ(value, QString(255, QLatin1Char('x')));
}

TEST_F(IniFileTest, EmptyOrUnconvertibleValuesKeepTheDefault)
{
    writeRaw("[S]\r\nEmpty=\r\nMaybe=maybe\r\nBig=70000\r\nNum=1\r\nZero=0\r\nHalf=2.5\r\n");
    const auto readBool = [&](const char *key, bool preset, bool *ok) {
        bool v = preset;
        *ok = IniReadWrite(QStringLiteral("S"), QString::fromLatin1(key), v, path(), false);
        return v;
    };
    bool ok = true;
    EXPECT_TRUE(readBool("Empty", true, &ok));
    EXPECT_FALSE(ok);
    EXPECT_TRUE(readBool("Maybe", true, &ok));
    EXPECT_FALSE(ok);
    EXPECT_TRUE(readBool("Num", false, &ok));
    EXPECT_TRUE(ok);
    EXPECT_FALSE(readBool("Zero", true, &ok));

    qint16 small = 7;
    EXPECT_FALSE(IniReadWrite(QStringLiteral("S"), QStringLiteral("Big"), small, path(), false));
    EXPECT_EQ(small, 7) << "70000 does not fit 16 bits";
    qint32 big = 0;
    EXPECT_TRUE(IniReadWrite(QStringLiteral("S"), QStringLiteral("Big"), big, path(), false));
    EXPECT_EQ(big, 70000);
    qint16 half = 0;
    EXPECT_TRUE(IniReadWrite(QStringLiteral("S"), QStringLiteral("Half"), half, path(), false));
    EXPECT_EQ(half, 2) << "halves round to even";
}

TEST_F(IniFileTest, WriteKeepsEverythingElseInPlace)
{
    writeRaw("; Orvane settings\r\n[General Setting]\r\nAutoPlay=True\r\n; keep me\r\n"
             "ShortPath=True\r\n\r\n[Main Window Position]\r\nLeft=10\r\n");
    bool autoPlay = false;
    ASSERT_TRUE(IniReadWrite(QStringLiteral("general setting"), QStringLiteral("autoplay"),
                             autoPlay, path(), true));
    QString mode = QStringLiteral("Memorize");
    ASSERT_TRUE(IniReadWrite(QStringLiteral("General Setting"), QStringLiteral("Processing Mode"),
                             mode, path(), true));
    float top = 120.5f;
    ASSERT_TRUE(IniReadWrite(QStringLiteral("Control Panels Setting"), QStringLiteral("Top"), top,
                             path(), true));
    EXPECT_EQ(readRaw(), "; Orvane settings\r\n[General Setting]\r\nAutoPlay=False\r\n; keep me\r\n"
                         "ShortPath=True\r\nProcessing Mode=Memorize\r\n\r\n"
                         "[Main Window Position]\r\nLeft=10\r\n"
                         "[Control Panels Setting]\r\nTop=120.5\r\n");
}

TEST_F(IniFileTest, WritesThatCannotBeStoredFailAndChangeNothing)
{
    writeRaw("[S]\r\nA=1\r\n");
    QString value = QStringLiteral("two\r\nlines");
    EXPECT_FALSE(IniReadWrite(QStringLiteral("S"), QStringLiteral("A"), value, path(), true));
    QString plain = QStringLiteral("x");
    EXPECT_FALSE(IniReadWrite(QStringLiteral("S"), QStringLiteral("A=B"), plain, path(), true));
    EXPECT_FALSE(IniReadWrite(QStringLiteral("S]"), QStringLiteral("A"), plain, path(), true));
    EXPECT_FALSE(IniReadWrite(QString(), QStringLiteral("A"), plain, path(), true));
    EXPECT_EQ(readRaw(), "[S]\r\nA=1\r\n");
}

TEST_F(IniFileTest, FailedReplaceLeavesThePreviousFile)
{
    writeRaw("[S]\r\nA=1\r\n");
    testhooks::setRenameFunction([](const QString &, const QString &) { return false; });
    qint32 v = 2;
    EXPECT_FALSE(IniReadWrite(QStringLiteral("S"), QStringLiteral("A"), v, path(), true));
    testhooks::setRenameFunction({});
    EXPECT_EQ(readRaw(), "[S]\r\nA=1\r\n");
    qint32 read = 0;
    EXPECT_TRUE(IniReadWrite(QStringLiteral("S"), QStringLiteral("A"), read, path(), false));
    EXPECT_EQ(read, 1) << "nothing half-written is remembered either";
}

TEST_F(IniFileTest, ChangesBehindOurBackAreSeen)
{
    writeRaw("[S]\r\nA=1\r\n");
    qint32 v = 0;
    ASSERT_TRUE(IniReadWrite(QStringLiteral("S"), QStringLiteral("A"), v, path(), false));
    EXPECT_EQ(v, 1);
    writeRaw("[S]\r\nA=22\r\n");
    ASSERT_TRUE(IniReadWrite(QStringLiteral("S"), QStringLiteral("A"), v, path(), false));
    EXPECT_EQ(v, 22);
}

TEST_F(IniFileTest, Cp932FilesOfTheWindowsProgramStayCp932)
{
    bool ok = false;
    writeRaw(encodeCp932(QStringLiteral("; 設定ファイル\r\n[General Setting]\r\n"
                                        "LanguageFile=C:\\言語\\Default.ovs\r\n"),
                         &ok));
    ASSERT_TRUE(ok);
    QString file;
    ASSERT_TRUE(IniReadWrite(QStringLiteral("General Setting"), QStringLiteral("LanguageFile"),
                             file, path(), false));
    EXPECT_EQ(file, QStringLiteral("C:\\言語\\Default.ovs"));
    bool autoPlay = true;
    ASSERT_TRUE(IniReadWrite(QStringLiteral("General Setting"), QStringLiteral("AutoPlay"),
                             autoPlay, path(), true));
    const DecodedText decoded = decodeText(readRaw());
    EXPECT_EQ(decoded.encoding, TextEncoding::Cp932);
    EXPECT_TRUE(decoded.text.startsWith(QStringLiteral("; 設定ファイル\r\n")));

    QString title = QStringLiteral("Café 🎵"); // cannot be CP932: the file turns UTF-8
    ASSERT_TRUE(IniReadWrite(QStringLiteral("X"), QStringLiteral("T"), title, path(), true));
    EXPECT_EQ(decodeText(readRaw()).encoding, TextEncoding::Utf8);
    QString back;
    ASSERT_TRUE(IniReadWrite(QStringLiteral("X"), QStringLiteral("T"), back, path(), false));
    EXPECT_EQ(back, title);
    ASSERT_TRUE(IniReadWrite(QStringLiteral("General Setting"), QStringLiteral("LanguageFile"),
                             file, path(), false));
    EXPECT_EQ(file, QStringLiteral("C:\\言語\\Default.ovs"));
}

TEST(IniValues, RoundTripThroughText)
{
    EXPECT_EQ(iniValueToText(true), QStringLiteral("True"));
    EXPECT_EQ(iniValueToText(false), QStringLiteral("False"));
    EXPECT_EQ(iniValueToText(5655.0f), QStringLiteral("5655"));
    EXPECT_EQ(iniValueToText(qint16(-3)), QStringLiteral("-3"));
    EXPECT_EQ(iniValueFromText<bool>(QStringLiteral("tRuE")), true);
    EXPECT_EQ(iniValueFromText<bool>(QStringLiteral("-1")), true);
    EXPECT_EQ(iniValueFromText<float>(QStringLiteral("1.234568e+07")), 1.234568e+07f);
    EXPECT_FALSE(iniValueFromText<float>(QStringLiteral("1e300")).has_value());
    EXPECT_FALSE(iniValueFromText<quint8>(QStringLiteral("256")).has_value());
    EXPECT_FALSE(iniValueFromText<double>(QStringLiteral("nan")).has_value());
}
