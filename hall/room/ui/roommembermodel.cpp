#include "hall/room/ui/roommembermodel.h"

#include <QSet>

namespace velmora::hall {
namespace {

struct ColumnInfo {
    RoomMemberModel::Column kind;
    const char16_t* caption;
    int width;
};

constexpr ColumnInfo kColumns[] = {
    {RoomMemberModel::Column::UserId, u"数字账号", 75},
    {RoomMemberModel::Column::Name, u"昵称", 80},
    {RoomMemberModel::Column::Status, u"状态", 40},
    {RoomMemberModel::Column::Gold, u"金币", 60},
    {RoomMemberModel::Column::Point, u"积分", 50},
    {RoomMemberModel::Column::Win, u"赢", 50},
    {RoomMemberModel::Column::Loss, u"输", 50},
    {RoomMemberModel::Column::Peace, u"平", 50},
    {RoomMemberModel::Column::Flee, u"逃跑", 50},
};
constexpr int kAllColumns = int(std::size(kColumns));
constexpr int kGoldIndex = 3;

}  // namespace

RoomMemberModel::RoomMemberModel(RoomMembers& members, QObject* parent)
    : QAbstractTableModel(parent), m_members(members) {}

void RoomMemberModel::setGoldColumn(bool shown) {
    if (shown == m_gold) return;
    beginResetModel();
    m_gold = shown;
    endResetModel();
}

int RoomMemberModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RoomMemberModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return m_gold ? kAllColumns : kAllColumns - 1;
}

RoomMemberModel::Column RoomMemberModel::columnKind(int column) const {
    if (!m_gold && column >= kGoldIndex) ++column;
    return kColumns[qBound(0, column, kAllColumns - 1)].kind;
}

int RoomMemberModel::columnWidth(int column) const {
    if (column < 0 || column >= columnCount()) return 0;
    return kColumns[int(columnKind(column))].width;
}

int RoomMemberModel::entryAt(int row) const {
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).entry : -1;
}

QVariant RoomMemberModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf16(kColumns[int(columnKind(section))].caption);
    if (role == Qt::TextAlignmentRole)
        return columnKind(section) == Column::Name ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                                   : int(Qt::AlignCenter);
    return {};
}

QVariant RoomMemberModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= columnCount())
        return {};
    const Column kind = columnKind(index.column());
    if (role == Qt::TextAlignmentRole)
        return kind == Column::Name ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    const Row& row = m_rows.at(index.row());
    const STRU_ROOMUSER& m = m_members.at(row.entry);
    // A row whose entry changed hands since the last sync shows nothing rather than another
    // member's values under this row's id.
    if (m.User.UserID != row.userId) return {};
    switch (kind) {
        case Column::UserId:
            return QString::number(m.User.UserID);
        case Column::Name:
            return m.User.UserName;
        case Column::Status:
            return MemberStatusText(m.status);
        case Column::Gold:
            return QString::number(m.User.Gold);
        case Column::Point:
            return QString::number(m.point);
        case Column::Win:
            return QString::number(m.wincount);
        case Column::Loss:
            return QString::number(m.losscount);
        case Column::Peace:
            return QString::number(m.peacecount);
        case Column::Flee:
            return QString::number(m.fleecount);
    }
    return {};
}

void RoomMemberModel::sync() {
    for (int r = int(m_rows.size()) - 1; r >= 0; --r) {
        const Row& row = m_rows.at(r);
        if (m_members.at(row.entry).User.UserID == row.userId) continue;
        beginRemoveRows(QModelIndex(), r, r);
        m_rows.removeAt(r);
        endRemoveRows();
    }
    QSet<int> shown;
    for (const Row& row : std::as_const(m_rows)) shown.insert(row.entry);
    QList<Row> added;
    for (int i = 0; i < RoomMembers::kSearched; ++i) {
        const STRU_ROOMUSER& m = m_members.at(i);
        if (!m.isFree() && !shown.contains(i)) added.append({i, m.User.UserID});
    }
    if (!added.isEmpty()) {
        beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + added.size()) - 1);
        m_rows.append(added);
        endInsertRows();
    }
    for (int r = 0; r < m_rows.size(); ++r) m_members.at(m_rows.at(r).entry).obj = r;
}

void RoomMemberModel::refresh() {
    sync();
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, columnCount() - 1));
}

void RoomMemberModel::refreshStatus() {
    sync();
    if (m_rows.isEmpty()) return;
    const int status = int(Column::Status);  // before the optional gold column: same index always
    emit dataChanged(index(0, status), index(int(m_rows.size()) - 1, status), {Qt::DisplayRole});
}

void RoomMemberModel::clear() {
    beginResetModel();
    for (const Row& row : std::as_const(m_rows)) {
        STRU_ROOMUSER& m = m_members.at(row.entry);
        if (m.User.UserID == row.userId) m.obj = -1;
    }
    m_rows.clear();
    endResetModel();
}

}  // namespace velmora::hall
