#pragma once
// The game tree of the main window (trvLeft): loads the game and room lists once, shows them
// through GameTreeModel, follows the online counts, and opens games and rooms on a
// double-click. The decisions live in the core (gametreeload.h, treeopen.h); this class asks
// the questions, shows the messages and drives the main window's tabs and the room client.

#include <QObject>
#include <functional>

#include "hall/gametree/gamecatalog.h"
#include "hall/shell/core/gametreeload.h"
#include "hall/shell/core/hallseams.h"
#include "hall/shell/core/treeopen.h"

class QModelIndex;

namespace velmora::hall {

class GameTreeItems;
class GameTreeModel;
class TfrmMain;

class GameTree : public QObject, public IGameTree {
    Q_OBJECT
public:
    // Shows itself in main.trvLeft; owned by `main` (a QObject child).
    explicit GameTree(TfrmMain& main);
    ~GameTree() override;

    // IGameTree
    void LoadLeftTree() override;
    void ApplyOnlineCounts(const OnlineCounts& counts) override;
    void SetRoomOnline(qint32 roomId, qint32 onlinecount) override;

    const GameCatalog& catalog() const { return m_catalog; }
    // The index of a node in trvLeft's model.
    QModelIndex indexOfNode(NodeId node) const;
    // Opens a node as a double-click on it does (after the manual expansion guard).
    void openNode(NodeId node);

    // How the lists are fetched: HttpRequest POST (3 retries, 60 000 ms) unless replaced.
    TreePost post;
    // Starts the updater with a game's downloadxml: RunUpdater unless replaced.
    std::function<bool(const QString& parameters)> runUpdater;
    // The installed games the entry checks look at; the files on disk unless replaced (not
    // owned).
    void setInstalledGames(const InstalledGames* installed) { m_installed = installed; }

signals:
    // The lists have been read (or have failed); the tree is as complete as it will get.
    void treeLoaded(TreeLoad result);

private:
    void trvLeftDblClick(const QModelIndex& index);
    void carryOut(const NodeOpening& opening);
    void carryOutRoom(const NodeOpening& opening);
    void offerLastRoom();
    void applyExpansion(const QModelIndex& parent);
    OpenContext openContext() const;
    QString settingPath() const;

    TfrmMain& m_main;
    GameCatalog m_catalog;
    GameTreeModel* m_model;
    GameTreeItems* m_items;
    InstalledGameFiles m_files;
    const InstalledGames* m_installed = &m_files;
    bool m_loadStarted = false;
};

}  // namespace velmora::hall
