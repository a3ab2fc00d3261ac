#include "hall/shell/ui/gametreeitems.h"

#include <QFileInfo>

#include "hall/gametree/gametreemodel.h"

namespace velmora::hall {

// More pictures than any list uses; a folder of stray files cannot grow the list without end.
static constexpr int kMaxImages = 256;

GameTreeItems::GameTreeItems(QObject* parent) : QIdentityProxyModel(parent) {}

void GameTreeItems::loadImageList(const QString& appPath) {
    m_images.clear();
    for (int n = 0; n < kMaxImages; ++n) {
        const QString file = appPath + QStringLiteral("images/tree/%1.png").arg(n);
        if (!QFileInfo::exists(file)) break;
        m_images.push_back(QIcon(file));
    }
}

void GameTreeItems::setNodeTexts(const NodeTexts& texts) {
    NodeTexts changed = texts;
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it)
        if (!changed.contains(it.key())) changed.insert(it.key(), QString());
    m_texts = texts;
    if (!sourceModel()) return;
    auto* tree = qobject_cast<GameTreeModel*>(sourceModel());
    if (!tree) return;
    for (auto it = changed.cbegin(); it != changed.cend(); ++it) {
        const QModelIndex index = mapFromSource(tree->indexOfNode(it.key()));
        if (index.isValid()) emit dataChanged(index, index, {Qt::DisplayRole});
    }
}

QVariant GameTreeItems::data(const QModelIndex& index, int role) const {
    if (role == Qt::DisplayRole) {
        const NodeId node = QIdentityProxyModel::data(index, GameTreeModel::NodeIdRole).toInt();
        const auto it = m_texts.constFind(node);
        if (index.isValid() && it != m_texts.cend()) return *it;
    } else if (role == Qt::DecorationRole) {
        bool ok = false;
        const int image = QIdentityProxyModel::data(index, GameTreeModel::IconIndexRole).toInt(&ok);
        if (ok && image >= 0 && image < m_images.size()) return m_images[image];
        return {};
    }
    return QIdentityProxyModel::data(index, role);
}

}  // namespace velmora::hall
