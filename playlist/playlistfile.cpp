#include "playlist/playlistfile.h"

#include "playlist/locations.h"
#include "playlist/lstplaylist.h"
#include "playlist/ovlformat.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "playlist/textpieces.h"

#include "core/atomicfile.h"
#include "core/busywork.h"
#include "core/messagebox.h"
#include "core/textcodec.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <optional>

namespace orvane::playlist {

namespace {

// A file larger than this is no playlist we wrote (100,000 items take 15 MB).
constexpr qint64 kMaxPlayListBytes = 512LL * 1024 * 1024;
// Items read between two moments in which pending events run (a few
// milliseconds of work): the window stays responsive and the list grows
// while a long file loads.
constexpr int kItemsPerPump = 2048;

bool isAscii(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word = 0;
        std::memcpy(&word, p + i, sizeof word);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    return std::all_of(p + i, p + n, [](char c) { return uchar(c) < 0x80; });
}

// Whether the reader takes the bytes for UTF-8 (the decoder it uses).
bool readsAsUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes); // decode() alone only describes the work
    return !decoder.hasError();
}

// CP932 bytes of UTF-8 ones, when every character has some.
std::optional<QByteArray> cp932Of(QByteArrayView utf8)
{
    if (isAscii(utf8))
        return utf8.toByteArray();
    bool ok = false;
    QByteArray bytes = core::encodeCp932(QString::fromUtf8(utf8), &ok);
    return ok ? std::optional<QByteArray>(std::move(bytes)) : std::nullopt;
}

// The bytes of a file given as UTF-8 (the header and comments first, the
// item lines from headSize on): kept when plain ASCII, else CP932 when all
// fits and reads back as CP932, else UTF-8. The parts are converted apart
// so that the Japanese comment block costs nothing on a large list.
QByteArray encodedFile(QByteArray utf8, qsizetype headSize)
{
    if (isAscii(utf8))
        return utf8;
    const QByteArrayView body = QByteArrayView(utf8).sliced(headSize);
    const std::optional<QByteArray> headCp932 = cp932Of(QByteArrayView(utf8).first(headSize));
    if (!headCp932)
        return utf8;
    // Some CP932 byte runs are valid UTF-8 too and would be read as such;
    // an ASCII body cannot change what the head reads as.
    if (isAscii(body))
        return readsAsUtf8(*headCp932) ? utf8 : *headCp932 + body;
    const std::optional<QByteArray> bodyCp932 = cp932Of(body);
    if (!bodyCp932)
        return utf8;
    QByteArray bytes = *headCp932 + *bodyCp932;
    return readsAsUtf8(bytes) ? utf8 : bytes;
}

QString headText(bool withComments)
{
    QString head = ovl::kHeader + ovl::kWrittenVersion + ovl::kLineEnd;
    if (withComments) {
        for (const QString &line : ovl::commentLines())
            head += line + ovl::kLineEnd;
    }
    return head;
}

// Appends the view's item lines, in view order, as UTF-8.
void appendBody(QByteArray &out, const lstPlayList &view)
{
    out.reserve(out.size() + qsizetype(view.count()) * 160);
    QStringEncoder utf8(QStringEncoder::Utf8);
    QString line;
    for (int position = 0; position < view.count(); ++position) {
        const QString key = view.key(position);
        const int index = key.isEmpty() ? -1 : IndexFromKey(nullptr, key);
        if (index < 0 || index >= PlayList.size())
            continue;
        line.resize(0); // keeps its buffer for the next line
        ovl::appendItemLine(line, PlayList.at(index));
        line += ovl::kLineEnd;
        const qsizetype used = out.size();
        out.resize(used + line.size() * 3);
        const char *end = utf8.appendToBuffer(out.data() + used, line);
        out.resize(end - out.constData());
    }
}

void reportWriteFailure(const QString &path)
{
    core::messageBox().show(QStringLiteral("The playlist file could not be written:\n") + path,
                            core::kApplicationTitle, core::MessageIcon::Critical,
                            core::MessageButtons::Ok);
}

void letEventsRun()
{
    core::pumpEvents(0);
}

// Loading runs pending events; a second load started from one of them
// would interleave with the first.
bool g_loading = false;

void readItems(TextPieces &pieces, QString &piece, ovl::Reader &reader, lstPlayList &view)
{
    const qsizetype lines = pieces.lineCountHint();
    PlayList.reserve(std::max(PlayList.size(), lines));
    // The first batch becomes the (empty) view's store: room for all.
    QList<ViewItem> batch;
    batch.reserve(lines);
    PlayListItem item;
    int k = 0;
    do {
        while (reader.next(item)) {
            EnsureRecord(k) = std::move(item);
            batch.append(ViewItemOfRecord(k, PlayList[k].FILENAME));
            ++k;
            if (k % kItemsPerPump == 0) {
                view.appendItems(std::exchange(batch, {}));
                letEventsRun();
            }
        }
    } while (pieces.next(piece) && (reader.continueWith(piece), true));
    view.appendItems(std::move(batch));
}

bool loadFrom(QIODevice &device, lstPlayList &view)
{
    if (g_loading)
        return false;
    TextPieces pieces(device);
    QString piece;
    if (!pieces.next(piece))
        return false;
    ovl::Reader reader(piece);
    if (!reader.accepted())
        return false;
    g_loading = true;
    view.clear();
    readItems(pieces, piece, reader, view);
    g_loading = false;
    return true;
}

} // namespace

QByteArray EncodePlayListText(const QString &head, const QString &body)
{
    QByteArray utf8 = head.toUtf8();
    const qsizetype headSize = utf8.size();
    utf8 += body.toUtf8();
    return encodedFile(std::move(utf8), headSize);
}

bool SavePlayList(const lstPlayList &view, const QString &fileName, bool withComments,
                  QString *message)
{
    if (view.isEmpty()) {
        if (message)
            *message = kMessageNothingFile;
        return false;
    }
    const QString path = fileName.isEmpty() ? PlayListFile : fileName;
    if (path.isEmpty()) {
        if (message)
            *message = kMessageNewFile;
        return false;
    }
    QByteArray utf8 = headText(withComments).toUtf8();
    const qsizetype headSize = utf8.size();
    appendBody(utf8, view);
    if (!core::writeFileAtomically(path, encodedFile(std::move(utf8), headSize))) {
        reportWriteFailure(path);
        return false;
    }
    PlayListFile = path;
    return true;
}

bool LoadPlayListBytes(const QByteArray &bytes, lstPlayList &view)
{
    QBuffer buffer;
    buffer.setData(bytes);
    return buffer.open(QIODevice::ReadOnly) && loadFrom(buffer, view);
}

bool LoadPlayList(const QString &location, lstPlayList &view)
{
    QString scheme;
    const QString path = NormaliseLocation(location, {}, true, {}, &scheme, 0);
    if (!path.endsWith(ovl::kExtension) || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPlayListBytes || !loadFrom(file, view))
        return false;
    PlayListFile = path;
    return true;
}

} // namespace orvane::playlist
