#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace orvane::core {

// Replaces the file at path with the bytes: written to a temporary file in
// the same folder, flushed to disk, then renamed over the old one. A crash or
// a full disk therefore leaves either the old file or the new one, never a
// half-written file. Returns false (and leaves the old file) on any failure.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

namespace testhooks {
// Replaces the final rename (tests simulate a failure half-way). An empty
// function restores the real rename.
using RenameFunction = std::function<bool(const QString &from, const QString &to)>;
void setRenameFunction(RenameFunction fn);
} // namespace testhooks

} // namespace orvane::core
