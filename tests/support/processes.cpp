#include "tests/support/processes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace orvane::test {

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(from.size());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(dst))
                return false;
        } else if (!QFile::copy(src, dst)) {
            return false;
        }
    }
    return true;
}

ProgramFolder::ProgramFolder()
{
    const QString app = QStringLiteral(ORVANE_APP_DIR);
    m_valid = m_dir.isValid() && QFile::copy(app + QStringLiteral("/orvane"), executable()) &&
              copyTree(app + QStringLiteral("/Language"), path() + QStringLiteral("/Language")) &&
              (!QFileInfo(app + QStringLiteral("/help")).isDir() ||
               copyTree(app + QStringLiteral("/help"), path() + QStringLiteral("/help"))) &&
              QDir().mkpath(path() + QStringLiteral("/tmp")) &&
              QDir().mkpath(path() + QStringLiteral("/runtime"));
    QFile::setPermissions(path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QProcessEnvironment ProgramFolder::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), path() + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path() + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // No session bus: the screen-saver and media-key services stay off.
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    return env;
}

} // namespace orvane::test
