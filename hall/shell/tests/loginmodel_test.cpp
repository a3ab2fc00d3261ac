#include <gtest/gtest.h>

#include "hall/foundation/localsettings.h"
#include "hall/foundation/publicfunc.h"
#include "hall/shell/core/loginmodel.h"
#include "hall/shell/tests/writefailure.h"

#include <QTemporaryDir>

using namespace velmora::hall;
using velmora::platform::RegistryStore;

namespace {

class AccountsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RegistryStore store{dir.path() + QStringLiteral("/registry.json")};
    RememberedAccounts accounts{store};

    QStringList users() {
        QStringList names;
        for (const RememberedAccount& a : accounts.load())
            names << a.user;
        return names;
    }
};

const QString kHashA = Md5Hex(QStringLiteral("secretA"));
const QString kHashB = Md5Hex(QStringLiteral("secretB"));

}  // namespace

TEST_F(AccountsTest, TheLastLoginComesFirstAndItsOldPlaceIsSkipped) {
    ASSERT_TRUE(accounts.save({QStringLiteral("alice"), kHashA, kLoginTypeUserName}, {}));
    ASSERT_TRUE(accounts.save({QStringLiteral("10002"), kHashB, kLoginTypeUserId},
                              accounts.load()));
    ASSERT_TRUE(accounts.save({QStringLiteral("carol"), QString(), kLoginTypeUserName},
                              accounts.load()));
    EXPECT_EQ(users(), (QStringList{"carol", "10002", "alice"}));
    // alice logs in again: entry 0, and the entry she had is not written a second time.
    ASSERT_TRUE(accounts.save({QStringLiteral("alice"), kHashA, kLoginTypeUserName},
                              accounts.load()));
    EXPECT_EQ(users(), (QStringList{"alice", "carol", "10002"}));
    const QList<RememberedAccount> loaded = accounts.load();
    EXPECT_EQ(loaded[0].pass, kHashA);
    EXPECT_EQ(loaded[1].pass, QString());
    EXPECT_EQ(loaded[2].type, kLoginTypeUserId);
    // Only the values of the three accounts are left in the key.
    EXPECT_EQ(store.valueNames(kRegistryUserKey).size(), 9);
    EXPECT_EQ(store.readString(kRegistryUserKey, QStringLiteral("user0")), QStringLiteral("alice"));
}

TEST_F(AccountsTest, AFailedRewriteKeepsTheRememberedAccounts) {
    ASSERT_TRUE(accounts.save({QStringLiteral("alice"), kHashA, kLoginTypeUserName}, {}));
    ASSERT_TRUE(accounts.save({QStringLiteral("bob"), kHashB, kLoginTypeUserName}, accounts.load()));
    {
        FileWritesFail failing;
        EXPECT_FALSE(accounts.save({QStringLiteral("carol"), QString(), kLoginTypeUserName},
                                   accounts.load()));
    }
    EXPECT_EQ(users(), (QStringList{"bob", "alice"}));
    EXPECT_EQ(accounts.load()[1].pass, kHashA);
}

TEST_F(AccountsTest, LoadOrdersByNumberAndSkipsRepeats) {
    store.writeStrings(kRegistryUserKey, {{"user3", "dave"},
                                          {"type3", "username"},
                                          {"USER0", "bob"},
                                          {"Pass0", kHashB},
                                          {"user1", "bob"},
                                          {"userx", "eve"}});
    const QList<RememberedAccount> loaded = accounts.load();
    ASSERT_EQ(loaded.size(), 3);
    EXPECT_EQ(loaded[0].user, QStringLiteral("bob"));
    EXPECT_EQ(loaded[0].pass, kHashB);  // names compared without regard to case
    EXPECT_EQ(loaded[1].user, QStringLiteral("dave"));
    EXPECT_EQ(loaded[2].user, QStringLiteral("eve"));
}

