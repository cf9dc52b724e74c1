#include "core/inifile.h"

#include "core/atomicfile.h"
#include "core/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>
#include <sys/stat.h>

namespace orvane::core {

// --- document -------------------------------------------------------------

IniDocument::Line IniDocument::parseLine(const QString &text)
{
    Line line{text, Kind::Other, {}, {}};
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1Char('['))) {
        const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
        line.kind = Kind::Section;
        line.name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
        return line;
    }
    if (trimmed.startsWith(QLatin1Char(';')))
        return line;
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq > 0) {
        line.kind = Kind::Key;
        line.name = text.left(eq).trimmed();
        line.value = text.mid(eq + 1).trimmed();
        if (line.name.isEmpty())
            line.kind = Kind::Other;
    }
    return line;
}

IniDocument IniDocument::parse(const QString &text)
{
    IniDocument doc;
    if (!text.contains(QStringLiteral("\r\n")) && text.contains(QLatin1Char('\n')))
        doc.m_lineEnd = QStringLiteral("\n");
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = n;
        qsizetype lineEnd = end;
        if (lineEnd > start && text.at(lineEnd - 1) == QLatin1Char('\r'))
            --lineEnd;
        doc.m_lines.append(parseLine(text.mid(start, lineEnd - start)));
        start = end + 1;
    }
    return doc;
}

qsizetype IniDocument::findSection(const QString &section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines.at(i);
        if (line.kind == Kind::Section && line.name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype sectionLine) const
{
    qsizetype i = sectionLine + 1;
    while (i < m_lines.size() && m_lines.at(i).kind != Kind::Section)
        ++i;
    return i;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const QString wantedKey = key.trimmed();
    const qsizetype s = findSection(section.trimmed());
    if (s < 0)
        return std::nullopt;
    const qsizetype end = sectionEnd(s);
    for (qsizetype i = s + 1; i < end; ++i) {
        const Line &line = m_lines.at(i);
        if (line.kind == Kind::Key && line.name.compare(wantedKey, Qt::CaseInsensitive) == 0)
            return line.value;
    }
    return std::nullopt;
}

bool IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString sec = section.trimmed();
    const QString k = key.trimmed();
    const auto hasBreak = [](const QString &s) {
        return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
    };
    if (sec.isEmpty() || k.isEmpty() || hasBreak(sec) || hasBreak(k) || hasBreak(value) ||
        k.contains(QLatin1Char('=')) || sec.contains(QLatin1Char(']')) ||
        k.startsWith(QLatin1Char('[')) || k.startsWith(QLatin1Char(';')))
        return false;
    const QString v = value.trimmed();

    qsizetype s = findSection(sec);
    if (s < 0) {
        m_lines.append(parseLine(QLatin1Char('[') + sec + QLatin1Char(']')));
        m_lines.append(parseLine(k + QLatin1Char('=') + v));
        return true;
    }
    const qsizetype end = sectionEnd(s);
    qsizetype lastContent = s;
    for (qsizetype i = s + 1; i < end; ++i) {
        Line &line = m_lines[i];
        if (line.kind == Kind::Key && line.name.compare(k, Qt::CaseInsensitive) == 0) {
            line = parseLine(line.name + QLatin1Char('=') + v);
            return true;
        }
        if (!line.text.trimmed().isEmpty())
            lastContent = i;
    }
    // New keys go behind the section's last line, before blank lines that
    // separate it from the next section.
    m_lines.insert(lastContent + 1, parseLine(k + QLatin1Char('=') + v));
    return true;
}

QString IniDocument::toText() const
{
    QString out;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        out += m_lines.at(i).text;
        out += m_lineEnd;
    }
    return out;
}

} // namespace orvane::core

// --- files ------------------------------------------------------------------

namespace orvane::core {

namespace {

// Parsed files, checked against the file's identity and change time on
// every use, so a file changed behind our back is read again. Start-up and
// the menus ask for hundreds of keys; this keeps that to one read a file.
struct FileStamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};

