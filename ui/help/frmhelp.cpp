#include "ui/help/frmhelp.h"

#include "core/language.h"

#include <QAction>
#include <QDesktopServices>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace orvane::ui {

namespace {

QString helpText(const char *key)
{
    return core::GetText(QStringLiteral("Help"), QString::fromLatin1(key));
}

constexpr int kUrlRole = Qt::UserRole + 1;

} // namespace

HelpBrowser::HelpBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    // Links are followed by hand: one leaving the help must not be
    // fetched as a page of it.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (!m_source || name.scheme() != kHelpScheme)
        return {};
    const QByteArray bytes = m_source->read(name);
    if (bytes.isEmpty() && type == QTextDocument::HtmlResource)
        return QStringLiteral("<html><body><p>%1</p></body></html>")
            .arg(helpText("NotFound").toHtmlEscaped());
    return bytes;
}

void HelpBrowser::followLink(const QUrl &url)
{
    if (url.scheme() == kHelpScheme) {
        setSource(url);
        return;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(url);
}

frmHelp::frmHelp(std::unique_ptr<HelpSource> source, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_source(std::move(source))
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto *toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString());
    m_forward = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString());
    m_home = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString());
    m_back->setShortcut(QKeySequence::Back);
    m_forward->setShortcut(QKeySequence::Forward);

    auto *splitter = new QSplitter(this);
    auto *side = new QWidget(splitter);
    m_txtSearch = new QLineEdit(side);
    m_txtSearch->setClearButtonEnabled(true);
    m_lstContents = new QListWidget(side);
    // Long titles wrap rather than hide behind a scroll bar.
    m_lstContents->setWordWrap(true);
    m_lstContents->setTextElideMode(Qt::ElideNone);
    m_lstContents->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lstContents->setResizeMode(QListView::Adjust);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(m_txtSearch);
    sideLayout->addWidget(m_lstContents, 1);
    m_browser = new HelpBrowser(splitter);
    m_browser->setHelpSource(m_source.get());
    splitter->addWidget(side);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 560});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(splitter, 1);
    resize(820, 600);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, &frmHelp::showDefaultTopic);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(helpText("Caption") + QStringLiteral(" - ") + m_browser->documentTitle());
    });
    connect(m_txtSearch, &QLineEdit::textChanged, this, &frmHelp::search);
    connect(m_lstContents, &QListWidget::itemActivated, this, &frmHelp::contentsClicked);
    connect(m_lstContents, &QListWidget::itemClicked, this, &frmHelp::contentsClicked);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    applyTexts();
    showContents();
}

frmHelp::~frmHelp() = default;

void frmHelp::applyTexts()
{
    setWindowTitle(helpText("Caption"));
    m_back->setText(helpText("Back"));
    m_forward->setText(helpText("Forward"));
    m_home->setText(helpText("Home"));
    m_txtSearch->setPlaceholderText(helpText("Search"));
}

void frmHelp::showTopic(const QUrl &url)
{
    m_browser->setSource(url, QTextDocument::HtmlResource);
}

void frmHelp::showDefaultTopic()
{
    if (m_source)
        showTopic(m_source->defaultTopic());
    else
        m_browser->setHtml(QStringLiteral("<p>%1</p>").arg(helpText("NotFound").toHtmlEscaped()));
}

void frmHelp::showContents()
{
    m_lstContents->clear();
    if (!m_source)
        return;
    for (const HelpTopic &topic : m_source->contents()) {
        auto *item = new QListWidgetItem(topic.title, m_lstContents);
        item->setData(kUrlRole, topic.url);
    }
}

void frmHelp::contentsClicked(QListWidgetItem *item)
{
    if (item && item->data(kUrlRole).isValid())
        showTopic(item->data(kUrlRole).toUrl());
}

QString frmHelp::plainTextOf(const QUrl &url)
{
    auto it = m_plainTexts.find(url);
    if (it == m_plainTexts.end()) {
        QTextDocument document;
        document.setHtml(QString::fromUtf8(m_source->read(url)));
        it = m_plainTexts.insert(url, document.toPlainText());
    }
    return *it;
}

void frmHelp::search(const QString &text)
{
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || !m_source) {
        showContents();
        return;
    }
    m_lstContents->clear();
    for (const QUrl &url : m_source->pages()) {
        const QString plain = plainTextOf(url);
        const bool all = std::all_of(words.cbegin(), words.cend(), [&](const QString &word) {
            return plain.contains(word, Qt::CaseInsensitive);
        });
        if (all) {
            auto *item =
                new QListWidgetItem(pageTitle(m_source->read(url), url.fileName()), m_lstContents);
            item->setData(kUrlRole, url);
        }
    }
    if (m_lstContents->count() == 0) {
        auto *item = new QListWidgetItem(helpText("NoMatch"), m_lstContents);
        item->setFlags(Qt::NoItemFlags);
    }
}

} // namespace orvane::ui
