#pragma once

#include <QString>

namespace orvane::core {

// The folder of the executable, always with one trailing "/".
QString programFolder();

// Where an installation keeps its data (share/orvane/ beside the bin/
// folder of the executable), with one trailing "/".
QString installedDataFolder();

// The program's own icon as its installation brings it along
// (share/icons/hicolor/<size>/apps/orvane.png beside the data folder), PNGs
// only, smallest first; empty when there is none. For a desktop whose icon
// theme does not reach the installation: an unpacked package, a prefix
// outside XDG_DATA_DIRS.
QStringList installedIconFilesIn(const QString &dataFolder);
// The same for this process's installedDataFolder().
QStringList installedIconFiles();

// What decides where the settings live.
struct SettingsPlaceFacts {
    QString programFolder;  // with one trailing "/"
    bool hasLanguageFolder; // Language/ beside the executable
    bool programFolderWritable;
    QString configFolder; // $XDG_CONFIG_HOME, or ~/.config
};

// The folder setting.ini belongs in, with one trailing "/": the program
// folder for a portable or build-tree layout (its Language/ folder beside
// the executable) that its user may write, else configFolder/orvane/. An
// installed program (no Language/ beside it) never writes into its
// installation, not even when root, who may write anywhere, runs it.
QString settingsFolderFor(const SettingsPlaceFacts &facts);

// The facts of this process.
SettingsPlaceFacts settingsPlaceFacts();

// setting.ini in settingsFolderFor(facts); a configuration folder that is
// missing is created.
QString settingsFileFor(const SettingsPlaceFacts &facts);
// The same for this process.
QString settingsFile();

// The language file used when the settings name none or a bad one: the
// program folder's Language/Default.ovs, else the installed one.
QString defaultLanguageFile();

// Folders holding language files, the program folder's first.
QStringList languageFolders();

// Folders that may hold the user manual (help/index.html), the program
// folder's first.
QStringList helpFolders();

// The full path of a language file named in the settings. A relative name
// ("Japanese.ovs", "Language\\Japanese.ovs") is looked for in each folder,
// then beside it, in that order; one found nowhere is put in the first
// folder, where it is then missing. Absolute paths are taken as they are.
QString resolveLanguageFile(const QString &name, const QStringList &folders);

} // namespace orvane::core
