#pragma once

#include <QList>
#include <QString>

namespace orvane::playlist {

// What one item of the playlist view carries. The key ("num" + record
// index) links it to its record in PlayList.
struct ViewItem {
    QString key;
    QString text;     // TITLE
    QString subItem1; // AUTHOR
    QString subItem2; // location, full or short
    bool checked = false;

    bool operator==(const ViewItem &) const = default;
};

enum class SortOrder { Ascending, Descending };

// The playlist view as the playlist, adding and playback code see it. Its
// item order is the play order; its selected item is the current item.
// Positions count from 0; keys are unique within a view.
class lstPlayList
{
public:
    virtual ~lstPlayList() = default;

    virtual int count() const = 0;
    virtual ViewItem item(int position) const = 0;
    virtual QString key(int position) const = 0;
    // Position of the item with this key, -1 when there is none.
    virtual int positionOfKey(const QString &key) const = 0;

    virtual void setText(int position, const QString &text) = 0;
    // column 1 or 2
    virtual void setSubItem(int position, int column, const QString &text) = 0;
    virtual void setChecked(int position, bool checked) = 0;

    // -1 when no item is selected.
    virtual int selectedPosition() const = 0;
    // -1 clears the selection.
    virtual void setSelectedPosition(int position) = 0;

    // position == count() appends. Positions outside 0..count() are clamped.
    virtual void insertItem(int position, const ViewItem &item) = 0;
    // Appends many items at once (loading and adding use this).
    virtual void appendItems(QList<ViewItem> items) = 0;
    virtual bool removeByKey(const QString &key) = 0;
    virtual void clear() = 0;

    // column 0 text, 1 and 2 the sub-items; stable, letter case ignored.
    virtual void sortByColumn(int column, SortOrder order) = 0;

    bool isEmpty() const { return count() == 0; }
};

} // namespace orvane::playlist
