#include "ui/toolkit/modhtmlhelp.h"

#include "ui/help/frmhelp.h"

#include <QFileInfo>
#include <QHash>
#include <QPointer>

namespace orvane::ui::toolkit {

namespace {

QHash<QString, QPointer<frmHelp>> &viewers()
{
    static QHash<QString, QPointer<frmHelp>> open;
    return open;
}

std::unique_ptr<HelpSource> sourceFor(const QString &helpFile)
{
    if (QFileInfo(helpFile).isFile()) {
        if (std::unique_ptr<HelpSource> chm = chmSource(helpFile))
            return chm;
    }
    const QString manual = manualFolder();
    return manual.isEmpty() ? nullptr : manualSource(manual);
}

} // namespace

QString helpFileIn(const QString &folder)
{
    const QString file = QStringLiteral("ovHelp.chm");
    if (folder.isEmpty() || folder.endsWith(u'/'))
        return folder + file;
    return folder + u'/' + file;
}

QString helpTarget(const QString &helpFile, const QString &windowType)
{
    if (helpFile.isEmpty())
        return {};
    return windowType.isEmpty() ? helpFile : helpFile + u'>' + windowType;
}

void HelpInitialize(QWidget *)
{
    viewers().clear();
}

void HelpUninitialize(QWidget *)
{
    const QList<QPointer<frmHelp>> open = viewers().values();
    viewers().clear();
    for (const QPointer<frmHelp> &viewer : open) {
        if (viewer)
            viewer->close();
    }
}

frmHelp *OpenHelp(QWidget *window, const QString &helpFile, const QString &windowType, int context)
{
    const QString target = helpTarget(helpFile, windowType);
    if (target.isEmpty())
        return nullptr;
    Q_UNUSED(context);
    QPointer<frmHelp> &viewer = viewers()[target];
    if (!viewer) {
        viewer = new frmHelp(sourceFor(helpFile), window);
        viewer->setObjectName(windowType.isEmpty() ? QStringLiteral("help") : windowType);
    }
    viewer->showDefaultTopic();
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace orvane::ui::toolkit
