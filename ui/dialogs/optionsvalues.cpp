#include "ui/dialogs/optionsvalues.h"

#include "core/filetypes.h"
#include "core/inifile.h"
#include "core/language.h"
#include "core/modmain.h"
#include "core/programpaths.h"
#include "core/runsettings.h"
#include "core/settingkeys.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace orvane::ui {

using namespace orvane::core;
using namespace orvane::core::settings;

namespace {

const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");
const QString kCrLf = QStringLiteral("\r\n");

template <typename T>
T readValue(const QString &section, const QString &key, T value, const QString &file)
{
    IniReadWrite(section, key, value, file, false);
    return value;
}

template <typename T>
void writeValue(const QString &section, const QString &key, T value, const QString &file)
{
    IniReadWrite(section, key, value, file, true);
}

ExtensionChoice readExtensions(const QString &section, const QString &builtin, const QString &file)
{
    const QString stored = readValue(section, kFileTypes, QString(), file);
    if (stored.isEmpty())
        return {false, builtin};
    return {true, stored};
}

QString storedExtensions(const ExtensionChoice &choice)
{
    return choice.edit ? choice.list : QString();
}

QString panelModeText(PanelMode mode)
{
    switch (mode) {
    case PanelMode::Memorize:
        return QStringLiteral("Memorize");
    case PanelMode::Customize:
        return QStringLiteral("Customize");
    default:
        return QStringLiteral("All");
    }
}

QString headerValue(const QString &key, const QString &path)
{
    return readValue(kLanguageHeaderSection, key, QString(), path);
}

} // namespace

OptionsValues readOptionsValues(const QString &file)
{
    OptionsValues v;
    v.doNotRunScreenSaver = readValue(kGeneral, kRunScreenSaver, kYes, file) == kNo;
    v.setScreenSaver = readValue(kGeneral, kSetScreenSaver, kNo, file) == kYes;
    v.tryOtherEngine = readValue(kGeneral, kTryOpenOtherMode, false, file);
    v.autoPlay = readValue(kGeneral, kAutoPlay, true, file);
    v.orgBar = readValue(kGeneral, kShowOrgBar, runSettings().orgBar(), file);
    v.windowMemory = readValue(kWindowPosition, kMemory, true, file);
    v.shortPath = readValue(kGeneral, kShortPath, true, file);
    v.restorePlaylist = readValue(kGeneral, kRestorePlaylist, true, file);
    v.languageFile = resolveLanguageFile(
        readValue(kGeneral, kLanguageFile, defaultLanguageFile(), file), languageFolders());
    v.panelMode = readPanelMode(file);
    v.shownPanels = readShowSetting(file);
    // Only 0 is the timer; the main window runs anything else as the loop.
    v.processingMode = readValue<qint32>(kGeneral, kProcessingMode, 1, file) == 0 ? 0 : 1;
    v.processingInterval = readValue<qint32>(kGeneral, kProcessingInterval, 500, file);
    v.wmp = readExtensions(kMediaPlayerSetting, kBuiltinWmpFileTypes, file);
    v.real = readExtensions(kRealPlayerSetting, kBuiltinRealFileTypes, file);
    v.scmpx = readValue(kConvertSetting, kScmpx, QString(), file);
    return v;
}

void writeOptionsValues(const QString &file, const OptionsValues &v, const OptionsNotice &notice)
{
    RunSettings &run = runSettings();
    writeValue(kGeneral, kRunScreenSaver, v.doNotRunScreenSaver ? kNo : kYes, file);
    // Turned on again at exit only by a run that keeps it off.
    writeValue(kGeneral, kSetScreenSaver, v.doNotRunScreenSaver && v.setScreenSaver ? kYes : kNo,
               file);

    writeValue(kGeneral, kTryOpenOtherMode, v.tryOtherEngine, file);
    writeValue(kGeneral, kAutoPlay, v.autoPlay, file);
    writeValue(kGeneral, kShortPath, v.shortPath, file);
    run.setTryOtherEngine(v.tryOtherEngine);
    run.setAutoPlay(v.autoPlay);
    run.setUseShortPath(v.shortPath);

    writeValue(kGeneral, kShowOrgBar, v.orgBar, file);
    if (modMain::MainForm)
        run.setOrgBar(v.orgBar);

    writeValue(kWindowPosition, kMemory, v.windowMemory, file);
    writeValue(kGeneral, kRestorePlaylist, v.restorePlaylist, file);

    if (!v.languageFile.isEmpty()) {
        writeValue(kGeneral, kLanguageFile, v.languageFile, file);
        if (QDir::cleanPath(v.languageFile) != QDir::cleanPath(modMain::LanguageFile) && notice)
            notice(QStringLiteral("mesLang"));
    }

    writeValue(kControlPanels, kMode, panelModeText(v.panelMode), file);
    writeValue(kControlPanels, kShowSetting, showSettingText(v.shownPanels), file);

    writeValue<qint32>(kGeneral, kProcessingMode, v.processingMode, file);
    if (v.processingMode != modMain::ProcessingMode && notice)
        notice(QStringLiteral("mesprMode"));

    writeValue<qint32>(kGeneral, kProcessingInterval, v.processingInterval, file);
    run.setProcessingInterval(v.processingInterval);

    writeValue(kMediaPlayerSetting, kFileTypes, storedExtensions(v.wmp), file);
    writeValue(kRealPlayerSetting, kFileTypes, storedExtensions(v.real), file);
    writeValue(kConvertSetting, kScmpx, v.scmpx, file);

    // Lists nobody edited stay what start-up made of them.
    if (v.wmp.edit || v.real.edit)
        run.setFileTypes(storedExtensions(v.wmp), storedExtensions(v.real));
}

QList<LanguageChoice> findLanguageFiles(const QStringList &folders)
{
    QList<LanguageChoice> found;
    QSet<QString> names;
    for (const QString &folder : folders) {
        const QFileInfoList files =
            QDir(folder).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo &info : files) {
            if (!info.fileName().endsWith(QStringLiteral(".ovs"), Qt::CaseInsensitive) ||
                names.contains(info.fileName()))
                continue;
            names.insert(info.fileName());
            const QString path = info.absoluteFilePath();
            QString name = headerValue(QStringLiteral("Language"), path);
            // A file that does not name its language is still told apart.
            if (name.isEmpty())
                name = info.completeBaseName();
            found.append({path, name});
        }
    }
    return found;
}

int languageIndexOf(const QList<LanguageChoice> &choices, const QString &path)
{
    const QString wanted = QDir::cleanPath(path);
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (QDir::cleanPath(choices.at(i).path) == wanted)
            return int(i);
    }
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (QDir::cleanPath(choices.at(i).path).toLower() == wanted.toLower())
            return int(i);
    }
    return -1;
}

QString languageInfoText(const QString &path)
{
    const auto value = [&](const char *key) { return headerValue(QString::fromLatin1(key), path); };
    return value("Language") + kCrLf + QStringLiteral("\t\tVersion ") + value("Version") + kCrLf +
           QStringLiteral("Creator\t: ") + value("Creator") + kCrLf +
           QStringLiteral("HomePage\t: ") + value("URL") + kCrLf + QStringLiteral("E-Mail\t: ") +
           value("Mail") + kCrLf + value("Comment");
}

QString intervalText(int ms)
{
    return QStringLiteral("%1msec.").arg(ms, 3, 10, QLatin1Char('0'));
}

} // namespace orvane::ui
