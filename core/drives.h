#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace orvane::core {

// One line of /proc/self/mounts: the device and the folder it is mounted on,
// with the kernel's octal escapes ("\040" for a blank) undone.
struct MountEntry {
    QString device;
    QString mountPoint;
    QString type;

    bool operator==(const MountEntry &) const = default;
};

// Reads the mount table. Lines that do not have at least a device, a mount
// point and a type are passed over; nothing in the text can make it fail.
QList<MountEntry> parseMounts(const QByteArray &text);

// Optical drives of the system as libcdio finds them, each once (/dev/sr0,
// /dev/sr1, ... in numeric order).
QStringList findOpticalDevices();

// Drive letters as the playlist knows them ("D:"), for disc items.
// Optical drives get D:, E:, ... in order; the "Drives" section of
// setting.ini maps a letter to a device ("D=/dev/sr0"), a CD image
// ("C=/data/disc.cue") or a folder ("V=/media/vcd") and wins over the
// drives found.
class DriveTable
{
public:
    enum class Kind { Device, Image, Folder };
    struct Drive {
        QString letter; // "D:"
        Kind kind = Kind::Device;
        QString target; // device, image file or folder

        bool operator==(const Drive &) const = default;
    };

    // devices: the optical drives found; mappings: letter -> target as the
    // settings give them ("D" or "D:" -> text); mounts: the mount table.
    static DriveTable build(const QStringList &devices,
                            const QList<std::pair<QString, QString>> &mappings,
                            QList<MountEntry> mounts);
    // The table of this system and the settings file.
    static DriveTable fromSystem(const QString &settingsFile);

    const QList<Drive> &drives() const { return m_drives; }
    // The drive of "D:", "d:" or "D"; nothing when the letter is not used.
    std::optional<Drive> drive(const QString &letter) const;
    // The folder a disc's files are read from: the mapped folder, or where
    // the drive's device is mounted. Empty when there is none.
    QString folderOf(const QString &letter) const;

private:
    QList<Drive> m_drives;
    QList<MountEntry> m_mounts;
};

// The table the playback code uses: by default DriveTable::fromSystem() with
// the program's settings file, read afresh on every call (discs come and
// go). Tests put their own in place; an empty function restores the default.
DriveTable currentDriveTable();
void setDriveTableSource(std::function<DriveTable()> source);

// The letter part of a drive text: "D:" -> "D", "" when it is not a letter.
QString driveLetter(const QString &drive);

} // namespace orvane::core