TEST(LoginModel, TheRememberedHashIsSentUntilThePasswordIsEdited) {
    LoginModel model;
    model.setAccounts({{QStringLiteral("10002"), kHashB, kLoginTypeUserId},
                       {QStringLiteral("carol"), QString(), kLoginTypeUserName}});
    LoginModel::Selection s = model.select(0);
    EXPECT_TRUE(s.byUserId);
    EXPECT_TRUE(s.savePassword);
    EXPECT_EQ(s.passwordText, kPasswordPlaceholder);
    // The dialog puts the placeholder into the box: that change keeps the remembered hash.
    model.passwordChanged(s.passwordText);
    EXPECT_EQ(model.loginPass(), kHashB);
    // Any later edit replaces it with the hash of what is typed.
    model.passwordChanged(QStringLiteral("******"));
    EXPECT_EQ(model.loginPass(), Md5Hex(QStringLiteral("******")));

    s = model.select(1);
    EXPECT_FALSE(s.byUserId);
    EXPECT_FALSE(s.savePassword);
    EXPECT_TRUE(s.passwordText.isEmpty());
    model.passwordChanged(QStringLiteral("velmora"));
    EXPECT_EQ(model.loginPass(), Md5Hex(QStringLiteral("velmora")));
}

TEST(LoginForm, AccountIsBase64ThenPercentEncoded) {
    // "贝贝" in GBK is B1 B4 B1 B4: Base64 "sbSxtA==", whose "=" are percent-encoded.
    EXPECT_EQ(LoginForm(QStringLiteral("贝贝"), kHashA, QStringLiteral("T"), false),
              QStringLiteral("username=sbSxtA%3D%3D&password=") + kHashA +
                  QStringLiteral("&token=T&logintype=username"));
    EXPECT_TRUE(LoginForm(QStringLiteral("10001"), kHashA, QStringLiteral("T"), true)
                    .endsWith(QStringLiteral("&logintype=userid")));
}

struct ReplyCase {
    const char* reply;
    bool ok;
    const char* message;
};

class LoginReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(LoginReplyTest, ErridDecides) {
    const ReplyCase& c = GetParam();
    const LoginResult r = ParseLoginReply(QString::fromUtf8(c.reply), kHashA);
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.message, QString::fromUtf8(c.message));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LoginReplyTest,
    ::testing::Values(
        ReplyCase{"", false, "登录失败，请检查你的用户名密码是否正确!"},
        ReplyCase{"not xml at all", false, "登录失败，请检查你的用户名密码是否正确!"},
        ReplyCase{"<login><errid>200</errid>", false, "登录失败，请检查你的用户名密码是否正确!"},
        ReplyCase{"<login><errid>405</errid></login>", false,
                  "登录失败，您的账号正在使用中，请稍后再试。"},
        ReplyCase{"<login><errid>406</errid></login>", false,
                  "登录失败，您的账号被管理员锁定，请与管理员联系后再试。"},
        ReplyCase{"<login><errid>401</errid></login>", false,
                  "登录失败，请检查你的用户名密码是否正确。"},
        ReplyCase{"<login><id>MQ==</id></login>", false, "登录失败，请检查你的用户名密码是否正确。"},
        ReplyCase{"<login><errid>200</errid></login>", true, ""}));

TEST(LoginReply, SuccessFillsThePlayer) {
    // Base64 of the GBK bytes: "贝贝" sbSxtA==, "10002" MTAwMDI=, "37" Mzc=, "-5" LTU=.
    const LoginResult r = ParseLoginReply(
        QStringLiteral("<?xml version=\"1.0\"?><login><errid>200</errid><id>MTAwMDI=</id>"
                       "<username>sbSxtA==</username><money>LTU=</money><level>Mzc=</level>"
                       "<vipid>eA==</vipid><show>sbSxtA==</show></login>"),
        kHashA);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.user.UserID, 10002);
    EXPECT_EQ(r.user.UserName, QStringLiteral("贝贝"));
    EXPECT_EQ(r.user.FaceNum, 1);  // face missing
    EXPECT_EQ(r.user.Gold, -5);
    EXPECT_EQ(r.user.Level, 37);
    EXPECT_EQ(r.user.VIPLevel, 0);  // "x" is not a number
    EXPECT_EQ(r.user.Usershow, QStringLiteral("贝贝"));
    EXPECT_EQ(r.user.Password, kHashA);
}

TEST(LoginTicket, AReplyAfterCancelIsNotCurrent) {
    LoginTicket ticket;
    const quint64 first = ticket.begin();
    EXPECT_TRUE(ticket.isCurrent(first));
    ticket.cancel();
    EXPECT_FALSE(ticket.isCurrent(first));
    const quint64 second = ticket.begin();
    EXPECT_TRUE(ticket.isCurrent(second));
    EXPECT_FALSE(ticket.isCurrent(first));
}
