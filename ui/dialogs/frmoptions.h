#pragma once

#include "ui/dialogs/generaloptions.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QTabWidget;

namespace orvane::ui {

// The program's options, on tabbed pages. It reads every setting it shows
// when it opens and writes them all back on OK; Cancel writes nothing.
class frmOptions final : public QDialog
{
    Q_OBJECT
public:
    explicit frmOptions(const QString &settingsFile, QWidget *parent = nullptr);

    // The page's boxes as they stand now.
    GeneralOptions generalOptions() const;

    QCheckBox *chkDonotRunScr() const { return m_chkDonotRunScr; }
    QCheckBox *chkSetScr() const { return m_chkSetScr; }
    QCheckBox *chkRestorePlaylist() const { return m_chkRestorePlaylist; }
    QPushButton *cmdOK() const { return m_cmdOK; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }

private:
    QWidget *buildGeneralPage();
    void applyTexts();
    void showOptions(const GeneralOptions &options);
    void cmdOK_Click();

    QString m_settingsFile;
    QTabWidget *m_tabOptions = nullptr;
    QGroupBox *m_fraGeneral1 = nullptr;
    QCheckBox *m_chkDonotRunScr = nullptr;
    QCheckBox *m_chkSetScr = nullptr;
    QCheckBox *m_chkTryOpen = nullptr;
    QCheckBox *m_chkAutoPlay = nullptr;
    QCheckBox *m_chkWinPosMem = nullptr;
    QCheckBox *m_chkplShortFile = nullptr;
    QCheckBox *m_chkRestorePlaylist = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};

} // namespace orvane::ui
