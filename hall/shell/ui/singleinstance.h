#pragma once
// One hall per user: a lock file held while the hall runs, and a local server through which a
// second start asks the running hall to raise and flash its window.

#include <QLockFile>
#include <QObject>
#include <functional>
#include <memory>

class QLocalServer;

namespace velmora::hall {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `name` identifies the hall (the application title); the user id is added to it.
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // False when another process holds the lock.
    bool acquire();
    void release();
    // Tells the running instance to raise its window; false when it cannot be reached.
    bool signalRunning();

    // Called in the running instance when a second start knocked.
    std::function<void()> onRaise;

private:
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

}  // namespace velmora::hall
