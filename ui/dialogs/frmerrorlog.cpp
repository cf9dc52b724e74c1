#include "ui/dialogs/frmerrorlog.h"

#include "core/language.h"
#include "ui/toolkit/placenearcursor.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtMath>

#include <memory>

namespace orvane::ui {

namespace {

QString errorLogText(const char *key)
{
    return core::GetText(QStringLiteral("ErrorLog"), QString::fromLatin1(key));
}

constexpr int kKeyRole = Qt::UserRole + 1;

// A read-only text box as tall as its wrapped text at the width it gets:
// a fixed number of lines cut translations off (a Japanese line is taller
// than one of the window's font, and translations run longer).
class DescriptionBox final : public QTextEdit
{
public:
    explicit DescriptionBox(QWidget *parent)
        : QTextEdit(parent)
    {
        setReadOnly(true);
        setAcceptRichText(false);
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    bool hasHeightForWidth() const override { return true; }

    int heightForWidth(int width) const override
    {
        const int frame = frameWidth() * 2;
        std::unique_ptr<QTextDocument> measure(document()->clone());
        measure->setTextWidth(qMax(1, width - frame));
        return qCeil(measure->size().height()) + frame;
    }

    QSize sizeHint() const override
    {
        const QSize hint = QTextEdit::sizeHint();
        return {hint.width(), heightForWidth(width() > 0 ? width() : hint.width())};
    }
};

} // namespace

frmErrorLog::frmErrorLog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Error Log"));
    m_txtDescription = new DescriptionBox(this);
    m_lstErrorLog = new QTreeWidget(this);
    m_lstErrorLog->setColumnCount(1);
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
    m_lstErrorLog->setHeaderLabels({errorLogText("hdrPath")});
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
