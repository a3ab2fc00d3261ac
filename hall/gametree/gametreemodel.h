#pragma once
// The game tree as a Qt item model over a GameCatalog; the tree view `trvLeft` shows it.
// New nodes reset the model (the view then re-applies ExpandedRole); text changes only emit
// dataChanged, so the player's own expanding and collapsing survives the online refresh.

#include <QAbstractItemModel>

#include "hall/gametree/gamecatalog.h"

namespace velmora::hall {

class GameTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role {
        NodeIdRole = Qt::UserRole + 1,  // NodeId
        IconIndexRole,                   // image index of the node
        ExpandedRole,                    // the list's wish to show the node expanded
        KindRole,                        // NodeKind as int
    };

    explicit GameTreeModel(GameCatalog& catalog, QObject* parent = nullptr);
    ~GameTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    QModelIndex indexOfNode(NodeId id) const;
    NodeId nodeOf(const QModelIndex& index) const;

private:
    void catalogChanged();
    const std::vector<NodeId>& childrenOf(NodeId id) const;

    GameCatalog& m_catalog;
    size_t m_shownNodes = 0;
};

}  // namespace velmora::hall
