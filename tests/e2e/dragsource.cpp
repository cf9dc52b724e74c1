// A window to drag files from, as a file manager offers them: a press on
// it starts a drag of the files named on the command line (text/uri-list).
// It stays until it is ended: the target asks for the data after the drop.
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <cstdio>

namespace {

class DragSource final : public QLabel
{
public:
    explicit DragSource(QList<QUrl> urls)
        : QLabel(QStringLiteral("Drag these files"))
        , m_urls(std::move(urls))
    {
        setWindowTitle(QStringLiteral("Drag source"));
        setAlignment(Qt::AlignCenter);
        resize(240, 120);
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        auto *drag = new QDrag(this);
        auto *offered = new QMimeData;
        offered->setUrls(m_urls);
        drag->setMimeData(offered);
        const Qt::DropAction done = drag->exec(Qt::CopyAction);
        std::printf("drag ended: %s\n", done == Qt::CopyAction ? "copied" : "not taken");
        std::fflush(stdout);
    }

private:
    QList<QUrl> m_urls;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (const QString &name : app.arguments().mid(1))
        urls << QUrl::fromLocalFile(name);
    DragSource source(urls);
    source.move(800, 500);
    source.show();
    return app.exec();
}
