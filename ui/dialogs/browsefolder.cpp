#include "ui/dialogs/browsefolder.h"

#include "playlist/locations.h"

namespace orvane::ui {

std::optional<QString> BrowseFolder(const QString &path, const FolderExists &folderExists)
{
    const qsizetype firstComma = path.indexOf(u',');
    if (firstComma < 0)
        return playlist::FolderPart(path);

    // A real folder whose name holds the comma beats reading the text as a
    // folder-and-names list.
    const QString ownFolder = playlist::FolderPart(path);
    if (!ownFolder.isEmpty() && folderExists && folderExists(ownFolder))
        return ownFolder;

    QChar separator;
    if (path.contains(u'\\'))
        separator = u'\\';
    else if (path.contains(u'/'))
        separator = u'/';
    else
        return std::nullopt;

    const qsizetype lastSeparator = path.lastIndexOf(separator);
    const bool extensionAtEnd = path.indexOf(u'.', lastSeparator + 1) >= 0;
    if (extensionAtEnd && path.indexOf(u'.') < firstComma)
        return playlist::FolderPart(path.left(firstComma + 1));
    QString folder = path.left(firstComma);
    if (!folder.endsWith(separator))
        folder += separator;
    return folder;
}

} // namespace orvane::ui
