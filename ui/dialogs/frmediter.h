#pragma once

#include "playlist/playlisteditor.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace orvane::playlist {
class lstPlayList;
}

namespace orvane::ui {

// The playlist editor: every record of the store on the left (deleted
// items too, so they can come back), the new playlist composed on the
// right, and the fields of the selected records below, edited for all of
// them at once. OK replaces the playlist view by the right-hand list.
class frmEditer final : public QDialog
{
    Q_OBJECT
public:
    explicit frmEditer(playlist::lstPlayList &view, QWidget *parent = nullptr);
    ~frmEditer() override;

    QListWidget *lstFrom() const { return m_lstFrom; }
    QListWidget *lstTo() const { return m_lstTo; }
    QPushButton *cmdTo() const { return m_cmdTo; }
    QPushButton *cmdBack() const { return m_cmdBack; }
    QPushButton *cmdUp() const { return m_cmdUp; }
    QPushButton *cmdDown() const { return m_cmdDown; }
    QPushButton *cmdApply() const { return m_cmdApply; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }
    QPushButton *cmdOK() const { return m_cmdOK; }
    QGroupBox *fraInfo() const { return m_fraInfo; }
    QGroupBox *fraLoop() const { return m_fraLoop; }
    QLineEdit *txtTitle() const { return m_txtTitle; }
    QLineEdit *txtAuthor() const { return m_txtAuthor; }
    QLineEdit *txtCopyright() const { return m_txtCopyright; }
    QPlainTextEdit *txtDescription() const { return m_txtDescription; }
    QLineEdit *txtFileName() const { return m_txtFileName; }
    QLineEdit *txtNumber() const { return m_txtNumber; }
    QLineEdit *txtLoop() const { return m_txtLoop; }
    QCheckBox *chkDoPlay() const { return m_chkDoPlay; }
    QCheckBox *chkRepeat() const { return m_chkRepeat; }
    QComboBox *comFiletype() const { return m_comFiletype; }
    QPlainTextEdit *txtAttention() const { return m_txtAttention; }

    // Shows the fields of the list's selected records and remembers them
    // for Apply (what a click on one of its lines does).
    void ShowSelection(QListWidget *list);
    // Writes the edited fields into the remembered records.
    void ApplyFields();

private:
    void buildLayout();
    QWidget *buildLists();
    QGroupBox *buildInfo();
    void fillFrom();
    void connectControls();
    void showFields(const playlist::ShownFields &fields);
    void refreshLineTexts(QListWidget *list);
    void moveLines(bool (*operation)(QList<playlist::EditorLine> &, int), int distance);
    void cmdTo_Click();
    void cmdBack_Click();
    void cmdOK_Click();

    playlist::lstPlayList &m_view;
    QList<int> m_records; // of the list last clicked, for Apply
    QString m_shownDescription;
    bool m_listClicked = false;
    bool m_showingLines = false;

    QListWidget *m_lstFrom = nullptr;
    QListWidget *m_lstTo = nullptr;
    QPushButton *m_cmdTo = nullptr;
    QPushButton *m_cmdBack = nullptr;
    QPushButton *m_cmdUp = nullptr;
    QPushButton *m_cmdDown = nullptr;
    QGroupBox *m_fraInfo = nullptr;
    QGroupBox *m_fraLoop = nullptr;
    QLineEdit *m_txtTitle = nullptr;
    QLineEdit *m_txtAuthor = nullptr;
    QLineEdit *m_txtCopyright = nullptr;
    QPlainTextEdit *m_txtDescription = nullptr;
    QLineEdit *m_txtFileName = nullptr;
    QLineEdit *m_txtNumber = nullptr;
    QLineEdit *m_txtLoop = nullptr;
    QCheckBox *m_chkDoPlay = nullptr;
    QCheckBox *m_chkRepeat = nullptr;
    QComboBox *m_comFiletype = nullptr;
    QPlainTextEdit *m_txtAttention = nullptr;
    QPushButton *m_cmdApply = nullptr;
    QPushButton *m_cmdCancel = nullptr;
    QPushButton *m_cmdOK = nullptr;
};

} // namespace orvane::ui
