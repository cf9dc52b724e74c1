#pragma once

#include "ui/dialogs/optionsvalues.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabBar;

namespace orvane::ui {

class CommonDialog;

// The program's options on six tabbed pages. It reads every setting it
// shows when it opens and writes them all back on OK (see
// writeOptionsValues); Cancel writes nothing. The two extension pages share
// one frame, which shows the list of the engine its tag names.
class frmOptions final : public QDialog
{
    Q_OBJECT
public:
    // comDialog: the main window's file dialog, for the converter's path
    // (one of the dialog's own when there is none).
    explicit frmOptions(const QString &settingsFile, CommonDialog *comDialog = nullptr,
                        QWidget *parent = nullptr);
    ~frmOptions() override;

    // The controls as they stand now.
    OptionsValues values() const;

    // The pages by their tab keys: "general1", "general2", "shell", "wmp",
    // "rap", "convert".
    void showPage(const QString &tabKey);

    QTabBar *tabOptions() const { return m_tabOptions; }
    QCheckBox *chkDonotRunScr() const { return m_chkDonotRunScr; }
    QCheckBox *chkSetScr() const { return m_chkSetScr; }
    QCheckBox *chkAutoPlay() const { return m_chkAutoPlay; }
    QCheckBox *chkRestorePlaylist() const { return m_chkRestorePlaylist; }
    QComboBox *comLanguage() const { return m_comLanguage; }
    QPlainTextEdit *txtlngInfo() const { return m_txtlngInfo; }
    QRadioButton *optAllControls() const { return m_optAllControls; }
    QRadioButton *optSetControls() const { return m_optSetControls; }
    QListWidget *lstControls() const { return m_lstControls; }
    QComboBox *comprMode() const { return m_comprMode; }
    QGroupBox *fraInterval() const { return m_fraInterval; }
    QScrollBar *fsbInterval() const { return m_fsbInterval; }
    QLabel *lblInterval() const { return m_lblInterval; }
    QGroupBox *fraExtensions() const { return m_fraExtensions; }
    QCheckBox *chkEditExtensions() const { return m_chkEditExtensions; }
    QPlainTextEdit *txtExtensions() const { return m_txtExtensions; }
    QLineEdit *txtscmpx() const { return m_txtscmpx; }
    QPushButton *comView() const { return m_comView; }
    QPushButton *cmdOK() const { return m_cmdOK; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }

private:
    QWidget *buildGeneral1();
    QWidget *buildGeneral2();
    QWidget *buildShell();
    QWidget *buildExtensions();
    QWidget *buildConvert();
    void applyTexts();
    void showValues(const OptionsValues &values);
    ExtensionChoice &extensionsOfTag();

    void tabOptions_Click(int index);
    void chkEditExtensions_Click();
    void txtExtensions_Change();
    void comprMode_Click();
    void fsbInterval_Change();
    void controls_Click();
    void comLanguage_Click();
    void comView_Click();
    void cmdOK_Click();

    QString m_settingsFile;
    CommonDialog *m_comDialog = nullptr;
    std::unique_ptr<CommonDialog> m_ownDialog;
    QList<LanguageChoice> m_languages;
    ExtensionChoice m_wmp;
    ExtensionChoice m_real;
    bool m_showingExtensions = false;

    QTabBar *m_tabOptions = nullptr;
    QList<QWidget *> m_frames; // general1, general2, shell, extensions, convert
    QGroupBox *m_fraGeneral1 = nullptr;
    QGroupBox *m_fraGeneral2 = nullptr;
    QGroupBox *m_fraShell = nullptr;
    QLabel *m_lblShell = nullptr;
    QCheckBox *m_chkDonotRunScr = nullptr;
    QCheckBox *m_chkSetScr = nullptr;
    QCheckBox *m_chkTryOpen = nullptr;
    QCheckBox *m_chkAutoPlay = nullptr;
    QCheckBox *m_chkOrgBar = nullptr;
    QCheckBox *m_chkWinPosMem = nullptr;
    QCheckBox *m_chkplShortFile = nullptr;
    QCheckBox *m_chkRestorePlaylist = nullptr;
    QLabel *m_lblLanguage = nullptr;
    QComboBox *m_comLanguage = nullptr;
    QPlainTextEdit *m_txtlngInfo = nullptr;
    QGroupBox *m_fraControls = nullptr;
    QRadioButton *m_optAllControls = nullptr;
    QRadioButton *m_optMemControls = nullptr;
    QRadioButton *m_optSetControls = nullptr;
    QListWidget *m_lstControls = nullptr;
    QLabel *m_lblprMode = nullptr;
    QComboBox *m_comprMode = nullptr;
    QGroupBox *m_fraInterval = nullptr;
    QScrollBar *m_fsbInterval = nullptr;
    QLabel *m_lblInterval = nullptr;
    QLabel *m_txtIntAttention = nullptr;
    QGroupBox *m_fraExtensions = nullptr;
    QCheckBox *m_chkEditExtensions = nullptr;
    QPlainTextEdit *m_txtExtensions = nullptr;
    QGroupBox *m_fraConvert = nullptr;
    QLineEdit *m_txtscmpx = nullptr;
    QPushButton *m_comView = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};

} // namespace orvane::ui
