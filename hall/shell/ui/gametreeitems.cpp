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

QVariant GameTreeItems::data(const QModelIndex& index, int role) const {
    if (role == Qt::DecorationRole) {
        bool ok = false;
        const int image = QIdentityProxyModel::data(index, GameTreeModel::IconIndexRole).toInt(&ok);
        if (ok && image >= 0 && image < m_images.size()) return m_images[image];
        return {};
    }
    return QIdentityProxyModel::data(index, role);
}

}  // namespace velmora::hall
