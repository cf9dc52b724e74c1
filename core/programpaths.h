#pragma once

#include <QString>

namespace orvane::core {

// The folder of the executable, always with one trailing "/".
QString programFolder();

// "setting.ini" in the program folder when that folder is writable (portable
// use, the build tree), else $XDG_CONFIG_HOME/orvane/setting.ini.
QString settingsFile();

// The language file used when the settings name none or a bad one: the
// program folder's Language/Default.ovs, else the installed one.
QString defaultLanguageFile();

// Folders holding language files, the program folder's first.
QStringList languageFolders();

// The full path of a language file named in the settings. A relative name
// ("Japanese.ovs", "Language\\Japanese.ovs") is looked for in each folder,
// then beside it, in that order; one found nowhere is put in the first
// folder, where it is then missing. Absolute paths are taken as they are.
QString resolveLanguageFile(const QString &name, const QStringList &folders);

} // namespace orvane::core
