// The language files we ship: a missing key shows as an empty caption or
// message, so every key the program asks for must be there, in each language.
#include "core/language.h"
#include "core/modmain.h"
#include "core/textcodec.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

using namespace orvane::core;

namespace {

using Sections = QHash<QString, QHash<QString, QString>>;

Sections readSections(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    Sections sections;
    QString current;
    const QStringList lines = decodeText(f.readAll()).text.split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('['))) {
            current = line.mid(1, line.indexOf(QLatin1Char(']')) - 1);
        } else if (line.contains(QLatin1Char('=')) && !line.startsWith(QLatin1Char(';'))) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            sections[current][line.left(eq).trimmed()] = line.mid(eq + 1).trimmed();
        }
    }
    return sections;
}

QString languageFile(const char *name)
{
    return QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/") + QString::fromLatin1(name);
}

// The main window's control hints, in section Normal.
QStringList hintKeys()
{
    return QStringLiteral("tipPlay tipPause tipStop tipReverse tipForward tipMute tipVolume "
                          "tipSeek tipStatus tipOpen tipSave tipAdd tipDelete tipClear tipDown "
                          "tipUp tipInfo")
        .split(QLatin1Char(' '));
}

// What the program looks up, section by section.
const QHash<QString, QStringList> &requiredKeys()
{
    static const QHash<QString, QStringList> keys = {
        {QStringLiteral("Orvane Language Settings"),
         QStringLiteral("Version Language Creator URL Mail Comment").split(QLatin1Char(' '))},
        {QStringLiteral("Normal"),
         QStringLiteral("mesLoading mesdonotPlay SavePlayListDlg fraInfo capMinimize capMaximize "
                        "capRestore capClose")
                 .split(QLatin1Char(' ')) +
             hintKeys()},
        {QStringLiteral("NormalMenu"),
         QStringLiteral("Files Open Save SaveAs Exit Play PlayPause Stop Reverse Forward "
                        "RepeatAll PlayList Add Edit Delete Clear ItemUp ItemDown info lstWide "
                        "lstNarrow Comment Controls ctlPlay ctlPlayCnt ctlSeek ctlPlCnt ctlPlView "
                        "ctlInfo Options Conv Capt Stat Pref DispSize dspDefault dspDouble "
                        "dspFitwin ovOptions optwmp optrap Help Contents About abtwmp abtrap")
             .split(QLatin1Char(' '))},
        {QStringLiteral("Status"),
         QStringLiteral("mesReady mesSeeking mesLoading mesFilename mesCheck mesPlaylist "
                        "mesFailed mesSucceed mesComplete mesCancel wmp rap mesFDiscID mesNoVideo")
             .split(QLatin1Char(' '))},
        {QStringLiteral("Playlist"),
         QStringLiteral("Unknown Title Author Copy Desc Codec hdrTitle hdrAuthor hdrFile")
             .split(QLatin1Char(' '))},
        {QStringLiteral("OpenDialog"),
         QStringLiteral("Caption Mode mFile mCDA mVCD Path View Drive Open Cancel OpenFileDlg")
             .split(QLatin1Char(' '))},
        {QStringLiteral("Edit"),
         QStringLiteral("Caption Alllist Playlist Info File Number Skip Repeat roopcnt roopnum "
                        "FileType Apply Cancel OK Atten0 Atten1 Atten2 Atten3 Atten4 multiList "
                        "mesFailedParam0")
             .split(QLatin1Char(' '))},
        {QStringLiteral("Option"),
         QStringLiteral("Caption General1 General2 Shell optwmp optrap CnvSet optGenrl1 "
                        "optGenrl2 optShell optCnvSet RunScr SetScr TimInt Retry AutoPlay orgBar "
                        "WinPosMem ShortPath RestorePl Language Controls cntAll cntMem cntSet "
                        "prMode prModeTimer prModeLoop View Atten0 Atten1 Atten2 Atten3 EditExt0 "
                        "EditExt1 EditExt2 strwmp strrap SCMPXDlg mesLang mesprMode")
             .split(QLatin1Char(' '))},
        {QStringLiteral("About"),
         QStringLiteral("Caption OK System Version Update OperatingSystem NoSysInfo")
             .split(QLatin1Char(' '))},
        {QStringLiteral("Help"), QStringLiteral("Caption Back Forward Home Search NoMatch NotFound")
                                     .split(QLatin1Char(' '))},
        {QStringLiteral("StatusDialog"),
         QStringLiteral("Caption Skip Cancel").split(QLatin1Char(' '))},
        {QStringLiteral("ErrorLog"),
         QStringLiteral("Caption DescError OK hdrPath").split(QLatin1Char(' '))},
    };
    return keys;
}

class ShippedLanguage : public ::testing::TestWithParam<const char *>
{
};

} // namespace

TEST_P(ShippedLanguage, PassesTheCheckAndHasEveryKey)
{
    const QString path = languageFile(GetParam());
    EXPECT_TRUE(CheckLanguageFile(path));
    const Sections sections = readSections(path);
    for (auto it = requiredKeys().cbegin(); it != requiredKeys().cend(); ++it) {
        for (const QString &key : it.value()) {
            EXPECT_FALSE(sections.value(it.key()).value(key).isEmpty())
                << GetParam() << ": [" << it.key().toStdString() << "] " << key.toStdString();
        }
    }
}

TEST_P(ShippedLanguage, EveryMenuCaptionHasItsHint)
{
    const Sections sections = readSections(languageFile(GetParam()));
    const auto &help = sections.value(QStringLiteral("NormalMenuHelp"));
    EXPECT_FALSE(help.value(QStringLiteral("hlpNone")).isEmpty());
    for (const QString &item : requiredKeys().value(QStringLiteral("NormalMenu"))) {
        QString caption = sections.value(QStringLiteral("NormalMenu")).value(item);
        caption.remove(QLatin1Char('&'));
        EXPECT_FALSE(help.value(QStringLiteral("hlp") + caption).isEmpty())
            << GetParam() << ": no hint for " << item.toStdString();
    }
}

TEST_P(ShippedLanguage, ValuesFitTheReadLimit)
{
    const Sections sections = readSections(languageFile(GetParam()));
    for (const auto &section : sections) {
        for (auto it = section.cbegin(); it != section.cend(); ++it)
            EXPECT_LE(it.value().size(), 255) << it.key().toStdString();
    }
}

// A hint in capitals reads as a warning ("DELETE FILE").
TEST_P(ShippedLanguage, HintsAreNotWrittenInCapitals)
{
    const auto normal = readSections(languageFile(GetParam())).value(QStringLiteral("Normal"));
    for (const QString &key : hintKeys()) {
        const QString rest = normal.value(key).mid(1);
        EXPECT_FALSE(rest.toLower() != rest.toUpper() && rest == rest.toUpper())
            << GetParam() << ": " << key.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage, ::testing::Values("Default.ovs", "Japanese.ovs"));

TEST(ShippedLanguages, TranslateTheSameKeys)
{
    const Sections english = readSections(languageFile("Default.ovs"));
    const Sections japanese = readSections(languageFile("Japanese.ovs"));
    for (auto it = english.cbegin(); it != english.cend(); ++it) {
        if (it.key() == QStringLiteral("NormalMenuHelp"))
            continue; // hint keys follow each language's captions
        const QStringList ours = it.value().keys();
        const QStringList theirs = japanese.value(it.key()).keys();
        EXPECT_EQ(QSet<QString>(ours.begin(), ours.end()),
                  QSet<QString>(theirs.begin(), theirs.end()))
            << it.key().toStdString();
    }
}
