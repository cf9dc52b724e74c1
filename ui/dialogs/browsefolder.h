#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace orvane::ui {

// Answers whether a folder exists; the open dialog asks the file system.
using FolderExists = std::function<bool(const QString &folder)>;

// The folder the file-open dialog starts in for the text of the open
// dialog's path box, or nothing when the browse button must do nothing.
//
// The box may hold a plain path, or a folder followed by comma-separated
// names (what older file dialogs handed back). Without a comma the folder
// is the path's folder part. With one: when the text ends in a name with
// an extension and its first "." comes before its first comma, the folder
// part of the text up to that comma; otherwise the text before the first
// comma, ending in a separator. "\" is the separator when the text has
// one (Windows-style texts), "/" otherwise; a text with a comma and neither
// separator cannot be browsed from. Linux names may hold commas, so when
// folderExists says the path's own folder part is there, that folder wins.
std::optional<QString> BrowseFolder(const QString &path, const FolderExists &folderExists = {});

} // namespace orvane::ui
