#include "core/textcodec.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace orvane::core {

namespace {

// A converter is cheap to keep and costly to open: one per direction and
// thread (GStreamer or test threads never share one).
class Iconv
{
public:
    Iconv(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    {}
    ~Iconv()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in; false on any byte or character that does not map.
    bool convert(const char *in, size_t inLen, QByteArray &out)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.resize(qsizetype(inLen * 2 + 16));
        char *src = const_cast<char *>(in);
        size_t srcLeft = inLen;
        size_t written = 0;
        while (true) {
            char *dst = out.data() + written;
            size_t dstLeft = size_t(out.size()) - written;
            const size_t rc = iconv(m_cd, srcLeft ? &src : nullptr, &srcLeft, &dst, &dstLeft);
            written = size_t(out.size()) - dstLeft;
            if (rc != size_t(-1) && srcLeft == 0) {
                // Flush any shift state.
                dst = out.data() + written;
                dstLeft = size_t(out.size()) - written;
                iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
                written = size_t(out.size()) - dstLeft;
                break;
            }
            if (rc == size_t(-1) && errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            if (rc == size_t(-1))
                return false;
        }
        out.resize(qsizetype(written));
        return true;
    }

private:
    iconv_t m_cd;
};

Iconv &fromCp932()
{
    thread_local Iconv cd("UTF-8", "CP932");
    return cd;
}

Iconv &toCp932()
{
    thread_local Iconv cd("CP932", "UTF-8");
    return cd;
}

QString decodeCp932Lossy(const QByteArray &bytes)
{
    // Decode run by run so one bad byte costs one replacement character,
    // not the rest of the file.
    QString result;
    result.reserve(bytes.size());
    QByteArray out;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? n : end + 1;
        const char *line = bytes.constData() + start;
        if (fromCp932().convert(line, size_t(end - start), out)) {
            result += QString::fromUtf8(out);
        } else {
            for (qsizetype i = start; i < end; ++i) {
                const char c = bytes.at(i);
                result += (static_cast<unsigned char>(c) < 0x80)
                              ? QChar::fromLatin1(c)
                              : QChar(QChar::ReplacementCharacter);
            }
        }
        start = end;
    }
    return result;
}

} // namespace

DecodedText decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return {text, TextEncoding::Utf8};
    }
    return {decodeCp932Lossy(bytes), TextEncoding::Cp932};
}

QByteArray encodeCp932(const QString &text, bool *ok)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    const bool converted =
        toCp932().valid() && toCp932().convert(utf8.constData(), size_t(utf8.size()), out);
    if (ok)
        *ok = converted;
    return converted ? out : QByteArray();
}

bool fitsCp932(const QString &text)
{
    bool ok = false;
    encodeCp932(text, &ok);
    return ok;
}

QByteArray encodePreferCp932(const QString &text, TextEncoding *used)
{
    bool ok = false;
    QByteArray bytes = encodeCp932(text, &ok);
    if (used)
        *used = ok ? TextEncoding::Cp932 : TextEncoding::Utf8;
    return ok ? bytes : text.toUtf8();
}

} // namespace orvane::core
