#pragma once

#include <QByteArray>
#include <QString>

struct mpv_handle;

namespace orvane::playback::mpv {

// libmpv reads RealMedia files without packet times (see realmediatiming.h)
// through a stream of our own, which gives each packet its time as the
// bytes pass. Its callbacks run on libmpv's threads and touch nothing but
// the file they read.

// Makes libmpv open retimedLocation()s; once for each new handle. False
// when libmpv refused (the files then play as they are).
bool addRetimingProtocol(mpv_handle *mpv);

// A cheap look at a local file's first bytes: whether libmpv should read it
// through the retiming stream.
bool needsRetiming(const QString &path);

// What libmpv is told to open for such a file.
QByteArray retimedLocation(const QString &path);

// The scheme of those locations, for texts that must show the file's own.
inline constexpr char kRetimedScheme[] = "orvane-rm://";

} // namespace orvane::playback::mpv
