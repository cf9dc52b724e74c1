#include "ui/dialogs/frmabout.h"

#include "core/language.h"
#include "core/messagebox.h"
#include "ui/main/artwork.h"
#include "ui/toolkit/placenearcursor.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#ifndef ORVANE_VERSION_MAJOR
#define ORVANE_VERSION_MAJOR 0
#define ORVANE_VERSION_MINOR 0
#define ORVANE_VERSION_PATCH 0
#endif

namespace orvane::ui {

namespace {

QString aboutText(const char *key)
{
    return core::GetText(QStringLiteral("About"), QString::fromLatin1(key));
}

} // namespace

QString aboutVersionText(int major, int minor, int revision)
{
    return aboutText("Version") + u' ' + QString::number(major) + u'.' + QString::number(minor) +
           u'.' + QString::number(revision) + u' ' + aboutText("Update") + u' ';
}

QString aboutSystemText(const core::OSInfo &info)
{
    return aboutText("OperatingSystem") + u'\n' + info.OSName + u' ' + info.Edition + u'\n' +
           QString(10, u' ') + QString::number(info.MajorVersion) + u'.' +
           QString::number(info.MinorVersion) + u'.' + QString::number(info.BuildNumber);
}

QStringList systemInformationPrograms()
{
    return {QStringLiteral("hardinfo2"),
            QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("mate-system-monitor"),
            QStringLiteral("lxtask")};
}

QString findSystemInformationProgram(const QStringList &programs, const QStringList &folders)
{
    for (const QString &program : programs) {
        const QString found = QStandardPaths::findExecutable(program, folders);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    m_imgLogo = new QLabel(this);
    m_lblVersion = new QLabel(this);
    m_lblVersionBack = new QLabel(this);
    m_lblCopy = new QLabel(this);
    m_lblWinVer = new QLabel(this);
    m_cmdOK = new QPushButton(this);
    m_cmdSysInfo = new QPushButton(this);
    m_cmdOK->setDefault(true);

    // The version stands out with a soft shadow: its copy drawn behind it,
    // one step down and right.
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_lblVersion->setFont(big);
    m_lblVersionBack->setFont(big);
    m_lblVersion->setContentsMargins(0, 0, 2, 2);
    m_lblVersionBack->setContentsMargins(2, 2, 0, 0);
    QPalette shadow = m_lblVersionBack->palette();
    shadow.setColor(QPalette::WindowText, shadow.color(QPalette::Mid));
    m_lblVersionBack->setPalette(shadow);
    m_lblVersionBack->setAccessibleName(QStringLiteral(" "));
    m_lblCopy->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblWinVer->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *texts = new QGridLayout;
    texts->addWidget(m_lblVersionBack, 0, 0);
    texts->addWidget(m_lblVersion, 0, 0);
    texts->addWidget(m_lblCopy, 1, 0);
    texts->addWidget(m_lblWinVer, 2, 0);
    texts->setRowStretch(3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdSysInfo);
    buttons->addWidget(m_cmdOK);
    auto *right = new QVBoxLayout;
    right->addLayout(texts, 1);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_imgLogo, 0, Qt::AlignTop);
    layout->addLayout(right, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    setWindowTitle(aboutText("Caption"));
    m_cmdOK->setText(aboutText("OK"));
    m_cmdSysInfo->setText(aboutText("System"));
    const QString version =
        aboutVersionText(ORVANE_VERSION_MAJOR, ORVANE_VERSION_MINOR, ORVANE_VERSION_PATCH);
    m_lblVersion->setText(version);
    m_lblVersionBack->setText(version);
    m_lblCopy->setText(kCopyrightLines);
    m_imgLogo->setPixmap(resourcePicture(kPictureAbout));
    m_imgLogo->setFixedSize(m_imgLogo->pixmap().deviceIndependentSize().toSize());
    m_lblWinVer->setText(aboutSystemText(core::GetOSInfo()));
    // The form is as tall as its logo, however the texts wrap.
    setMinimumHeight(m_imgLogo->height() + layout()->contentsMargins().top() +
                     layout()->contentsMargins().bottom());
    adjustSize();
    PlaceNearCursor(this);
}

void frmAbout::StartSysInfo()
{
    const QStringList folders =
        qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    const QString program = findSystemInformationProgram(systemInformationPrograms(), folders);
    if (!program.isEmpty() && QProcess::startDetached(program, {}))
        return;
    QString message = aboutText("NoSysInfo");
    if (message.isEmpty())
        message = QStringLiteral("現時点ではシステム情報を使用できません");
    core::messageBox().show(message, windowTitle(), core::MessageIcon::None,
                            core::MessageButtons::Ok);
}

} // namespace orvane::ui
