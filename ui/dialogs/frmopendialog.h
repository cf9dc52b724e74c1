#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane::ui {

class CommonDialog;

// The flag sum of the file-open dialog for media: explorer style, file and
// path must exist, several files, no read-only box.
inline constexpr qint32 kOpenMediaFlags = 0x81A04;

// The filter of the file-open dialog for media, from the filters start-up
// prepared: all media and playlists together (shown first), the playlists,
// each engine's types, and every file.
QString OpenDialogPatternList();

// The playlist types other programs write that adding media reads.
inline const QString kForeignPlayListFilter = QStringLiteral("*.m3u;*.m3u8;*.ram;*.asx");

// Lets the user choose files, an audio CD drive or a Video CD drive and
// hands the resulting location text to the caller's adding of media.
class frmOpenDialog final : public QDialog
{
    Q_OBJECT
public:
    // Called once with the location text when the user opens it; the
    // main window passes its AddMedia call with its engines and view.
    using AddMediaCall = std::function<void(const QString &locations)>;

    frmOpenDialog(CommonDialog &comDialog, AddMediaCall addMedia, QWidget *parent = nullptr);
    ~frmOpenDialog() override;

    // 1 from the open command, 2 from the add command. The file-open
    // dialog starts on all media for both: starting on one kind hid the
    // files a user came for.
    qint16 OpenMode = 1;

    QLabel *lblMode() const { return m_lblMode; }
    QComboBox *comMode() const { return m_comMode; }
    QLabel *lblPath() const { return m_lblPath; }
    QLineEdit *txtPath() const { return m_txtPath; }
    QPushButton *cmdDialog() const { return m_cmdDialog; }
    QPushButton *cmdFolder() const { return m_cmdFolder; }
    QLabel *lblDrive() const { return m_lblDrive; }
    QComboBox *comDrive() const { return m_comDrive; }
    QPushButton *cmdOpen() const { return m_cmdOpen; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }

private:
    void buildControls();
    void setCaptions();
    void fillDrives();
    QString discLocation() const;

    void comMode_Click();
    void comDrive_Click();
    void cmdDialog_Click();
    void cmdFolder_Click();
    void openLocations(const QString &locations);
    void cmdOpen_Click();
    void cmdCancel_Click();

    CommonDialog &m_comDialog;
    AddMediaCall m_addMedia;
    bool m_opening = false;

    QLabel *m_lblMode = nullptr;
    QComboBox *m_comMode = nullptr;
    QLabel *m_lblPath = nullptr;
    QLineEdit *m_txtPath = nullptr;
    QPushButton *m_cmdDialog = nullptr;
    QPushButton *m_cmdFolder = nullptr;
    QLabel *m_lblDrive = nullptr;
    QComboBox *m_comDrive = nullptr;
    QPushButton *m_cmdOpen = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};

} // namespace orvane::ui
