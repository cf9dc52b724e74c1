#include "ui/dialogs/frmopendialog.h"

#include "core/drives.h"
#include "core/filetypes.h"
#include "core/language.h"
#include "core/modmain.h"
#include "playlist/locationlist.h"
#include "ui/dialogs/browsefolder.h"
#include "ui/toolkit/commondialog.h"
#include "ui/toolkit/placenearcursor.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane::ui {

namespace {

enum ModeItem { kModeFile = 0, kModeAudioCd = 1, kModeVideoCd = 2 };

QString openDialogText(const char *key)
{
    return core::GetText(QStringLiteral("OpenDialog"), QString::fromLatin1(key));
}

// Start-up builds the filters after the main window shows; a dialog opened
// before that still offers the built-in types.
QString filterOr(const QString &filter, const QString &fileTypes)
{
    return filter.isEmpty() ? core::filterFromFileTypes(fileTypes) : filter;
}

} // namespace

QString OpenDialogPatternList()
{
    using namespace core;
    const QString playList = filterOr(modMain::PlayListFilter, QStringLiteral(".ovl"));
    const QString wmp =
        filterOr(modMain::WmpFilter,
                 modMain::WmpFileTypes.isEmpty() ? kBuiltinWmpFileTypes : modMain::WmpFileTypes);
    const QString real =
        filterOr(modMain::RealFilter,
                 modMain::RealFileTypes.isEmpty() ? kBuiltinRealFileTypes : modMain::RealFileTypes);
    const QString playLists = playList + u';' + kForeignPlayListFilter;
    return QStringLiteral("All Media|") + playLists + u';' + wmp + u';' + real + u'|' +
           openDialogText("PlayListsFilter") + u'|' + playLists +
           QStringLiteral("|Windows Media Player|") + wmp + QStringLiteral("|RealPlayer|") + real +
           u'|' + openDialogText("AllFilesFilter") + QStringLiteral("|*");
}

