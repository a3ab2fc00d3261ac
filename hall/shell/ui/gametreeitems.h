#pragma once
// What trvLeft shows of the game tree model: the node pictures from the tree's image list (by
// the list's icon index) and the texts of the online refresh over the lists' texts.

#include <QIcon>
#include <QIdentityProxyModel>
#include <QVector>

#include "hall/shell/core/gametreeload.h"

namespace velmora::hall {

class GameTreeItems : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit GameTreeItems(QObject* parent = nullptr);

    // The image list: "images/tree/<n>.png" below `appPath` for n = 0, 1, ... up to the first
    // missing picture. An index without a picture shows none.
    void loadImageList(const QString& appPath);
    int imageCount() const { return m_images.size(); }

    QVariant data(const QModelIndex& index, int role) const override;

private:
    QVector<QIcon> m_images;
};

}  // namespace velmora::hall
