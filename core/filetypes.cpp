#include "core/filetypes.h"

namespace orvane::core {

QString filterFromFileTypes(const QString &fileTypes)
{
    QString filter = fileTypes;
    return filter.replace(QLatin1Char('.'), QStringLiteral("*."));
}

} // namespace orvane::core
