#pragma once

#include "playlist/lstplaylist.h"

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QStringList>

namespace orvane::playlist {

// The playlist view's data: three columns (title, author, location), a
// check box on the first, a key per row. A QTreeView shows it with the
// selection model it owns, so the selected item is the same for the view
// and for the playlist code. Bulk changes send one signal, not one per row:
// a 100,000-item playlist must load at once.
class PlayListModel final : public QAbstractTableModel, public lstPlayList
{
    Q_OBJECT
public:
    static constexpr int kKeyRole = Qt::UserRole + 1;

    explicit PlayListModel(QObject *parent = nullptr);

    QItemSelectionModel *selectionModel() { return &m_selection; }
    // Column captions; the window sets them from the language file.
    void setHeaderTexts(const QStringList &texts);
    // The item that plays carries a mark in its first column: a picture the
    // view supplies (the model stays free of widgets and pictures) and a
    // text a screen reader speaks. An empty key marks no item.
    void setPlayingMark(const QVariant &decoration, const QString &description);
    void setPlayingKey(const QString &key);
    QString playingKey() const { return m_playingKey; }

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // lstPlayList
    int count() const override;
    ViewItem item(int position) const override;
    QString key(int position) const override;
    int positionOfKey(const QString &key) const override;
    void setText(int position, const QString &text) override;
    void setSubItem(int position, int column, const QString &text) override;
    void setChecked(int position, bool checked) override;
    int selectedPosition() const override;
    void setSelectedPosition(int position) override;
    void insertItem(int position, const ViewItem &item) override;
    void appendItems(QList<ViewItem> items) override;
    bool removeByKey(const QString &key) override;
    void clear() override;
    void sortByColumn(int column, SortOrder order) override;

Q_SIGNALS:
    // The user ticked or unticked an item's check box (the record's DOPLAY
    // has followed already).
    void checkStateEdited(const QString &key, bool checked);

private:
    bool validPosition(int position) const;
    void changed(int position, int column, int role);

    QList<ViewItem> m_items;
    QStringList m_headers;
    QString m_playingKey;
    QVariant m_playingDecoration;
    QString m_playingDescription;
    QItemSelectionModel m_selection;
};

} // namespace orvane::playlist
