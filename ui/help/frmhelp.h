#pragma once

#include "ui/help/helpsource.h"

#include <QHash>
#include <QTextBrowser>
#include <QWidget>

#include <memory>

class QAction;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace orvane::ui {

// Shows the pages of one help source; links inside the source are
// followed here, those leaving it open in the desktop's browser.
class HelpBrowser final : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);
    void setHelpSource(const HelpSource *source) { m_source = source; }
    QVariant loadResource(int type, const QUrl &name) override;

private:
    void followLink(const QUrl &url);

    const HelpSource *m_source = nullptr;
};

// The help window: back, forward and the contents page above a contents
// list with a search field beside the page shown.
class frmHelp final : public QWidget
{
    Q_OBJECT
public:
    // Takes the source; nullptr shows that no help was found.
    frmHelp(std::unique_ptr<HelpSource> source, QWidget *parent = nullptr);
    ~frmHelp() override;

    void showTopic(const QUrl &url);
    void showDefaultTopic();
    // Lists the pages holding every word of the text; an empty text lists
    // the contents again.
    void search(const QString &text);

    HelpBrowser *browser() const { return m_browser; }
    QListWidget *lstContents() const { return m_lstContents; }
    QLineEdit *txtSearch() const { return m_txtSearch; }

private:
    void showContents();
    void contentsClicked(QListWidgetItem *item);
    QString plainTextOf(const QUrl &url);
    void applyTexts();

    std::unique_ptr<HelpSource> m_source;
    HelpBrowser *m_browser = nullptr;
    QListWidget *m_lstContents = nullptr;
    QLineEdit *m_txtSearch = nullptr;
    QAction *m_back = nullptr;
    QAction *m_forward = nullptr;
    QAction *m_home = nullptr;
    QHash<QUrl, QString> m_plainTexts;
};

} // namespace orvane::ui
