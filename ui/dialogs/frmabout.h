#pragma once

#include "core/osinfo.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

namespace orvane::ui {

// "Version 1.2.3 Update " in the words of the language file.
QString aboutVersionText(int major, int minor, int revision);
// The heading, the system's name and edition, and its version numbers
// indented below them.
QString aboutSystemText(const core::OSInfo &info);

// The system information programs looked for, the first found is started.
QStringList systemInformationPrograms();
// The first of the programs found in the PATH-style folder list; empty when
// none is.
QString findSystemInformationProgram(const QStringList &programs, const QStringList &folders);

// The program's version, copyright, the system it runs on and its logo,
// with a button that starts the desktop's system information program.
class frmAbout final : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);
    ~frmAbout() override;

    // Starts the first system information program found on PATH, detached;
    // without one, says that system information is not available.
    void StartSysInfo();

    QLabel *imgLogo() const { return m_imgLogo; }
    QLabel *lblVersion() const { return m_lblVersion; }
    QLabel *lblCopy() const { return m_lblCopy; }
    QLabel *lblWinVer() const { return m_lblWinVer; }
    QPushButton *cmdOK() const { return m_cmdOK; }
    QPushButton *cmdSysInfo() const { return m_cmdSysInfo; }

private:
    void Form_Load();

    QLabel *m_imgLogo = nullptr;
    QLabel *m_lblVersion = nullptr;
    QLabel *m_lblVersionBack = nullptr;
    QLabel *m_lblCopy = nullptr;
    QLabel *m_lblWinVer = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdSysInfo = nullptr;
};

} // namespace orvane::ui
