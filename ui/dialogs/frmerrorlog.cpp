#include "ui/dialogs/frmerrorlog.h"

#include "core/language.h"
#include "ui/toolkit/placenearcursor.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvane::ui {

namespace {

QString errorLogText(const char *key)
{
    return core::GetText(QStringLiteral("ErrorLog"), QString::fromLatin1(key));
}

constexpr int kKeyRole = Qt::UserRole + 1;

} // namespace

frmErrorLog::frmErrorLog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Error Log"));
    m_txtDescription = new QPlainTextEdit(this);
    m_txtDescription->setReadOnly(true);
    m_txtDescription->setFixedHeight(fontMetrics().lineSpacing() * 4);
    m_lstErrorLog = new QTreeWidget(this);
    m_lstErrorLog->setColumnCount(1);
    m_lstErrorLog->setHeaderLabels({QStringLiteral("File Path")});
    m_lstErrorLog->setRootIsDecorated(false);
    m_lstErrorLog->setUniformRowHeights(true);
    m_cmdOK = new QPushButton(this);
    m_cmdOK->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_txtDescription);
    layout->addWidget(m_lstErrorLog, 1);
    layout->addWidget(m_cmdOK, 0, Qt::AlignRight);
    resize(480, 320);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    setWindowTitle(errorLogText("Caption"));
    // One line of the language file may hold a several-line explanation.
    m_txtDescription->setPlainText(errorLogText("DescError").replace(u'|', QStringLiteral("\n")));
    m_cmdOK->setText(errorLogText("OK"));
    PlaceNearCursor(this);
}

frmErrorLog::~frmErrorLog() = default;

void frmErrorLog::clearItems()
{
    m_lstErrorLog->clear();
}

void frmErrorLog::addItem(const QString &key, const QString &text)
{
    auto *item = new QTreeWidgetItem(m_lstErrorLog, {text});
    item->setData(0, kKeyRole, key);
}

void frmErrorLog::showModal()
{
    exec();
}

} // namespace orvane::ui
