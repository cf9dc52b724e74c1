#include "playlist/playlistmodel.h"

#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

#include <algorithm>
#include <numeric>

namespace orvane::playlist {

namespace {

const QString &columnText(const ViewItem &item, int column)
{
    switch (column) {
    case 1:
        return item.subItem1;
    case 2:
        return item.subItem2;
    default:
        return item.text;
    }
}

// Qt's tooltip renders anything that looks like markup, and titles and file
// names come from tags and disks. Escaped and kept on one paragraph with its
// spaces, the text reads as written. (Qt::convertFromPlainText does this in
// QtGui, which this layer does not use.)
QString toolTipOf(const QString &text)
{
    if (text.isEmpty())
        return text;
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace

PlayListModel::PlayListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_headers{QStringLiteral("Title"), QStringLiteral("Author"), QStringLiteral("File")}
    , m_selection(this)
{}

void PlayListModel::setHeaderTexts(const QStringList &texts)
{
    for (int i = 0; i < std::min<int>(int(texts.size()), 3); ++i)
        m_headers[i] = texts[i];
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, 2);
}

void PlayListModel::setPlayingMark(const QVariant &decoration, const QString &description)
{
    m_playingDecoration = decoration;
    m_playingDescription = description;
    const int position = positionOfKey(m_playingKey);
    if (!m_playingKey.isEmpty() && position >= 0)
        changed(position, 0, Qt::DecorationRole);
}

void PlayListModel::setPlayingKey(const QString &key)
{
    if (key == m_playingKey)
        return;
    const int before = m_playingKey.isEmpty() ? -1 : positionOfKey(m_playingKey);
    m_playingKey = key;
    if (before >= 0)
        changed(before, 0, Qt::DecorationRole);
    const int after = key.isEmpty() ? -1 : positionOfKey(key);
    if (after >= 0)
        changed(after, 0, Qt::DecorationRole);
}

int PlayListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

int PlayListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant PlayListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !validPosition(index.row()))
        return {};
    const ViewItem &item = m_items[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return columnText(item, index.column());
    case Qt::ToolTipRole:
        return toolTipOf(columnText(item, index.column()));
    case Qt::CheckStateRole:
        if (index.column() == 0)
            return item.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case kKeyRole:
        return item.key;
    case Qt::DecorationRole:
        if (index.column() == 0 && !m_playingKey.isEmpty() && item.key == m_playingKey)
            return m_playingDecoration;
        return {};
    case Qt::AccessibleDescriptionRole:
        if (index.column() == 0 && !m_playingKey.isEmpty() && item.key == m_playingKey)
            return m_playingDescription;
        return {};
    default:
        return {};
    }
}

bool PlayListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole ||
        !validPosition(index.row()))
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    const QString key = m_items[index.row()].key;
    const int record = IndexFromKey(nullptr, key);
    if (record >= 0 && record < PlayList.size()) {
        PlayListItem edited = PlayList[record];
        edited.DOPLAY = checked ? kTrue : kFalse;
        UpdateRecord(*this, record, edited, index.row());
    } else {
        setChecked(index.row(), checked);
    }
    Q_EMIT checkStateEdited(key, checked);
    return true;
}

Qt::ItemFlags PlayListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant PlayListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 3)
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void PlayListModel::sort(int column, Qt::SortOrder order)
{
    sortByColumn(column,
                 order == Qt::AscendingOrder ? SortOrder::Ascending : SortOrder::Descending);
}

int PlayListModel::count() const
{
    return int(m_items.size());
}

ViewItem PlayListModel::item(int position) const
{
    return validPosition(position) ? m_items[position] : ViewItem{};
}

QString PlayListModel::key(int position) const
{
    return validPosition(position) ? m_items[position].key : QString();
}

int PlayListModel::positionOfKey(const QString &key) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i].key == key)
            return i;
    }
    return -1;
}

void PlayListModel::setText(int position, const QString &text)
{
    if (!validPosition(position))
        return;
    m_items[position].text = text;
    changed(position, 0, Qt::DisplayRole);
}

void PlayListModel::setSubItem(int position, int column, const QString &text)
{
    if (!validPosition(position) || (column != 1 && column != 2))
        return;
    (column == 1 ? m_items[position].subItem1 : m_items[position].subItem2) = text;
    changed(position, column, Qt::DisplayRole);
}

void PlayListModel::setChecked(int position, bool checked)
{
    if (!validPosition(position) || m_items[position].checked == checked)
        return;
    m_items[position].checked = checked;
    changed(position, 0, Qt::CheckStateRole);
}

int PlayListModel::selectedPosition() const
{
    const QModelIndex current = m_selection.currentIndex();
    if (current.isValid() && m_selection.isRowSelected(current.row()))
        return current.row();
    const QModelIndexList rows = m_selection.selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void PlayListModel::setSelectedPosition(int position)
{
    if (!validPosition(position)) {
        m_selection.clear();
        return;
    }
    m_selection.setCurrentIndex(index(position, 0),
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void PlayListModel::insertItem(int position, const ViewItem &item)
{
    position = std::clamp(position, 0, count());
    beginInsertRows({}, position, position);
    m_items.insert(position, item);
    endInsertRows();
}

void PlayListModel::appendItems(QList<ViewItem> items)
{
    if (items.isEmpty())
        return;
    const int first = count();
    beginInsertRows({}, first, first + int(items.size()) - 1);
    if (m_items.isEmpty())
        m_items = std::move(items);
    else
        m_items.append(std::move(items));
    endInsertRows();
}

bool PlayListModel::removeByKey(const QString &key)
{
    const int position = positionOfKey(key);
    if (position < 0)
        return false;
    beginRemoveRows({}, position, position);
    m_items.remove(position);
    endRemoveRows();
    return true;
}

void PlayListModel::clear()
{
    beginResetModel();
    m_items.clear();
    m_items.squeeze();
    endResetModel();
}

void PlayListModel::sortByColumn(int column, SortOrder order)
{
    if (column < 0 || column > 2)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> rows(m_items.size());
    std::iota(rows.begin(), rows.end(), 0);
    const auto less = [&](int a, int b) {
        const int c = QString::compare(columnText(m_items[a], column),
                                       columnText(m_items[b], column), Qt::CaseInsensitive);
        return order == SortOrder::Ascending ? c < 0 : c > 0;
    };
    std::stable_sort(rows.begin(), rows.end(), less);
    QList<ViewItem> sorted;
    sorted.reserve(m_items.size());
    QList<int> newRowOf(m_items.size());
    for (int i = 0; i < rows.size(); ++i) {
        sorted.append(std::move(m_items[rows[i]]));
        newRowOf[rows[i]] = i;
    }
    m_items = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(newRowOf[old.row()], old.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool PlayListModel::validPosition(int position) const
{
    return position >= 0 && position < m_items.size();
}

void PlayListModel::changed(int position, int column, int role)
{
    const QModelIndex at = index(position, column);
    Q_EMIT dataChanged(at, at, {role});
}

} // namespace orvane::playlist
