#include "playlist/playlisteditor.h"

#include "playlist/lstplaylist.h"
#include "playlist/ovlformat.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <utility>

namespace orvane::playlist {

QList<int> EditableRecords()
{
    // A loaded file may hold a first item without a title, so the blank
    // record, not an empty title, is what marks an empty store.
    QList<int> records;
    if (PlayList.isEmpty() || (PlayList.size() == 1 && PlayList.front() == PlayListItem{}))
        return records;
    records.reserve(PlayList.size());
    for (int i = 0; i < PlayList.size(); ++i)
        records.append(i);
    return records;
}

QList<int> SelectedRecords(const QList<EditorLine> &lines)
{
    QList<int> records;
    for (const EditorLine &line : lines) {
        if (line.selected)
            records.append(line.record);
    }
    return records;
}

bool AppendSelectedLines(const QList<EditorLine> &from, QList<EditorLine> &to)
{
    const QList<int> records = SelectedRecords(from);
    for (int record : records)
        to.append({record, false});
    return !records.isEmpty();
}

bool RemoveSelectedLines(QList<EditorLine> &lines)
{
    return lines.removeIf([](const EditorLine &line) { return line.selected; }) > 0;
}

bool MoveSelectedLines(QList<EditorLine> &lines, int distance)
{
    const auto selected = [](const EditorLine &line) { return line.selected; };
    if (distance == 0 || std::none_of(lines.begin(), lines.end(), selected))
        return false;
    const bool up = distance < 0;
    if (selected(up ? lines.front() : lines.back()))
        return false;
    // From the end the lines move towards, so that a block of selected
    // lines moves as one.
    const qsizetype n = lines.size();
    for (qsizetype k = 1; k < n; ++k) {
        const qsizetype i = up ? k : n - 1 - k;
        if (lines[i].selected)
            std::swap(lines[i], lines[up ? i - 1 : i + 1]);
    }
    return true;
}

namespace {

template <typename T>
void compareField(T &shown, const T &value, ShownFields &fields, ShownFields::Field field)
{
    if (!fields.isMixed(field) && shown != value)
        fields.mixed |= field;
}

void showMixed(ShownFields &fields, const QString &mixedText)
{
    PlayListItem &v = fields.values;
    const auto text = [&](QString &shown, ShownFields::Field field) {
        if (fields.isMixed(field))
            shown = mixedText;
    };
    text(v.TITLE, ShownFields::Title);
    text(v.AUTHOR, ShownFields::Author);
    text(v.COPYRIGHT, ShownFields::Copyright);
    text(v.DESCRIPTHION, ShownFields::Description);
    text(v.FILENAME, ShownFields::FileName);
    if (fields.isMixed(ShownFields::Number))
        v.NUMBER = 0;
    if (fields.isMixed(ShownFields::DoPlay))
        v.DOPLAY = kTrue;
    if (fields.isMixed(ShownFields::DoLoop))
        v.DOLOOP = -1;
    if (fields.isMixed(ShownFields::MediaType))
        v.MEDIATYPE = kMixedMediaType;
}

} // namespace

ShownFields FieldsOfRecords(const QList<int> &records, const QString &mixedText)
{
    ShownFields fields;
    if (records.isEmpty())
        return fields;
    constexpr unsigned kAll = (1u << 9) - 1;
    PlayListItem &shown = fields.values;
    shown = PlayList[records.front()];
    for (qsizetype i = 1; i < records.size() && fields.mixed != kAll; ++i) {
        const PlayListItem &r = PlayList[records[i]];
        compareField(shown.TITLE, r.TITLE, fields, ShownFields::Title);
        compareField(shown.AUTHOR, r.AUTHOR, fields, ShownFields::Author);
        compareField(shown.COPYRIGHT, r.COPYRIGHT, fields, ShownFields::Copyright);
        compareField(shown.DESCRIPTHION, r.DESCRIPTHION, fields, ShownFields::Description);
        compareField(shown.FILENAME, r.FILENAME, fields, ShownFields::FileName);
        compareField(shown.NUMBER, r.NUMBER, fields, ShownFields::Number);
        compareField(shown.DOPLAY, r.DOPLAY, fields, ShownFields::DoPlay);
        compareField(shown.DOLOOP, r.DOLOOP, fields, ShownFields::DoLoop);
        compareField(shown.MEDIATYPE, r.MEDIATYPE, fields, ShownFields::MediaType);
    }
    showMixed(fields, mixedText);
    return fields;
}

std::optional<qint16> LoopCountOf(bool repeatEndlessly, const QString &loopText)
{
    if (repeatEndlessly)
        return qint16(0);
    const double number = std::trunc(ovl::leadingNumber(loopText));
    if (number == -1)
        return std::nullopt;
    return qint16(std::clamp(number, 0.0, 32767.0));
}

void ApplyFieldEdits(lstPlayList &view, const QList<int> &records, const FieldEdits &edits)
{
    // One pass over the view instead of one search per record.
    QHash<QString, int> positions;
    positions.reserve(view.count());
    for (int p = 0; p < view.count(); ++p)
        positions.insert(view.key(p), p);
    for (int index : records) {
        if (index < 0 || index >= PlayList.size())
            continue;
        PlayListItem record = PlayList[index];
        record.TITLE = edits.title.value_or(record.TITLE);
        record.AUTHOR = edits.author.value_or(record.AUTHOR);
        record.COPYRIGHT = edits.copyright.value_or(record.COPYRIGHT);
        record.DESCRIPTHION = edits.description.value_or(record.DESCRIPTHION);
        record.DOPLAY = edits.doPlay.value_or(record.DOPLAY);
        record.DOLOOP = edits.doLoop.value_or(record.DOLOOP);
        record.MEDIATYPE = edits.mediaType.value_or(record.MEDIATYPE);
        UpdateRecord(view, index, record, positions.value(KeyOfIndex(index), -1));
    }
}

bool HasDuplicateRecord(const QList<int> &records)
{
    QSet<int> seen;
    seen.reserve(records.size());
    for (int record : records) {
        if (seen.contains(record))
            return true;
        seen.insert(record);
    }
    return false;
}

void RebuildView(lstPlayList &view, const QList<int> &records)
{
    if (records.isEmpty())
        return;
    QList<ViewItem> items;
    items.reserve(records.size());
    for (int index : records) {
        if (index >= 0 && index < PlayList.size())
            items.append(ViewItemOfRecord(index, PlayList[index].FILENAME));
    }
    view.clear();
    view.appendItems(std::move(items));
}

} // namespace orvane::playlist
