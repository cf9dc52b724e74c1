#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace orvane::core {

// Replaces the file at path with the bytes: written to a temporary file in
// the same folder, flushed to disk, then renamed over the old one, and the
// folder flushed too. A crash or a full disk therefore leaves either the old
// file or the new one, never a half-written file. The old file's permissions
// are kept; a symbolic link stays and its target is replaced. Returns false
// (and leaves the old file) on any failure.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

namespace testhooks {
// Asked just before the new file takes the old one's place (from: the file
// being written, to: the file replaced); false makes the write fail there,
// as a full disk would (tests simulate a failure half-way). An empty
// function restores the plain write.
using RenameFunction = std::function<bool(const QString &from, const QString &to)>;
void setRenameFunction(RenameFunction fn);
} // namespace testhooks

} // namespace orvane::core
