#pragma once

#include "playlist/playlistitem.h"

#include <QList>
#include <QString>

#include <optional>

namespace orvane::playlist {

class lstPlayList;

// The playlist editor's rules, free of widgets: the dialog shows these
// lines and fields, and tests run them without a window.

// One line of the editor's lists: the record it stands for and whether the
// user has it selected.
struct EditorLine {
    int record = 0;
    bool selected = false;

    bool operator==(const EditorLine &) const = default;
};

// Every record of the store, deleted items' records too, in index order;
// nothing while the store holds only the blank record.
QList<int> EditableRecords();

// The record indices of the selected lines, in list order.
QList<int> SelectedRecords(const QList<EditorLine> &lines);

// Appends the selected lines of from to the end of to, unselected; from
// keeps them. False (nothing moves) when from has no selection.
bool AppendSelectedLines(const QList<EditorLine> &from, QList<EditorLine> &to);

// Removes the selected lines. False when none is selected.
bool RemoveSelectedLines(QList<EditorLine> &lines);

// Moves every selected line one place up (distance -1) or down (+1); each
// keeps its selection and the neighbour it passes keeps its own. False,
// moving nothing, when no line is selected or one is already at that end.
bool MoveSelectedLines(QList<EditorLine> &lines, int distance);

// The position of the file-type list that stands for mixed media types.
inline constexpr qint32 kMixedMediaType = 5;

// The fields of the selected records as the editor shows them. A field
// whose values differ is mixed: its text is the mixed text, NUMBER 0,
// DOPLAY true and DOLOOP -1, MEDIATYPE kMixedMediaType.
struct ShownFields {
    enum Field : unsigned {
        Title = 1u << 0,
        Author = 1u << 1,
        Copyright = 1u << 2,
        Description = 1u << 3,
        FileName = 1u << 4,
        Number = 1u << 5,
        DoPlay = 1u << 6,
        DoLoop = 1u << 7,
        MediaType = 1u << 8,
    };
    PlayListItem values;
    unsigned mixed = 0;

    bool isMixed(Field field) const { return (mixed & field) != 0; }
};

// records must name existing records and not be empty.
ShownFields FieldsOfRecords(const QList<int> &records, const QString &mixedText);

// What Apply writes; a field left empty is not written.
struct FieldEdits {
    std::optional<QString> title;
    std::optional<QString> author;
    std::optional<QString> copyright;
    std::optional<QString> description;
    std::optional<qint16> doPlay;
    std::optional<qint16> doLoop;
    std::optional<qint32> mediaType;
};

// The repeat count the loop box gives: nothing when it keeps the mixed
// values (-1 and Repeat not ticked), 0 (endless) when Repeat is ticked,
// otherwise the box's number, 0 when it holds none, kept to 0..32767.
std::optional<qint16> LoopCountOf(bool repeatEndlessly, const QString &loopText);

// Writes the edits into every record and its view item.
void ApplyFieldEdits(lstPlayList &view, const QList<int> &records, const FieldEdits &edits);

// Whether a record stands on two lines.
bool HasDuplicateRecord(const QList<int> &records);

// Replaces the view's items by one per record, in that order, each showing
// its record's title, author, location and play flag. An empty list leaves
// the view as it is.
void RebuildView(lstPlayList &view, const QList<int> &records);

} // namespace orvane::playlist
