#include "playlist/ovlformat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>

namespace orvane::playlist::ovl {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Appends the digits at text[i...] to out; returns how many.
int takeDigits(QStringView text, qsizetype &i, std::string &out)
{
    int n = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++n)
        out += char(text[i].unicode());
    return n;
}

void takeExponent(QStringView text, qsizetype i, std::string &out)
{
    if (i >= text.size() || (text[i] != u'e' && text[i] != u'E'))
        return;
    std::string exponent = "e";
    ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        exponent += char(text[i++].unicode());
    if (takeDigits(text, i, exponent) > 0)
        out += exponent;
}

template <typename Int> bool toInteger(QStringView field, Int &out)
{
    const double rounded = std::nearbyint(leadingNumber(field));
    if (!(rounded >= double(std::numeric_limits<Int>::min()) &&
          rounded <= double(std::numeric_limits<Int>::max())))
        return false;
    out = Int(rounded);
    return true;
}

bool toDoPlay(QStringView field, qint16 &out)
{
    const QStringView text = field.trimmed();
    if (text.compare(u"True", Qt::CaseInsensitive) == 0) {
        out = kTrue;
        return true;
    }
    if (text.compare(u"False", Qt::CaseInsensitive) == 0) {
        out = kFalse;
        return true;
    }
    // A number, and nothing but a number: 0 is false, anything else true.
    qsizetype i = text.startsWith(u'-') || text.startsWith(u'+') ? 1 : 0;
    std::string ignored;
    const int whole = takeDigits(text, i, ignored);
    int fraction = 0;
    if (i < text.size() && text[i] == u'.')
        fraction = takeDigits(text, ++i, ignored);
    if (whole + fraction == 0 || i != text.size())
        return false;
    out = leadingNumber(text) != 0.0 ? kTrue : kFalse;
    return true;
}

// Appends the field and its comma.
void appendEscaped(QString &out, const QString &field)
{
    const bool plain =
        std::none_of(field.begin(), field.end(), [](QChar c) { return c == u'\n' || c == u','; });
    out += plain ? field : escapeField(field);
    out += u',';
}

void appendNumber(QString &out, qint64 value)
{
    char16_t digits[24];
    char16_t *end = digits + std::size(digits);
    char16_t *p = end;
    const bool negative = value < 0;
    quint64 magnitude = negative ? 0 - quint64(value) : quint64(value);
    do {
        *--p = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        *--p = u'-';
    out.append(reinterpret_cast<const QChar *>(p), end - p);
    out += u',';
}

} // namespace

const QStringList &commentLines()
{
    static const QStringList lines{
        QStringLiteral(";前に;がついた行はコメントとして無視されます。"),
        QStringLiteral(";NUMBERはそのファイルがさらに入れ子(ネスト)として、"),
        QStringLiteral(";プレイリストの場合の何番目の曲かを記録してあります。"),
        QStringLiteral(";たとえば、1つのプレイリスト中に2曲ある場合、"),
        QStringLiteral(";Orvaneは、2曲別物のファイルと見せかけて、表示しますが、"),
        QStringLiteral(";実際には再生時、そのプレイリストの何曲目を再生とコマンド送信しています。"),
        QStringLiteral(";プレイリスト中のファイル名を抽出できないための仕様となっております。"),
        QStringLiteral(";そのファイルがプレイリストでないときは0です。"),
        QStringLiteral(";また、メディアがディスクの場合は、ディスクIDです。"),
        QStringLiteral(";MEDIATYPEは"),
        QStringLiteral(";\u3000\u3000\u30001, Windows Media Player"),
        QStringLiteral(";\u3000\u3000\u30002, RealPlayer"),
        QStringLiteral(";\u3000\u3000\u30003, AudioCD"),
        QStringLiteral(";\u3000\u3000\u30004, VideoCD"),
        QStringLiteral(";となっています。"),
        QStringLiteral(";DOPLAYは再生する場合は、TRUE、スキップはFALSEです。"),
        QStringLiteral(";ちなみにコメント文のあるファイルを読み込んで再度保存すると、"),
        QStringLiteral(";コメント文は削除されますので、ご了承ください。"),
        QStringLiteral(";これは読み込み時に完全にコメント文を無視しているために起こる現象です。"),
        QStringLiteral(";また、エラーチェックは全くしません。"),
        QStringLiteral(";不正な値を指定しないでください。(笑)ほんとに。マジで。"),
        QStringLiteral(";TITLE, AUTHOR, COPYRIGHT, DESCRIPTHION, FILENAME, NUMBER, MEDIATYPE, "
                       "DOPLAY, DOLOOP, DRIVE, TRACK"),
    };
    return lines;
}

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    int digits = takeDigits(text, i, number);
    if (i < text.size() && text[i] == u'.') {
        number += '.';
        digits += takeDigits(text, ++i, number);
    }
    if (digits == 0)
        return 0.0;
    takeExponent(text, i, number);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    return value;
}

