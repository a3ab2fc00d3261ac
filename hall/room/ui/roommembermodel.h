#pragma once
// The member list's model: one row per member present in the room (entries 0 to 299 of
// RoomMembers with a user id), in the order they were first seen. The view only shows it.
//
// Rows follow the records only when sync() or one of the refresh calls runs: the records change
// under the model (the dispatcher writes them), so the model remembers the user id each row was
// made for and drops a row whose entry has been freed or taken by somebody else.

#include <QAbstractTableModel>
#include <QList>

#include "hall/room/roomuser.h"

namespace velmora::hall {

class RoomMemberModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Column { UserId, Name, Status, Gold, Point, Win, Loss, Peace, Flee };

    explicit RoomMemberModel(RoomMembers& members, QObject* parent = nullptr);

    // The gold column ("金币") exists only in rooms whose goldmultiple is 1 or more.
    void setGoldColumn(bool shown);
    bool goldColumn() const { return m_gold; }

    // Adds rows for members without one, removes rows of members gone; every cell is redrawn.
    void refresh();
    // The same row bookkeeping, redrawing the status column only (the 2-second refresh).
    void refreshStatus();
    // No rows (the room is being left or reloaded).
    void clear();

    // Entry index of RoomMembers shown in `row`, -1 when out of range.
    int entryAt(int row) const;
    Column columnKind(int column) const;
    int columnWidth(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row {
        int entry;
        qint64 userId;
    };
    void sync();

    RoomMembers& m_members;
    QList<Row> m_rows;
    bool m_gold = false;
};

}  // namespace velmora::hall
