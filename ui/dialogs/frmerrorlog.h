#pragma once

#include "adding/progress.h"

#include <QDialog>

class QTextEdit;
class QPushButton;
class QTreeWidget;

namespace orvane::ui {

// Lists the locations that could not be added, below an explanation.
class frmErrorLog final : public QDialog, public adding::FailureList
{
    Q_OBJECT
public:
    explicit frmErrorLog(QWidget *parent = nullptr);
    ~frmErrorLog() override;

    void clearItems() override;
    void addItem(const QString &key, const QString &text) override;
    void showModal() override;

    QTreeWidget *lstErrorLog() const { return m_lstErrorLog; }
    QTextEdit *txtDescription() const { return m_txtDescription; }
    QPushButton *cmdOK() const { return m_cmdOK; }

private:
    QTreeWidget *m_lstErrorLog = nullptr;
    QTextEdit *m_txtDescription = nullptr;
    QPushButton *m_cmdOK = nullptr;
};

} // namespace orvane::ui