    bool operator==(const FileStamp &o) const
    {
        return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size &&
               mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec &&
               ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

FileStamp stampOf(const QString &file)
{
    FileStamp stamp;
    struct stat st {
    };
    if (::stat(QFile::encodeName(file).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        stamp = {true, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    }
    return stamp;
}

struct CachedFile {
    FileStamp stamp;
    IniDocument doc;
    TextEncoding encoding = TextEncoding::Utf8;
};

constexpr qsizetype kCachedFiles = 8;

QList<std::pair<QString, CachedFile>> &fileCache()
{
    static QList<std::pair<QString, CachedFile>> cache;
    return cache;
}

const CachedFile &loadFile(const QString &file)
{
    auto &cache = fileCache();
    const FileStamp stamp = stampOf(file);
    for (qsizetype i = 0; i < cache.size(); ++i) {
        if (cache.at(i).first == file) {
            if (cache.at(i).second.stamp == stamp)
                return cache.at(i).second;
            cache.removeAt(i);
            break;
        }
    }
    CachedFile entry;
    entry.stamp = stamp;
    if (stamp.exists) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly)) {
            const DecodedText decoded = decodeText(f.readAll());
            entry.doc = IniDocument::parse(decoded.text);
            entry.encoding = decoded.encoding;
        }
    }
    if (cache.size() >= kCachedFiles)
        cache.removeFirst();
    cache.append({file, std::move(entry)});
    return cache.last().second;
}

void forgetFile(const QString &file)
{
    auto &cache = fileCache();
    for (qsizetype i = 0; i < cache.size(); ++i) {
        if (cache.at(i).first == file) {
            cache.removeAt(i);
            return;
        }
    }
}

QString cutValue(const QString &value)
{
    if (value.size() <= kIniMaxValueLength)
        return value;
    qsizetype n = kIniMaxValueLength;
    // Never split a surrogate pair.
    if (value.at(n - 1).isHighSurrogate())
        --n;
    return value.left(n);
}

// Whole numbers accept a decimal text and round it half to even, as the
// Windows program's conversions did.
template <typename Int> std::optional<Int> intFromText(const QString &text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    const double r = std::nearbyint(d);
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return Int(r);
}

bool writeValue(const QString &section, const QString &key, const QString &text,
                const QString &file)
{
    const CachedFile &cached = loadFile(file);
    IniDocument doc = cached.doc;
    const TextEncoding previous = cached.stamp.exists ? cached.encoding : TextEncoding::Utf8;
    if (!doc.setValue(section, key, text))
        return false;
    const QString out = doc.toText();
    // A file of the Windows program stays CP932 as long as it can.
    QByteArray bytes;
    if (previous == TextEncoding::Cp932)
        bytes = encodePreferCp932(out);
    else
        bytes = out.toUtf8();
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    forgetFile(file);
    return writeFileAtomically(file, bytes);
}

} // namespace

template <IniValueType T> std::optional<T> iniValueFromText(const QString &text)
{
    if constexpr (std::same_as<T, QString>) {
        return text;
    } else if constexpr (std::same_as<T, bool>) {
        const QString t = text.trimmed();
        if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok || std::isnan(d))
            return std::nullopt;
        return d != 0.0;
    } else if constexpr (std::same_as<T, float> || std::same_as<T, double>) {
        bool ok = false;
        const double d = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return std::nullopt;
        if constexpr (std::same_as<T, float>) {
            if (std::fabs(d) > double(std::numeric_limits<float>::max()))
                return std::nullopt;
        }
        return T(d);
    } else {
        return intFromText<T>(text);
    }
}

template <IniValueType T> QString iniValueToText(const T &value)
{
    if constexpr (std::same_as<T, QString>)
        return value;
    else if constexpr (std::same_as<T, bool>)
        return value ? QStringLiteral("True") : QStringLiteral("False");
    else if constexpr (std::same_as<T, float>)
        return QString::number(double(value), 'g', 7);
    else if constexpr (std::same_as<T, double>)
        return QString::number(value, 'g', 15);
    else
        return QString::number(value);
}

template <IniValueType T>
bool IniReadWrite(const QString &section, const QString &key, T &value, const QString &file,
                  bool write)
{
    if (write)
        return writeValue(section, key, iniValueToText(value), file);

    const std::optional<QString> stored = loadFile(file).doc.value(section, key);
    if (!stored) {
        // The default stands in for the missing key; an empty default is
        // reported like an empty read.
        return !iniValueToText(value).isEmpty();
    }
    if (stored->isEmpty())
        return false;
    const std::optional<T> converted = iniValueFromText<T>(cutValue(*stored));
    if (!converted)
        return false;
    value = *converted;
    return true;
}

#define ORVANE_INI_INSTANTIATE(T)                                                                  \
    template bool IniReadWrite<T>(const QString &, const QString &, T &, const QString &, bool);   \
    template std::optional<T> iniValueFromText<T>(const QString &);                                \
    template QString iniValueToText<T>(const T &);

ORVANE_INI_INSTANTIATE(qint16)
ORVANE_INI_INSTANTIATE(qint32)
ORVANE_INI_INSTANTIATE(quint8)
ORVANE_INI_INSTANTIATE(float)
ORVANE_INI_INSTANTIATE(double)
ORVANE_INI_INSTANTIATE(bool)
ORVANE_INI_INSTANTIATE(QString)

#undef ORVANE_INI_INSTANTIATE

} // namespace orvane::core
