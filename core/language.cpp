#include "core/language.h"

#include "core/errorreporter.h"
#include "core/inifile.h"
#include "core/modmain.h"

#include <QFileInfo>

#include <array>

namespace orvane::core {

namespace {

struct CacheSlot {
    QString file;
    QString section;
    QString key;
    QString value;
};

// Ten slots filled in turn; lookups of status texts on every refresh hit
// here instead of the file.
std::array<CacheSlot, 10> g_slots;
qint16 g_nextSlot = 0;

} // namespace

QString GetText(const QString &section, const QString &key, const QString &file)
{
    if (modMain::LanguageFile.isEmpty() || section.isEmpty() || key.isEmpty())
        return {};
    const QString path = file.isEmpty() ? modMain::LanguageFile : file;
    for (const CacheSlot &slot : g_slots) {
        if (slot.file == path && slot.section == section && slot.key == key)
            return slot.value;
    }
    QString value;
    if (!IniReadWrite(section, key, value, path, false))
        return {};
    g_slots[size_t(g_nextSlot)] = {path, section, key, value};
    g_nextSlot = qint16((g_nextSlot + 1) % qint16(g_slots.size()));
    return value;
}

double leadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        ++i;
    bool dot = false;
    while (i < t.size()) {
        const QChar c = t.at(i);
        if (c == QLatin1Char('.') && !dot)
            dot = true;
        else if (!c.isDigit() || c.unicode() > 0x7F)
            break;
        ++i;
    }
    bool ok = false;
    const double d = t.left(i).toDouble(&ok);
    return ok ? d : 0.0;
}

bool CheckLanguageFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    // Hidden files count as missing, as a plain directory search skips them.
    if (!info.isFile() || info.fileName().startsWith(QLatin1Char('.')))
        return false;
    QString version;
    IniReadWrite(kLanguageHeaderSection, QStringLiteral("Version"), version, path, false);
    if (float(leadingNumber(version)) < kMinimumLanguageVersion) {
        ShowError(kErrorUnknown, kErrorCodeApplication,
                  path + QStringLiteral("\r\n言語設定ファイルでないか、\r\n") +
                      QStringLiteral("言語設定ファイルのバージョンが古いと思われます。"),
                  false, false);
        return false;
    }
    return true;
}

QPoint placeNearCursorPosition(QPoint cursor, QSize form, QSize screen)
{
    int x = cursor.x() - form.width() / 3;
    int y = cursor.y() - form.height() / 3;
    if (x + form.width() > screen.width())
        x = screen.width() - form.width();
    else if (x < 0)
        x = 0;
    if (y + form.height() > screen.height())
        y = screen.height() - form.height();
    else if (y < 0)
        y = 0;
    return {x, y};
}

} // namespace orvane::core
