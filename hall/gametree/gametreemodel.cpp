#include "hall/gametree/gametreemodel.h"

#include <algorithm>

namespace velmora::hall {

GameTreeModel::GameTreeModel(GameCatalog& catalog, QObject* parent)
    : QAbstractItemModel(parent), m_catalog(catalog) {
    m_catalog.onChanged = [this] { catalogChanged(); };
    m_shownNodes = m_catalog.nodeCount();
}

GameTreeModel::~GameTreeModel() { m_catalog.onChanged = nullptr; }

const std::vector<NodeId>& GameTreeModel::childrenOf(NodeId id) const {
    return id == kNoNode ? m_catalog.roots() : m_catalog.node(id).children;
}

QModelIndex GameTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    const auto& children = childrenOf(nodeOf(parent));
    if (row >= static_cast<int>(children.size())) return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<size_t>(row)]));
}

QModelIndex GameTreeModel::parent(const QModelIndex& child) const {
    const NodeId id = nodeOf(child);
    if (id == kNoNode) return {};
    return indexOfNode(m_catalog.node(id).parent);
}

QModelIndex GameTreeModel::indexOfNode(NodeId id) const {
    if (!m_catalog.validNode(id)) return {};
    const auto& siblings = childrenOf(m_catalog.node(id).parent);
    const auto it = std::find(siblings.begin(), siblings.end(), id);
    if (it == siblings.end()) return {};
    return createIndex(static_cast<int>(it - siblings.begin()), 0, static_cast<quintptr>(id));
}

NodeId GameTreeModel::nodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return kNoNode;
    const auto id = static_cast<NodeId>(index.internalId());
    return m_catalog.validNode(id) ? id : kNoNode;
}

int GameTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && nodeOf(parent) == kNoNode) return 0;
    return static_cast<int>(childrenOf(nodeOf(parent)).size());
}

int GameTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant GameTreeModel::data(const QModelIndex& index, int role) const {
    const NodeId id = nodeOf(index);
    if (id == kNoNode) return {};
    const TreeNode& n = m_catalog.node(id);
    switch (role) {
    case Qt::DisplayRole:
        return n.text;
    case Qt::ToolTipRole:
        return m_catalog.hintFor(id);
    case NodeIdRole:
        return id;
    case IconIndexRole:
        return n.icon;
    case ExpandedRole:
        return n.expanded;
    case KindRole:
        return static_cast<int>(n.kind);
    default:
        return {};
    }
}

void GameTreeModel::catalogChanged() {
    const size_t count = m_catalog.nodeCount();
    if (count != m_shownNodes) {
        beginResetModel();
        m_shownNodes = count;
        endResetModel();
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        const QModelIndex idx = indexOfNode(static_cast<NodeId>(i));
        emit dataChanged(idx, idx, {Qt::DisplayRole, Qt::ToolTipRole, IconIndexRole});
    }
}

}  // namespace velmora::hall
