#include "ui/main/frmnormal.h"

#include "core/commandline.h"
#include "core/language.h"
#include "core/logging.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "core/programpaths.h"
#include "core/screensaver.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>

namespace orvane::ui {

using namespace orvane::core;

frmNormal::frmNormal(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(kApplicationTitle);
    setObjectName(QStringLiteral("frmNormal"));
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picImageWindow"));
    picture->setStyleSheet(QStringLiteral("background: black; color: #d0d0d0;"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setText(kApplicationTitle);
    picture->setMinimumSize(377, 287); // 5655 x 4305 twips at 96 DPI
    setCentralWidget(picture);
}

void frmNormal::Form_Load()
{
    if (modMain::IsSecondInstance)
        return;
    QCoreApplication::processEvents();
    modMain::MainForm = this;
    m_settingsFile = settingsFile();
    statusBar()->showMessage(GetText(QStringLiteral("Status"), QStringLiteral("mesReady")));
    const QString command = NormalizeCommand(ownCommandLine());
    if (!command.isEmpty()) {
        modMain::PendingCommand.push(command);
        qCInfo(lcInstance).noquote() << "queued:" << command;
    }
}

void frmNormal::Form_QueryUnload()
{
    if (modMain::IsSecondInstance || m_unloaded)
        return;
    m_unloaded = true;
    modMain::QuitProcessing = true;
    modMain::ProcessingEnabled = false;
    RestoreScreenSaver(m_settingsFile);
    modMain::MainForm = nullptr;
}

void frmNormal::Form_LinkExecute(const QString &commandText, int &cancel)
{
    const QString normalised = NormalizeCommand(commandText);
    if (!normalised.isEmpty())
        modMain::PendingCommand.push(normalised);
    qCInfo(lcInstance).noquote() << "queued:" << normalised;
    cancel = 0;
}

void frmNormal::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept();
}

} // namespace orvane::ui
