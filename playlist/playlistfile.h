#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace orvane::playlist {

class lstPlayList;

// Messages SavePlayList leaves for its caller.
inline const QString kMessageNothingFile = QStringLiteral("Nothing File");
inline const QString kMessageNewFile = QStringLiteral("New File");

// Writes the view's items, in view order, to an ".ovl" file: fileName, or
// PlayListFile when that is empty. message becomes "Nothing File" for an
// empty view and "New File" when no name is known. The file is replaced
// atomically (a failed write leaves the old one and is reported through
// the message box). True when written; PlayListFile is then the path.
bool SavePlayList(const lstPlayList &view, const QString &fileName, bool withComments,
                  QString *message = nullptr);

// Replaces the playlist with an ".ovl" file's items. False, with nothing
// changed, for another extension, a missing or non-regular file, a wrong
// header, a newer version, or while another load is still running (events
// run during a load). True when read; PlayListFile is then the normalised
// path. Lines that are no item (too few fields, a number out of its
// field's range) are skipped.
bool LoadPlayList(const QString &location, lstPlayList &view);

// The load behind LoadPlayList, on a file's bytes: fills the view and the
// store from index 0 when the header is accepted. Events are let run now
// and then while a long file loads.
bool LoadPlayListBytes(const QByteArray &bytes, lstPlayList &view);

// The bytes of a playlist file's text: CP932 when every character fits
// and the bytes read back as CP932, otherwise UTF-8.
QByteArray EncodePlayListText(const QString &head, const QString &body);

} // namespace orvane::playlist
