#pragma once

#include <QString>

namespace orvane::core {

// The start-up steps that prepare process-wide state, in the order the entry
// procedure runs them. Each reads setting.ini through IniReadWrite.

// Resets the flags to their start values (errors shown, nothing pending).
void resetProcessState();

// "Try Open Other Mode" (true only for the exact text "True"), "AutoPlay",
// "ShortPath" and the two "File Types" lists (empty = the built-in list),
// into the run's settings object (RunSettings).
void readStartupSettings(const QString &settingsFile);

// The configured language file when it checks out, else the default one;
// sets modMain::LanguageFile. When neither is usable it reports the missing
// default file and returns false.
bool chooseLanguageFile(const QString &settingsFile);

// The file-dialog filters built from the extension lists.
void buildFilters();

// The message shown when no language file can be used.
inline const QString kNoLanguageFileMessage =
    QStringLiteral("標準の言語設定ファイルがありません。");

} // namespace orvane::core
