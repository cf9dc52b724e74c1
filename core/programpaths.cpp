#include "core/programpaths.h"

#include "core/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <utility>

#include <unistd.h>

#ifndef ORVANE_DATA_FROM_BIN
#define ORVANE_DATA_FROM_BIN "../share/orvane"
#endif

namespace orvane::core {

QString programFolder()
{
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString installedDataFolder()
{
    return QDir::cleanPath(programFolder() + QStringLiteral(ORVANE_DATA_FROM_BIN)) +
           QLatin1Char('/');
}

QStringList installedIconFilesIn(const QString &dataFolder)
{
    const QDir hicolor(QDir::cleanPath(dataFolder + QStringLiteral("/../icons/hicolor")));
    static const QRegularExpression sizeFolder(QStringLiteral("^(\\d+)x\\1$"));
    QList<std::pair<int, QString>> found;
    for (const QString &folder : hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch size = sizeFolder.match(folder);
        const QString file = hicolor.filePath(folder + QStringLiteral("/apps/orvane.png"));
        if (size.hasMatch() && QFileInfo(file).isFile())
            found.append({size.captured(1).toInt(), file});
    }
    std::sort(found.begin(), found.end());
    QStringList files;
    for (const auto &entry : std::as_const(found))
        files << entry.second;
    return files;
}

QStringList installedIconFiles()
{
    return installedIconFilesIn(installedDataFolder());
}

QString settingsFolderFor(const SettingsPlaceFacts &facts)
{
    if (facts.hasLanguageFolder && facts.programFolderWritable)
        return facts.programFolder;
    return QDir(facts.configFolder).filePath(QStringLiteral("orvane")) + QLatin1Char('/');
}

SettingsPlaceFacts settingsPlaceFacts()
{
    const QString folder = programFolder();
    return {folder, QFileInfo(folder + QStringLiteral("Language")).isDir(),
            ::access(QFile::encodeName(folder).constData(), W_OK) == 0,
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)};
}

QString settingsFileFor(const SettingsPlaceFacts &facts)
{
    const QString folder = settingsFolderFor(facts);
    // The first run in a fresh account has no configuration folder yet;
    // the settings could never be written there without one.
    if (!QDir().mkpath(folder))
        qCWarning(lcCore) << "cannot create the settings folder" << folder;
    return folder + QStringLiteral("setting.ini");
}

QString settingsFile()
{
    return settingsFileFor(settingsPlaceFacts());
}

QStringList languageFolders()
{
    return {programFolder() + QStringLiteral("Language/"),
            installedDataFolder() + QStringLiteral("Language/")};
}

QStringList helpFolders()
{
    return {programFolder() + QStringLiteral("help/"),
            installedDataFolder() + QStringLiteral("help/")};
}

QString resolveLanguageFile(const QString &name, const QStringList &folders)
{
    if (name.isEmpty() || QDir::isAbsolutePath(name) || folders.isEmpty())
        return name;
    // Settings written on Windows separate folders with "\".
    const QString relative = QString(name).replace(u'\\', u'/');
    QStringList candidates;
    for (const QString &folder : folders)
        candidates << QDir(folder).filePath(relative);
    // "Language/Japanese.ovs" names the file from the folder above.
    for (const QString &folder : folders)
        candidates << QDir(folder + QStringLiteral("/..")).filePath(relative);
    for (const QString &candidate : std::as_const(candidates)) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return QDir::cleanPath(candidates.first());
}

QString defaultLanguageFile()
{
    const QStringList folders = languageFolders();
    for (const QString &folder : folders) {
        const QString candidate = folder + QStringLiteral("Default.ovs");
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return folders.first() + QStringLiteral("Default.ovs");
}

} // namespace orvane::core
