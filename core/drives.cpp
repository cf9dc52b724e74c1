#include "core/drives.h"

#include "core/inifile.h"
#include "core/programpaths.h"
#include "core/textcodec.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

#include <cdio/cdio.h>

namespace orvane::core {

namespace {

const QString kDrivesSection = QStringLiteral("Drives");

// The kernel writes blank, tab, newline and backslash in mount fields as
// three octal digits after a backslash.
QString unescapeMountField(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = digits.size() == 3 && std::all_of(digits.begin(), digits.end(), [](char d) {
                          return d >= '0' && d <= '7';
                      });
            const int value = ok ? digits.toInt(&ok, 8) : 0;
            if (ok && value > 0 && value < 256) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}

bool hasControlCharacter(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

DriveTable::Kind kindOfTarget(const QString &target)
{
    const QFileInfo info(target);
    if (info.isDir())
        return DriveTable::Kind::Folder;
    const QString suffix = info.suffix().toLower();
    if (suffix == u"cue" || suffix == u"bin" || suffix == u"toc" || suffix == u"nrg" ||
        suffix == u"iso")
        return DriveTable::Kind::Image;
    return DriveTable::Kind::Device;
}

// sr0, sr1, ... in number order; names of another form after them.
int deviceNumber(const QString &name)
{
    bool ok = false;
    const int n = name.startsWith(u"sr") ? name.mid(2).toInt(&ok) : 0;
    return ok ? n : std::numeric_limits<int>::max();
}

std::function<DriveTable()> &tableSource()
{
    static std::function<DriveTable()> source;
    return source;
}

} // namespace

QList<MountEntry> parseMounts(const QByteArray &text)
{
    QList<MountEntry> mounts;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || fields[0].isEmpty())
            continue;
        MountEntry entry{unescapeMountField(fields[0]), unescapeMountField(fields[1]),
                         unescapeMountField(fields[2])};
        // A folder whose name holds a line break or another control
        // character is no place a location can name (and a list of them
        // would split there).
        if (!hasControlCharacter(entry.device) && !hasControlCharacter(entry.mountPoint))
            mounts.append(std::move(entry));
    }
    return mounts;
}

QStringList findOpticalDevices()
{
    // libcdio knows where a system keeps its drives (/dev/sr*, /dev/cdrom
    // and what fstab names); several of those names are links to one drive.
    QStringList devices;
    char **found = cdio_get_devices(DRIVER_DEVICE);
    for (char **name = found; name && *name; ++name) {
        const QString path = QString::fromLocal8Bit(*name);
        const QString canonical = QFileInfo(path).canonicalFilePath();
        const QString device = canonical.isEmpty() ? path : canonical;
        if (!devices.contains(device))
            devices.append(device);
    }
    cdio_free_device_list(found);
    std::stable_sort(devices.begin(), devices.end(), [](const QString &a, const QString &b) {
        return deviceNumber(QFileInfo(a).fileName()) < deviceNumber(QFileInfo(b).fileName());
    });
    return devices;
}

QString driveLetter(const QString &drive)
{
    const QString text = drive.trimmed();
    if (text.isEmpty() || !text[0].isLetter() || text[0].unicode() > 0x7F)
        return {};
    if (text.size() > 2 || (text.size() == 2 && text[1] != u':'))
        return {};
    return text.left(1).toUpper();
}

DriveTable DriveTable::build(const QStringList &devices,
                             const QList<std::pair<QString, QString>> &mappings,
                             QList<MountEntry> mounts)
{
    DriveTable table;
    table.m_mounts = std::move(mounts);
    for (const auto &[letterText, target] : mappings) {
        const QString letter = driveLetter(letterText);
        if (letter.isEmpty() || target.trimmed().isEmpty() || table.drive(letter))
            continue;
        table.m_drives.append({letter + u':', kindOfTarget(target.trimmed()), target.trimmed()});
    }
    char next = 'D';
    for (const QString &device : devices) {
        while (next <= 'Z' && table.drive(QString(QChar::fromLatin1(next))))
            ++next;
        if (next > 'Z')
            break;
        table.m_drives.append({QString(QChar::fromLatin1(next)) + u':', Kind::Device, device});
        ++next;
    }
    return table;
}

DriveTable DriveTable::fromSystem(const QString &settingsFile)
{
    QList<std::pair<QString, QString>> mappings;
    QFile ini(settingsFile);
    if (ini.open(QIODevice::ReadOnly)) {
        const IniDocument doc = IniDocument::parse(decodeText(ini.read(1 << 20)).text);
        for (char c = 'A'; c <= 'Z'; ++c) {
            const QString letter(QChar::fromLatin1(c));
            if (const auto value = doc.value(kDrivesSection, letter))
                mappings.append({letter, *value});
        }
    }
    QFile mountsFile(QStringLiteral("/proc/self/mounts"));
    QByteArray mountsText;
    if (mountsFile.open(QIODevice::ReadOnly))
        mountsText = mountsFile.read(4 << 20);
    return build(findOpticalDevices(), mappings, parseMounts(mountsText));
}

std::optional<DriveTable::Drive> DriveTable::drive(const QString &letter) const
{
    const QString wanted = driveLetter(letter);
    if (wanted.isEmpty())
        return std::nullopt;
    for (const Drive &d : m_drives) {
        if (d.letter.startsWith(wanted))
            return d;
    }
    return std::nullopt;
}

QString DriveTable::folderOf(const QString &letter) const
{
    const auto d = drive(letter);
    if (!d)
        return {};
    if (d->kind == Kind::Folder)
        return d->target;
    const QString canonical = QFileInfo(d->target).canonicalFilePath();
    for (const MountEntry &m : m_mounts) {
        if (m.device == d->target || (!canonical.isEmpty() && m.device == canonical))
            return m.mountPoint;
    }
    return {};
}

DriveTable currentDriveTable()
{
    if (tableSource())
        return tableSource()();
    return DriveTable::fromSystem(settingsFile());
}

void setDriveTableSource(std::function<DriveTable()> source)
{
    tableSource() = std::move(source);
}

} // namespace orvane::core
