// Settings and language files are read from disk as they are: any bytes
// must parse, answer lookups and survive a write without losing lines.
#include "core/inifile.h"
#include "core/textcodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace orvane::core;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = decodeText(bytes).text;
    IniDocument doc = IniDocument::parse(text);
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QString section = lines.value(0).trimmed().mid(1, 20);
    const QString key = lines.value(1).section(QLatin1Char('='), 0, 0);
    (void)doc.value(section, key);
    (void)iniValueFromText<qint16>(doc.value(section, key).value_or(QString()));
    (void)iniValueFromText<bool>(doc.value(section, key).value_or(QString()));

    const qsizetype before = doc.toText().count(QLatin1Char('\n'));
    if (doc.setValue(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("v"))) {
        const IniDocument again = IniDocument::parse(doc.toText());
        if (again.value(QStringLiteral("Fuzz"), QStringLiteral("Key")).value_or(QString()) !=
                QStringLiteral("v") &&
            !doc.value(QStringLiteral("Fuzz"), QStringLiteral("Key")))
            std::abort();
        // A write adds at most a section line and a key line.
        if (doc.toText().count(QLatin1Char('\n')) > before + 2)
            std::abort();
    }
    return 0;
}
