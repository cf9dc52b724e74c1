// Whatever /etc/os-release holds, reading it never crashes and what it
// gives can be shown on one line.
#include "core/osinfo.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    static const QRegularExpression key(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    const QHash<QString, QString> values = orvane::core::parseOsRelease(text);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!key.match(it.key()).hasMatch())
            std::abort();
        for (const QChar c : it.value()) {
            if (c.category() == QChar::Other_Control || c == QChar::LineSeparator)
                std::abort();
        }
    }
    qint16 major = 0, minor = 0;
    qint32 build = 0;
    orvane::core::parseKernelRelease(QString::fromUtf8(text), major, minor, build);
    if (major < 0 || minor < 0 || build < 0 || build > 0xFFFF)
        std::abort();
    return 0;
}
