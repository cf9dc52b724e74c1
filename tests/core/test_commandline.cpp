// Command lines and the hand-over message between instances: what a second
// start delivers must reach the running player whole, and nothing a stranger
// writes to the socket may be taken for a command line.
#include "core/commandline.h"
#include "core/instancemessage.h"
#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

using namespace orvane::core;

TEST(NormalizeCommand, TurnsCommandLinesIntoLocationLists)
{
    struct Case {
        const char *in;
        const char *out;
    };
    const Case cases[] = {
        {"a.mp3 b.wav", "a.mp3|b.wav"},
        {"  a.mp3  ", "a.mp3"},
        {"\"/music/my song.mp3\"", "\"/music/my song.mp3\""},
        {"/music/my song.mp3", "/music/my|song.mp3"}, // unquoted blanks separate
        {"\"/a b.mp3\" \"/c d.mp3\"", "\"/a b.mp3\"|\"/c d.mp3\""},
        {"\"/a b.mp3\" c.mp3", "\"/a b.mp3\"|c.mp3"},
        {"x.ovl|y.mp3", "x.ovl|y.mp3"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(NormalizeCommand(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    }
}

TEST(NormalizeCommand, EmptyTextMeansOurOwnCommandLine)
{
    // The test binary runs without arguments (gtest consumes its own flags).
    EXPECT_EQ(NormalizeCommand(QString()), NormalizeCommand(ownCommandLine()));
}

TEST(RawCommandLine, QuotesArgumentsWithBlanks)
{
    EXPECT_EQ(rawCommandLine({QStringLiteral("a.mp3"), QStringLiteral("b.wav")}),
              QStringLiteral("a.mp3 b.wav"));
    EXPECT_EQ(rawCommandLine({QStringLiteral("/m/my song.mp3")}),
              QStringLiteral("\"/m/my song.mp3\""));
    EXPECT_EQ(rawCommandLine({}), QString());
    // The round trip keeps every argument apart.
    EXPECT_EQ(NormalizeCommand(
                  rawCommandLine({QStringLiteral("/m/a b.mp3"), QStringLiteral("/m/c.mp3")})),
              QStringLiteral("\"/m/a b.mp3\"|/m/c.mp3"));
}

TEST(RawCommandLine, EveryNameComesBackAsOneElement)
{
    // What a shell hands over: blanks, quotes, "#", "%" and other
    // scripts are all part of the names.
    const QStringList names = {
        QStringLiteral("/m/a b \"c\" #1 100% ñ 日本.mp3"),
        QStringLiteral("/m/say \"hi there\".wav"),
        QStringLiteral("/m/it\"s.ogg"),
        QStringLiteral("/m/plain.mp3"),
        QStringLiteral("/m/\"quoted\" start.mp3"),
        QStringLiteral("\tindented.mp3"),
        QStringLiteral("/m/ends in a tab\t"),
    };
    // The location parser takes one pair of enclosing quotes away.
    const auto unquoted = [](QString element) {
        if (element.size() >= 2 && element.startsWith(u'"') && element.endsWith(u'"'))
            element = element.mid(1, element.size() - 2);
        return element;
    };
    for (const QString &name : names)
        EXPECT_EQ(unquoted(NormalizeCommand(rawCommandLine({name}))), name);
    const QStringList elements = NormalizeCommand(rawCommandLine(names)).split(u'|');
    ASSERT_EQ(elements.size(), names.size()) << rawCommandLine(names).toStdString();
    for (qsizetype i = 0; i < names.size(); ++i)
        EXPECT_EQ(unquoted(elements[i]), names[i]);
}

TEST(InstanceMessage, ArrivesWholeInAnyPieces)
{
    const QString text =
        QStringLiteral("\"/музыка/ファイル 1.mp3\" \"/m/a b \"\"c\"\" #1 100%.mp3\"");
    const QByteArray bytes = encodeInstanceMessage(text);
    for (qsizetype split = 0; split <= bytes.size(); ++split) {
        InstanceMessageReader reader;
        reader.feed(bytes.left(split));
        ASSERT_EQ(reader.feed(bytes.mid(split)), InstanceMessageReader::State::Complete) << split;
        EXPECT_EQ(reader.text(), text);
    }
    InstanceMessageReader empty;
    EXPECT_EQ(empty.feed(encodeInstanceMessage(QString())), InstanceMessageReader::State::Complete);
}

TEST(InstanceMessage, RejectsWhatIsNotOurMessage)
{
    const QByteArray good = encodeInstanceMessage(QStringLiteral("a.mp3"));
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"wrong magic", QByteArray("GET / HTTP/1.0\r\n")},
        {"too long", QByteArray("ORVX\x7F\xFF\xFF\xFF", 8)},
        {"bytes after the end", good + "x"},
        {"invalid UTF-8", QByteArray("ORVX\0\0\0\x02\xC3\x28", 10)},
    };
    for (const Case &c : cases) {
        InstanceMessageReader reader;
        EXPECT_EQ(reader.feed(c.bytes), InstanceMessageReader::State::Invalid) << c.name;
        EXPECT_EQ(reader.feed(good), InstanceMessageReader::State::Invalid) << "stays invalid";
    }
    InstanceMessageReader partial;
    EXPECT_EQ(partial.feed(good.left(good.size() - 1)), InstanceMessageReader::State::NeedMore);
}
