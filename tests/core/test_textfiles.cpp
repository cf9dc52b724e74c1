// Text decoding and atomic replacement: the two things every file Orvane
// reads or writes goes through.
#include "core/atomicfile.h"
#include "core/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orvane::core;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(TextCodec, ChoosesUtf8OrCp932ByTheBytes)
{
    const QString japanese = QStringLiteral("言語設定ファイル　テスト");
    bool ok = false;
    const QByteArray cp932 = encodeCp932(japanese, &ok);
    ASSERT_TRUE(ok);
    ASSERT_NE(cp932, japanese.toUtf8());

    const DecodedText fromCp932 = decodeText(cp932);
    EXPECT_EQ(fromCp932.encoding, TextEncoding::Cp932);
    EXPECT_EQ(fromCp932.text, japanese);

    const DecodedText fromUtf8 = decodeText(QByteArray("\xEF\xBB\xBF") + japanese.toUtf8());
    EXPECT_EQ(fromUtf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(fromUtf8.text, japanese) << "the BOM is dropped";
}

TEST(TextCodec, CharactersOutsideCp932FallBackToUtf8)
{
    const QString text = QStringLiteral("Café Straße 🎵");
    EXPECT_FALSE(fitsCp932(text));
    TextEncoding used = TextEncoding::Cp932;
    const QByteArray bytes = encodePreferCp932(text, &used);
    EXPECT_EQ(used, TextEncoding::Utf8);
    EXPECT_EQ(decodeText(bytes).text, text);

    EXPECT_TRUE(fitsCp932(QStringLiteral("plain ascii, カタカナ")));
}

TEST(TextCodec, BrokenCp932CostsOnlyTheBadLine)
{
    bool ok = false;
    QByteArray bytes = encodeCp932(QStringLiteral("良い行\r\n"), &ok);
    bytes += QByteArray("\x81\xFF\xFF broken\r\n");
    bytes += encodeCp932(QStringLiteral("次の行\r\n"), &ok);
    const DecodedText decoded = decodeText(bytes);
    EXPECT_EQ(decoded.encoding, TextEncoding::Cp932);
    EXPECT_TRUE(decoded.text.startsWith(QStringLiteral("良い行\r\n")));
    EXPECT_TRUE(decoded.text.endsWith(QStringLiteral("次の行\r\n")));
    EXPECT_TRUE(decoded.text.contains(QStringLiteral(" broken")));
}

TEST(AtomicFile, ReplacesWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.ovl"));

    ASSERT_TRUE(writeFileAtomically(path, "first"));
    EXPECT_EQ(readAll(path), "first");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadGroup));

    testhooks::setRenameFunction([](const QString &, const QString &) { return false; });
    EXPECT_FALSE(writeFileAtomically(path, "second"));
    testhooks::setRenameFunction({});
    EXPECT_EQ(readAll(path), "first");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file is left";

    ASSERT_TRUE(writeFileAtomically(path, "third"));
    EXPECT_EQ(readAll(path), "third");
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadGroup) << "permissions are kept";

    EXPECT_FALSE(writeFileAtomically(dir.filePath(QStringLiteral("no/such/folder/x")), "x"));

    // A new file is as readable as any other the user makes, not private
    // like a temporary file.
    const QString fresh = dir.filePath(QStringLiteral("fresh.ovl"));
    ASSERT_TRUE(writeFileAtomically(fresh, "x"));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st {
    };
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
}

TEST(AtomicFile, ALinkStaysAndItsTargetKeepsItsPermissions)
{
    // A settings file kept with the user's other dotfiles and linked in.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("kept")));
    const QString target = dir.filePath(QStringLiteral("kept/setting.ini"));
    const QString link = dir.filePath(QStringLiteral("setting.ini"));
    ASSERT_TRUE(writeFileAtomically(target, "old"));
    ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::link(QStringLiteral("kept/setting.ini"), link));

    ASSERT_TRUE(writeFileAtomically(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link is not replaced by a file";
    EXPECT_EQ(readAll(target), "new");
    struct stat st {
    };
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("kept"))).entryList(QDir::Files).size(), 1)
        << "no temporary file is left";
}
