#include "ui/dialogs/frmenginereport.h"

#include "core/language.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace orvane::ui {

namespace {

// Rows carry what the engine read from the media (titles, authors, names):
// markup in them is shown as written.
QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmEngineReport::frmEngineReport(const playback::EngineReport &report, QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmEngineReport"));
    setWindowTitle(report.title);
    auto *layout = new QVBoxLayout(this);
    auto *rows = new QFormLayout;
    for (const auto &[label, value] : report.rows) {
        auto *text = plainLabel(value, this);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->setWordWrap(true);
        m_values.append(text);
        if (label.isEmpty())
            rows->addRow(text);
        else
            rows->addRow(plainLabel(label + QLatin1Char(':'), this), text);
    }
    layout->addLayout(rows);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    const QString ok = core::GetText(QStringLiteral("Option"), QStringLiteral("OK"));
    if (!ok.isEmpty())
        buttons->button(QDialogButtonBox::Ok)->setText(ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

void frmEngineReport::followSource(Source source)
{
    m_source = std::move(source);
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &frmEngineReport::refresh);
    timer->start(1000);
}

void frmEngineReport::refresh()
{
    const playback::EngineReport report = m_source();
    // Rows that come and go would make the dialog jump: only values of the
    // same rows are renewed.
    if (report.rows.size() != m_values.size())
        return;
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (m_values[i]->text() != report.rows[i].second)
            m_values[i]->setText(report.rows[i].second);
    }
}

playback::EngineReport frmEngineReport::fromText(const QString &title, const QString &text)
{
    playback::EngineReport report{title, {}};
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon > 0)
            report.rows.append({line.left(colon), line.mid(colon + 2)});
        else
            report.rows.append({QString(), line});
    }
    return report;
}

} // namespace orvane::ui
