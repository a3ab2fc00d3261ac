#include <gtest/gtest.h>

#include "hall/foundation/hallcontext.h"
#include "hall/shell/core/startup.h"

#include <QTemporaryDir>

using namespace velmora::hall;

namespace {

// Records the steps the sequence takes; each decision is set by the test.
class FakeStartupHost : public StartupHost {
public:
    QTemporaryDir dir;
    velmora::platform::RegistryStore store{dir.path() + QStringLiteral("/registry.json")};
    bool otherInstance = false;
    bool sessionOk = true;
    bool loginOk = true;
    QString exitMessage;  // set by the "main window"
    bool retry = false;
    QStringList steps;
    QString reloginText;
    QString exitUrl;

    bool acquireSingleInstance() override {
        steps << "lock";
        return !otherInstance;
    }
    void activateRunningInstance() override { steps << "raise"; }
    void releaseSingleInstance() override { steps << "unlock"; }
    QString programFolder() override { return dir.path() + QStringLiteral("/"); }
    QString documentsFolder() override { return dir.path() + QStringLiteral("/docs/"); }
    velmora::platform::RegistryStore& registry() override { return store; }
    bool getSession() override {
        steps << "session";
        if (sessionOk) {
            HallContext::instance().Token = QStringLiteral("T9");
            HallContext::instance().ServiceValues.insert(QStringLiteral("exiturl"),
                                                         QStringLiteral("http://h/user/exit.php"));
        }
        return sessionOk;
    }
    void runLogin() override {
        steps << "login";
        HallContext::instance().LoginOK = loginOk;
    }
    void runMainWindow() override {
        steps << "main";
        HallContext::instance().ExitMessage = exitMessage;
    }
    bool askRelogin(const QString& text) override {
        steps << "ask";
        reloginText = text;
        return retry;
    }
    bool restartProgram() override {
        steps << "restart";
        return true;
    }
    void sendExitRequest(const QString& url) override {
        steps << "exit";
        exitUrl = url;
    }
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { HallContext::reset(); }
    void TearDown() override { HallContext::reset(); }
    FakeStartupHost host;
};

}  // namespace

TEST_F(StartupTest, ASecondInstanceRaisesTheFirstAndSendsNothing) {
    host.otherInstance = true;
    EXPECT_EQ(RunStartup(host), StartupEnd::SecondInstance);
    EXPECT_EQ(host.steps, (QStringList{"lock", "raise"}));
}

TEST_F(StartupTest, ANormalRunEndsWithTheExitNotice) {
    EXPECT_EQ(RunStartup(host), StartupEnd::Closed);
    EXPECT_EQ(host.steps, (QStringList{"lock", "session", "login", "main", "exit"}));
    EXPECT_EQ(host.exitUrl, QStringLiteral("http://h/user/exit.php?token=T9"));
    const HallContext& c = HallContext::instance();
    EXPECT_EQ(c.AppPath, host.dir.path() + QStringLiteral("/"));
    EXPECT_EQ(c.UpdateTime, QStringLiteral("1.3.64.51"));  // no game.ini
    EXPECT_FALSE(c.DebugLogOn);
}

TEST_F(StartupTest, CancelledLoginOpensNoMainWindowButSendsTheExitNotice) {
    host.loginOk = false;
    EXPECT_EQ(RunStartup(host), StartupEnd::LoginCancelled);
    EXPECT_EQ(host.steps, (QStringList{"lock", "session", "login", "exit"}));
}

TEST_F(StartupTest, NoSessionSkipsTheLoginAndHasNoAddressToNotify) {
    host.sessionOk = false;
    EXPECT_EQ(RunStartup(host), StartupEnd::NoSession);
    EXPECT_EQ(host.steps, (QStringList{"lock", "session"}));
}

TEST_F(StartupTest, AnExpiredSessionOffersANewLogin) {
    host.exitMessage = QStringLiteral("过期");
    host.retry = true;
    EXPECT_EQ(RunStartup(host), StartupEnd::Restarted);
    EXPECT_EQ(host.steps,
              (QStringList{"lock", "session", "login", "main", "ask", "unlock", "restart", "exit"}));
    EXPECT_EQ(host.reloginText, QStringLiteral("过期\r重试重新登录，取消退出游戏"));

    host.steps.clear();
    host.retry = false;
    EXPECT_EQ(RunStartup(host), StartupEnd::Closed);
    EXPECT_EQ(host.steps, (QStringList{"lock", "session", "login", "main", "ask", "exit"}));
}