frmOpenDialog::frmOpenDialog(CommonDialog &comDialog, AddMediaCall addMedia, QWidget *parent)
    : QDialog(parent)
    , m_comDialog(comDialog)
    , m_addMedia(std::move(addMedia))
{
    buildControls();
    setCaptions();
    comMode_Click();
    fillDrives();
    m_lblDrive->setEnabled(false);
    m_comDrive->setEnabled(false);
    m_txtPath->clear();
    // Files are the usual choice: a path can be typed or pasted at once.
    m_txtPath->setFocus();

    connect(m_comMode, &QComboBox::currentIndexChanged, this, [this] { comMode_Click(); });
    connect(m_comDrive, &QComboBox::currentIndexChanged, this, [this] { comDrive_Click(); });
    connect(m_cmdDialog, &QPushButton::clicked, this, [this] { cmdDialog_Click(); });
    connect(m_cmdFolder, &QPushButton::clicked, this, [this] { cmdFolder_Click(); });
    connect(m_cmdOpen, &QPushButton::clicked, this, [this] { cmdOpen_Click(); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    adjustSize();
    PlaceNearCursor(this);
}

frmOpenDialog::~frmOpenDialog() = default;

void frmOpenDialog::buildControls()
{
    auto named = [this](auto *widget, const char *name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    m_lblMode = named(new QLabel(this), "lblMode");
    m_comMode = named(new QComboBox(this), "comMode");
    m_lblPath = named(new QLabel(this), "lblPath");
    m_txtPath = named(new QLineEdit(this), "txtPath");
    m_cmdDialog = named(new QPushButton(this), "cmdDialog");
    m_cmdFolder = named(new QPushButton(this), "cmdFolder");
    m_lblDrive = named(new QLabel(this), "lblDrive");
    m_comDrive = named(new QComboBox(this), "comDrive");
    m_cmdOpen = named(new QPushButton(this), "cmdOpen");
    m_cmdCancel = named(new QPushButton(this), "cmdCancel");
    m_lblMode->setBuddy(m_comMode);
    m_lblPath->setBuddy(m_txtPath);
    m_lblDrive->setBuddy(m_comDrive);
    m_txtPath->setMinimumWidth(320);
    m_cmdOpen->setDefault(true);
    m_cmdDialog->setAutoDefault(false);
    m_cmdFolder->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(m_lblMode, 0, 0);
    grid->addWidget(m_comMode, 0, 1, 1, 2);
    grid->addWidget(m_lblPath, 1, 0);
    grid->addWidget(m_txtPath, 1, 1);
    grid->addWidget(m_cmdDialog, 1, 2);
    grid->addWidget(m_lblDrive, 2, 0);
    grid->addWidget(m_comDrive, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdFolder);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOpen);
    buttons->addWidget(m_cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmOpenDialog::setCaptions()
{
    setWindowTitle(openDialogText("Caption"));
    m_lblMode->setText(openDialogText("Mode"));
    m_lblPath->setText(openDialogText("Path"));
    m_cmdDialog->setText(openDialogText("View"));
    m_cmdFolder->setText(openDialogText("Folder"));
    m_lblDrive->setText(openDialogText("Drive"));
    m_cmdOpen->setText(openDialogText("Open"));
    m_cmdCancel->setText(openDialogText("Cancel"));
    m_comMode->addItems({openDialogText("mFile"), openDialogText("mCDA"), openDialogText("mVCD")});
    m_comMode->setCurrentIndex(kModeFile);
}

void frmOpenDialog::fillDrives()
{
    QList<core::DriveTable::Drive> drives = core::currentDriveTable().drives();
    std::sort(drives.begin(), drives.end(),
              [](const auto &a, const auto &b) { return a.letter < b.letter; });
    // The letter alone says little on Linux: the device, image or folder
    // behind it tells the drives apart.
    for (const core::DriveTable::Drive &drive : drives)
        m_comDrive->addItem(drive.letter + QStringLiteral("  ") + drive.target, drive.letter);
    if (!drives.isEmpty())
        m_comDrive->setCurrentIndex(0);
}

QString frmOpenDialog::discLocation() const
{
    if (m_comDrive->currentIndex() < 0)
        return {};
    const QString prefix = m_comMode->currentIndex() == kModeAudioCd ? QStringLiteral("AudioCD://")
                                                                     : QStringLiteral("VideoCD://");
    return prefix + m_comDrive->currentData().toString();
}

void frmOpenDialog::comMode_Click()
{
    const int mode = m_comMode->currentIndex();
    if (mode != kModeFile && mode != kModeAudioCd && mode != kModeVideoCd)
        return;
    const bool files = mode == kModeFile;
    m_lblPath->setEnabled(files);
    m_txtPath->setEnabled(files);
    m_cmdDialog->setEnabled(files);
    m_cmdFolder->setEnabled(files);
    m_lblDrive->setEnabled(!files);
    m_comDrive->setEnabled(!files);
    // A disc mode without a drive must not keep a path typed for files:
    // Open would add that instead of a disc.
    m_txtPath->setText(files ? QString() : discLocation());
}

void frmOpenDialog::comDrive_Click()
{
    if (m_comMode->currentIndex() == kModeFile)
        return; // the drive list is off; a path typed for files stays
    if (m_comDrive->currentIndex() >= 0)
        m_txtPath->setText(discLocation());
}

void frmOpenDialog::cmdDialog_Click()
{
    const auto folder =
        BrowseFolder(m_txtPath->text(), [](const QString &f) { return QFileInfo(f).isDir(); });
    if (!folder)
        return;
    m_comDialog.CancelError = false;
    m_comDialog.DialogTitle = openDialogText("OpenFileDlg");
    m_comDialog.FileName.clear();
    m_comDialog.Filter = OpenDialogPatternList();
    m_comDialog.FilterIndex = 1;
    m_comDialog.Flags = kOpenMediaFlags;
    m_comDialog.InitDir = *folder;
    m_comDialog.ShowOpen(this);
    m_txtPath->setText(QString(m_comDialog.FileName).replace(QChar(0), u'|'));
}

// The file-open dialog cannot hand back a folder (opening one enters it),
// so a folder has a chooser of its own; adding takes a folder's media.
void frmOpenDialog::cmdFolder_Click()
{
    if (m_opening)
        return;
    const auto start =
        BrowseFolder(m_txtPath->text(), [](const QString &f) { return QFileInfo(f).isDir(); });
    m_comDialog.CancelError = false;
    m_comDialog.DialogTitle = openDialogText("FolderDlg");
    m_comDialog.FileName.clear();
    m_comDialog.InitDir = start.value_or(QString());
    m_comDialog.ShowFolder(this);
    QString folder = m_comDialog.FileName;
    if (folder.isEmpty())
        return;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    openLocations(folder);
}

void frmOpenDialog::cmdOpen_Click()
{
    if (m_txtPath->text().isEmpty())
        return;
    // A typed name means a file where the user is, not where the running
    // instance happened to be started; "~" as a shell would read it.
    openLocations(
        playlist::TypedLocationList(m_txtPath->text(), QDir::currentPath(), QDir::homePath()));
}

void frmOpenDialog::openLocations(const QString &locations)
{
    // A second click that arrives while the first one's adding lets events
    // run must not add the same media again.
    if (m_opening)
        return;
    m_opening = true;
    hide();
    QCoreApplication::processEvents();
    if (m_addMedia)
        m_addMedia(locations);
    accept();
}

void frmOpenDialog::cmdCancel_Click()
{
    reject();
}

} // namespace orvane::ui
