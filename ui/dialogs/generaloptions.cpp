#include "ui/dialogs/generaloptions.h"

#include "core/inifile.h"
#include "core/modmain.h"
#include "core/settingkeys.h"

namespace orvane::ui {

using namespace orvane::core;
using namespace orvane::core::settings;

namespace {

const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

bool readFlag(const QString &section, const QString &key, bool fallback, const QString &file)
{
    bool value = fallback;
    IniReadWrite(section, key, value, file, false);
    return value;
}

QString readText(const QString &key, const QString &fallback, const QString &file)
{
    QString value = fallback;
    IniReadWrite(kGeneral, key, value, file, false);
    return value;
}

void writeFlag(const QString &section, const QString &key, bool value, const QString &file)
{
    IniReadWrite(section, key, value, file, true);
}

void writeText(const QString &key, QString value, const QString &file)
{
    IniReadWrite(kGeneral, key, value, file, true);
}

} // namespace

GeneralOptions readGeneralOptions(const QString &settingsFile)
{
    GeneralOptions o;
    o.doNotRunScreenSaver = readText(kRunScreenSaver, kYes, settingsFile) == kNo;
    o.setScreenSaver = readText(kSetScreenSaver, kNo, settingsFile) == kYes;
    o.tryOtherEngine = readFlag(kGeneral, kTryOpenOtherMode, false, settingsFile);
    o.autoPlay = readFlag(kGeneral, kAutoPlay, true, settingsFile);
    o.windowMemory = readFlag(kWindowPosition, kMemory, true, settingsFile);
    o.shortPath = readFlag(kGeneral, kShortPath, true, settingsFile);
    o.restorePlaylist = readFlag(kGeneral, kRestorePlaylist, true, settingsFile);
    return o;
}

void writeGeneralOptions(const QString &settingsFile, const GeneralOptions &o)
{
    writeText(kRunScreenSaver, o.doNotRunScreenSaver ? kNo : kYes, settingsFile);
    writeText(kSetScreenSaver, o.doNotRunScreenSaver && o.setScreenSaver ? kYes : kNo,
              settingsFile);
    writeFlag(kGeneral, kTryOpenOtherMode, o.tryOtherEngine, settingsFile);
    writeFlag(kGeneral, kAutoPlay, o.autoPlay, settingsFile);
    writeFlag(kGeneral, kShortPath, o.shortPath, settingsFile);
    modMain::TryOtherEngine = o.tryOtherEngine;
    modMain::AutoPlay = o.autoPlay;
    modMain::UseShortPath = o.shortPath;
    writeFlag(kWindowPosition, kMemory, o.windowMemory, settingsFile);
    writeFlag(kGeneral, kRestorePlaylist, o.restorePlaylist, settingsFile);
}

} // namespace orvane::ui
