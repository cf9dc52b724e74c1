#include "ui/main/droppedlocations.h"

#include <QMimeData>
#include <QStringList>
#include <QUrl>

namespace orvane::ui {

namespace {

QString locationOf(const QUrl &url)
{
    // Web URLs stay exactly as sent: decoding "%20" or "%23" would make
    // another URL of them.
    if (!url.isLocalFile())
        return url.toString(QUrl::FullyEncoded);
    // A name some programs send unencoded ("file:///m/track #2.wav") is
    // read with a query and a fragment, which a file has not.
    QString path = url.toLocalFile();
    if (url.hasQuery())
        path += u'?' + url.query(QUrl::FullyDecoded);
    if (url.hasFragment())
        path += u'#' + url.fragment(QUrl::FullyDecoded);
    return path;
}

} // namespace

QString DroppedLocationList(const QMimeData &data)
{
    QStringList names;
    for (const QUrl &url : data.urls())
        names.append(locationOf(url));
    return names.join(QLatin1Char('|'));
}

} // namespace orvane::ui
