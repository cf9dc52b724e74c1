#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace orvane::test {

// A private copy of the program's folder (executable and Language/), so a
// test's setting.ini and instance socket never meet another test's or the
// user's. The environment it hands out points TMPDIR and the XDG folders
// into the same temporary folder.
class ProgramFolder
{
public:
    ProgramFolder();
    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString executable() const { return m_dir.path() + QStringLiteral("/orvane"); }
    QString settingsFile() const { return m_dir.path() + QStringLiteral("/setting.ini"); }
    QProcessEnvironment environment() const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};

// Copies a folder tree; false on any failure.
bool copyTree(const QString &from, const QString &to);

} // namespace orvane::test
