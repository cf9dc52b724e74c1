#include "core/drives.h"
#include "playback/controllerdetail.h"
#include "playback/gst/videocduri.h"

#include <QDir>
#include <QFileInfo>

namespace orvane::playback::detail {

namespace {

// Discs mounted without name translation show "MPEGAV" as "mpegav" (or
// with a version suffix stripped by the kernel); take the name the folder
// really has.
QString childNamed(const QString &folder, const QString &name)
{
    const QString exact = folder + u'/' + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                       QDir::System | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + u'/' + entry;
    }
    return exact;
}

} // namespace

QString videoCdTrackPath(const QString &drive, qint32 track)
{
    // A drive (mounted or not) or an image is read raw: its MPEG sectors
    // cannot be read as files. The
    // disc's first track is its file system, so Video CD track k is disc
    // track k + 1.
    const auto mapped = core::currentDriveTable().drive(drive);
    if (mapped && mapped->kind != core::DriveTable::Kind::Folder)
        return gst::videoCdUri(mapped->target, track + 1);
    const QString file = QStringLiteral("AVSEQ%1.DAT").arg(track, 2, 10, QLatin1Char('0'));
    QString folder = core::currentDriveTable().folderOf(drive);
    if (folder.isEmpty())
        return drive + QStringLiteral("/MPEGAV/") + file; // fails to open, as it should
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return childNamed(childNamed(folder, QStringLiteral("MPEGAV")), file);
}

} // namespace orvane::playback::detail
