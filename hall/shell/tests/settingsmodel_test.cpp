#include <gtest/gtest.h>

#include "hall/shell/core/settingsmodel.h"
#include "hall/shell/tests/writefailure.h"

#include <QTemporaryDir>

using namespace velmora::hall;
using velmora::platform::RegistryStore;

namespace {

class NetSettingTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RegistryStore store{dir.path() + QStringLiteral("/registry.json")};
};

}  // namespace

TEST_F(NetSettingTest, RoundTripsThroughTheRegistry) {
    EXPECT_EQ(ReadNetSettingForm(store), NetSettingForm{});
    EXPECT_TRUE(store.keyExists(kRegistryNetKey));  // created when missing
    NetSettingForm form{true, 2, "proxy.lan", "1080", "u", "p w", "CORP"};
    ASSERT_TRUE(WriteNetSetting(store, form));
    EXPECT_EQ(ReadNetSettingForm(store), form);
    EXPECT_EQ(store.readString(kRegistryNetKey, "proxy"), "1");
    EXPECT_EQ(store.readString(kRegistryNetKey, "proxytype"), "2");
    NetSetting net;
    ApplyNetSetting(form, net);
    EXPECT_TRUE(net.ProxyOn);
    EXPECT_EQ(net.ProxyType, 2);
    EXPECT_EQ(net.server, "proxy.lan");
    EXPECT_EQ(net.domain, "CORP");
}

TEST_F(NetSettingTest, AProxyTypeThatIsNotOneOfTheThreeReadsAsHttp) {
    for (const char* text : {"socks", "7", "-1", ""}) {
        store.writeString(kRegistryNetKey, "proxytype", QString::fromLatin1(text));
        EXPECT_EQ(ReadNetSettingForm(store).proxyType, 0) << text;
    }
}

TEST_F(NetSettingTest, AFailedWriteIsReportedAndChangesNothing) {
    NetSettingForm before{true, 1, "a", "1", "", "", ""};
    ASSERT_TRUE(WriteNetSetting(store, before));
    {
        FileWritesFail failing;
        EXPECT_FALSE(WriteNetSetting(store, NetSettingForm{}));
    }
    EXPECT_EQ(ReadNetSettingForm(store), before);
}

TEST(NetSettingCheck, ProxyNeedsServerThenPort) {
    EXPECT_FALSE(CheckNetSetting(NetSettingForm{false, 0, "", "", "", "", ""}));
    auto p = CheckNetSetting(NetSettingForm{true, 0, "", "", "", "", ""});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->field, NetField::Server);
    EXPECT_EQ(p->message, QStringLiteral("代理服务器的地址不能为空!"));
    p = CheckNetSetting(NetSettingForm{true, 0, "h", "", "", "", ""});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->field, NetField::Port);
    EXPECT_EQ(p->message, QStringLiteral("代理服务器的端口不能为空!"));
    EXPECT_FALSE(CheckNetSetting(NetSettingForm{true, 0, "h", "8080", "", "", ""}));
}

TEST(GameSettingInput, FiltersAndFleeNumber) {
    const QString typed = QStringLiteral("aZ09 -_\b中");
    QString flee, pass;
    for (QChar c : typed) {
        if (FleeNumberCharAllowed(c))
            flee += c;
        if (DeskPasswordCharAllowed(c))
            pass += c;
    }
    EXPECT_EQ(flee, QStringLiteral("09"));
    EXPECT_EQ(pass, QStringLiteral("aZ09"));
    EXPECT_EQ(FleeNumberFromText(QString()), 0);
    EXPECT_EQ(FleeNumberFromText(QStringLiteral("x1")), 0);
    EXPECT_EQ(FleeNumberFromText(QStringLiteral("07")), 7);
    EXPECT_EQ(FleeNumberFromText(QStringLiteral("99")), 99);
    EXPECT_EQ(FleeNumberFromText(QStringLiteral("123")), 0);
}

TEST(GameSettingPost, CarriesThreeValues) {
    STRU_GAMESETTING s;
    s.sameip = true;
    s.fleesetting = false;
    s.fleenumber = 0;
    EXPECT_EQ(SaveSettingForm(QStringLiteral("T"), s),
              QStringLiteral("token=T&setsameip=1&setflee=0&setfleenum=0"));
}
