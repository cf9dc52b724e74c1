#include "core/startup.h"

#include "core/errorreporter.h"
#include "core/filetypes.h"
#include "core/inifile.h"
#include "core/language.h"
#include "core/modmain.h"
#include "core/programpaths.h"
#include "core/runsettings.h"
#include "core/settingkeys.h"

namespace orvane::core {

void resetProcessState()
{
    modMain::IsSecondInstance = false;
    modMain::ShowErrors = true;
    modMain::NoLongPathApi = false;
    modMain::PendingCommand.clear();
    modMain::MainForm = nullptr;
}

void readStartupSettings(const QString &settingsFile)
{
    runSettings().readAtStartup(settingsFile);
}

bool chooseLanguageFile(const QString &settingsFile)
{
    const QString fallback = defaultLanguageFile();
    QString configured = fallback;
    IniReadWrite(settings::kGeneral, settings::kLanguageFile, configured, settingsFile, false);
    configured = resolveLanguageFile(configured, languageFolders());
    if (CheckLanguageFile(configured)) {
        modMain::LanguageFile = configured;
        return true;
    }
    if (CheckLanguageFile(fallback)) {
        modMain::LanguageFile = fallback;
        return true;
    }
    ShowError(kErrorUnknown, kErrorCodeApplication, kNoLanguageFileMessage, false, false);
    return false;
}

void buildFilters()
{
    modMain::PlayListFilter = filterFromFileTypes(QStringLiteral(".ovl"));
    modMain::WmpFilter = filterFromFileTypes(modMain::WmpFileTypes);
    modMain::RealFilter = filterFromFileTypes(modMain::RealFileTypes);
}

} // namespace orvane::core
