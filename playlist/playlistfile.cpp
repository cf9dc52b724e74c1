#include "playlist/playlistfile.h"

#include "playlist/locations.h"
#include "playlist/lstplaylist.h"
#include "playlist/ovlformat.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "playlist/textpieces.h"

#include "core/atomicfile.h"
#include "core/messagebox.h"
#include "core/textcodec.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace orvane::playlist {

namespace {

// A file larger than this is no playlist we wrote (100,000 items take 15 MB).
constexpr qint64 kMaxPlayListBytes = 512LL * 1024 * 1024;
// How long loading works before it lets pending events run.
constexpr qint64 kPumpIntervalMs = 50;

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Whether the reader takes the bytes for UTF-8 (the decoder it uses).
bool readsAsUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes); // decode() alone only describes the work
    return !decoder.hasError();
}

std::optional<QByteArray> cp932Of(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    bool ok = false;
    QByteArray bytes = core::encodeCp932(text, &ok);
    return ok ? std::optional<QByteArray>(std::move(bytes)) : std::nullopt;
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

QString bodyText(const lstPlayList &view)
{
    QString body;
    body.reserve(qsizetype(view.count()) * 160);
    for (int position = 0; position < view.count(); ++position) {
        const QString key = view.key(position);
        const int index = key.isEmpty() ? -1 : IndexFromKey(nullptr, key);
        if (index < 0 || index >= PlayList.size())
            continue;
        ovl::appendItemLine(body, PlayList[index]);
        body += ovl::kLineEnd;
    }
    return body;
}

void reportWriteFailure(const QString &path)
{
    core::messageBox().show(QStringLiteral("The playlist file could not be written:\n") + path,
                            core::kApplicationTitle, core::MessageIcon::Critical,
                            core::MessageButtons::Ok);
}

void letEventsRun()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

ViewItem viewItemOf(int index, const PlayListItem &item)
{
    return {KeyOfIndex(index), item.TITLE, item.AUTHOR, item.FILENAME, item.DOPLAY != kFalse};
}

// Loading runs pending events; a second load started from one of them
// would interleave with the first.
bool g_loading = false;

void readItems(TextPieces &pieces, QString &piece, ovl::Reader &reader, lstPlayList &view)
{
    const qsizetype lines = pieces.lineCountHint();
    PlayList.reserve(std::max(PlayList.size(), lines));
    QList<ViewItem> batch;
    batch.reserve(lines);
    QElapsedTimer sincePump;
    sincePump.start();
    PlayListItem item;
    int k = 0;
    do {
        while (reader.next(item)) {
            batch.append(viewItemOf(k, item));
            EnsureRecord(k++) = std::move(item);
            if (sincePump.elapsed() >= kPumpIntervalMs) {
                view.appendItems(std::exchange(batch, {}));
                letEventsRun();
                sincePump.restart();
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
    if (isAscii(head) && isAscii(body))
        return head.toLatin1() + body.toLatin1();
    const std::optional<QByteArray> headBytes = cp932Of(head);
    const std::optional<QByteArray> bodyBytes = headBytes ? cp932Of(body) : std::nullopt;
    if (bodyBytes) {
        QByteArray bytes = *headBytes + *bodyBytes;
        // Some CP932 byte runs are valid UTF-8 too and would be read as such.
        if (!readsAsUtf8(bytes))
            return bytes;
    }
    return (head + body).toUtf8();
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
    if (!core::writeFileAtomically(path,
                                   EncodePlayListText(headText(withComments), bodyText(view)))) {
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