std::optional<float> headerVersion(QStringView line)
{
    if (!line.startsWith(kHeader))
        return std::nullopt;
    const double version = leadingNumber(line.mid(kHeader.size()));
    if (std::abs(version) > double(std::numeric_limits<float>::max()))
        return version > 0 ? std::numeric_limits<float>::infinity()
                           : -std::numeric_limits<float>::infinity();
    return float(version);
}

QString escapeField(const QString &text)
{
    QString field = text;
    if (field.contains(u'\n'))
        field.replace(QStringLiteral("\r\n"), QStringLiteral("\t")).replace(u'\n', u'\t');
    if (field.contains(u','))
        field.replace(u',', u'\b');
    return field;
}

QString unescapeField(QStringView field)
{
    QString text = field.toString();
    if (text.contains(u'\t'))
        text.replace(u'\t', QStringLiteral("\r\n"));
    if (text.contains(u'\b'))
        text.replace(u'\b', u',');
    return text;
}

QString formatItemLine(const PlayListItem &item)
{
    QString line;
    appendItemLine(line, item);
    return line;
}

void appendItemLine(QString &out, const PlayListItem &item)
{
    appendEscaped(out, item.TITLE);
    appendEscaped(out, item.AUTHOR);
    appendEscaped(out, item.COPYRIGHT);
    appendEscaped(out, item.DESCRIPTHION);
    appendEscaped(out, item.FILENAME);
    appendNumber(out, item.NUMBER);
    appendNumber(out, item.MEDIATYPE);
    out += item.DOPLAY != kFalse ? QStringView(u"True,") : QStringView(u"False,");
    appendNumber(out, item.DOLOOP);
    appendEscaped(out, item.DRIVE);
    appendNumber(out, item.TRACK);
    out.chop(1); // the last field's comma
}

bool parseItemLine(QStringView line, bool withDiscFields, PlayListItem &item)
{
    std::array<QStringView, 11> f;
    const qsizetype needed = withDiscFields ? 11 : 9;
    qsizetype count = 0;
    for (qsizetype start = 0; count < needed; ++count) {
        const qsizetype comma = line.indexOf(u',', start);
        f[size_t(count)] = line.mid(start, comma < 0 ? -1 : comma - start);
        if (comma < 0) {
            ++count;
            break;
        }
        start = comma + 1;
    }
    PlayListItem read;
    qint16 mediaType = 0;
    if (count < needed || !toInteger(f[5], read.NUMBER) || !toInteger(f[6], mediaType) ||
        !toDoPlay(f[7], read.DOPLAY) || !toInteger(f[8], read.DOLOOP) ||
        (withDiscFields && !toInteger(f[10], read.TRACK)))
        return false;
    read.MEDIATYPE = mediaType;
    read.TITLE = unescapeField(f[0]);
    read.AUTHOR = unescapeField(f[1]);
    read.COPYRIGHT = unescapeField(f[2]);
    read.DESCRIPTHION = unescapeField(f[3]);
    read.FILENAME = unescapeField(f[4]);
    if (withDiscFields)
        read.DRIVE = unescapeField(f[9]);
    item = std::move(read);
    return true;
}

Reader::Reader(QStringView text)
    : m_text(text)
{
    const std::optional<QStringView> first = nextLine();
    const std::optional<float> version = first ? headerVersion(*first) : std::nullopt;
    m_version = version.value_or(0.0f);
    m_accepted = version && !(*version > kCurrentVersion) && !std::isnan(*version);
}

void Reader::continueWith(QStringView text)
{
    m_text = text;
    m_pos = 0;
}

bool Reader::next(PlayListItem &item)
{
    if (!m_accepted)
        return false;
    const bool withDiscFields = m_version == kCurrentVersion;
    while (const std::optional<QStringView> line = nextLine()) {
        if (line->isEmpty() || line->startsWith(u';'))
            continue;
        if (parseItemLine(*line, withDiscFields, item))
            return true;
        ++m_skipped;
    }
    return false;
}

std::optional<QStringView> Reader::nextLine()
{
    if (m_pos >= m_text.size())
        return std::nullopt;
    qsizetype end = m_text.indexOf(u'\n', m_pos);
    if (end < 0)
        end = m_text.size();
    QStringView line = m_text.mid(m_pos, end - m_pos);
    m_pos = end + 1;
    if (line.endsWith(u'\r'))
        line.chop(1);
    return line;
}

} // namespace orvane::playlist::ovl
