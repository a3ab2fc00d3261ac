#include "fakehall.h"

#include "contract/PluginFrames.h"
#include "plugin/framework/CustomPluginShare.h"
#include "plugin/framework/PluginInterface50.h"
#include "platform/com/comptr.h"

#include <gtest/gtest.h>

namespace velmora::plugin::test {
namespace {

using com::ComPtr;

class PluginObject : public ::testing::Test {
protected:
    void SetUp() override {
        registerPluginFormClass(kPluginFormClass, [this] {
            auto form = std::make_unique<HeadlessPluginForm>();
            m_form = form.get();
            return form;
        });
        m_plugin = ComPtr<contract::IHallInterface>(new TPluginInterface50);
        m_hall = ComPtr<FakeHall>(new FakeHall);
    }
    void TearDown() override { unregisterPluginFormClass(kPluginFormClass); }

    TCustomPluginShare* share() const { return m_form->customShare(); }

    void initialize() {
        const std::int64_t ownId = 42;
        ASSERT_EQ(m_plugin->SetHallInterface(m_hall.get()), com::S_OK);
        ASSERT_EQ(m_plugin->InitializePlugin(5, "Landlord - Room 1 3\xd7\xc0", "http://h/face?token=t", &ownId,
                                             "me", 12, 0, {18200, 10003, "127.0.0.1"}, "/data/42/", 10),
                  com::S_OK);
    }

    HeadlessPluginForm* m_form = nullptr;
    ComPtr<contract::IHallInterface> m_plugin;
    ComPtr<FakeHall> m_hall;
};

TEST_F(PluginObject, VersionAndHallInterface) {
    std::int32_t version = 0;
    EXPECT_EQ(m_plugin->GetPluginVersion(&version), com::S_OK);
    EXPECT_EQ(version, 1);
    EXPECT_EQ(m_plugin->GetPluginVersion(nullptr), com::E_POINTER);
    EXPECT_EQ(m_plugin->SetHallInterface(m_hall.get()), com::S_OK);
    EXPECT_EQ(m_hall->calls, QStringList{"onGetHallVer"});
    EXPECT_EQ(share()->hallVersion(), 7);
    EXPECT_EQ(m_hall->refCount(), 2u);  // the share keeps a reference
    EXPECT_EQ(m_plugin->SetHallInterface(nullptr), com::S_OK);
    EXPECT_EQ(m_hall->refCount(), 1u);
}

TEST_F(PluginObject, InitializeShowsTheWindowAndStartsTheSession) {
    initialize();
    EXPECT_TRUE(m_form->visible());
    EXPECT_EQ(m_form->caption(), "Landlord - Room 1 3\xd7\xc0");
    EXPECT_EQ(share()->session().ownUserId, 42);
    EXPECT_EQ(share()->session().ownFaceNum, 12);
    EXPECT_EQ(share()->session().videoRoom, 10003);
    EXPECT_EQ(share()->hallDir(), "/opt/velmora/");
    EXPECT_EQ(m_hall->calls,
              (QStringList{"onGetHallVer", "onGetAppPath:5", "onPrepOrder:5", "onPrepOrder:5"}));
    ASSERT_EQ(m_hall->frames.size(), 2u);
    EXPECT_EQ(m_hall->frames[0], contract::buildRefreshUsers(42));
    EXPECT_EQ(m_hall->frames[1], *contract::buildTableFrame(42, contract::SubCode::kUserJoined, {}, false));

    const std::int64_t id = 1;
    EXPECT_EQ(m_plugin->InitializePlugin(0, "c", "u", nullptr, "n", 1, 0, {}, "d", 0), com::E_POINTER);
    EXPECT_EQ(m_plugin->InitializePlugin(0, "c", "u", &id, "n", 65536, 0, {}, "d", 0), com::E_INVALIDARG);
    EXPECT_EQ(m_plugin->InitializePlugin(0, "c", "u", &id, "n", -1, 0, {}, "d", 0), com::E_INVALIDARG);
}

TEST_F(PluginObject, ShowPluginOnlyForStateTwo) {
    for (int state : {0, 1, 3, -2}) EXPECT_EQ(m_plugin->ShowPlugin(state), com::S_OK);
    EXPECT_FALSE(m_form->visible());
    EXPECT_EQ(m_form->raised(), 0);
    EXPECT_EQ(m_plugin->ShowPlugin(2), com::S_OK);
    EXPECT_TRUE(m_form->visible());
    EXPECT_EQ(m_form->raised(), 1);
}

TEST_F(PluginObject, SetUserNameChecksPointersAndCutsTo24Bytes) {
    contract::RoomMemberFields f;
    f.userId = 9;
    share()->members().push_back(contract::makePluginUserInfo(f));
    const std::int64_t id = 9;
    const std::int64_t unknown = 10;
    EXPECT_EQ(m_plugin->SetUserName(nullptr, "x", 1, 0, 0), com::E_POINTER);
    EXPECT_EQ(m_plugin->SetUserName(&id, nullptr, 1, 0, 0), com::E_POINTER);
    EXPECT_EQ(m_plugin->SetUserName(&id, "x", 70000, 0, 0), com::E_INVALIDARG);
    EXPECT_EQ(m_plugin->SetUserName(&unknown, "x", 1, 0, 0), com::S_OK);
    // 23 ASCII bytes and a two-byte character: the character would end at byte 25, so it goes.
    const QByteArray name = QByteArray(23, 'a') + "\xd5\xc5" + "tail";
    EXPECT_EQ(m_plugin->SetUserName(&id, name.constData(), 300, 0, 0), com::S_OK);
    const auto& m = share()->members().front();
    EXPECT_EQ(QByteArray(m.NickName, 24), QByteArray(23, 'a') + '\0');
    EXPECT_EQ(m.FaceNum, 300);
    EXPECT_EQ(m_plugin->SetUserName(&id, QByteArray(30, 'b').constData(), 1, 0, 0), com::S_OK);
    EXPECT_EQ(QByteArray(m.NickName, 24), QByteArray(24, 'b'));
}

TEST_F(PluginObject, ShowChatTextReadsLenBytesAtMost) {
    QList<QByteArray> lines;
    share()->onChatText = [&](const QByteArray& t) { lines << t; };
    EXPECT_EQ(m_plugin->ShowChatText(3, "hello"), com::S_OK);
    EXPECT_EQ(m_plugin->ShowChatText(50, "short"), com::S_OK);  // stops at the terminator
    EXPECT_EQ(m_plugin->ShowChatText(3, "ab\xd5\xc5"), com::S_OK);  // no half character
    EXPECT_EQ(m_plugin->ShowChatText(0, nullptr), com::S_OK);
    EXPECT_EQ(m_plugin->ShowChatText(4, nullptr), com::E_POINTER);
    EXPECT_EQ(m_plugin->ShowChatText(-1, "x"), com::E_INVALIDARG);
    EXPECT_EQ(lines, (QList<QByteArray>{"hel", "short", "ab"}));
}

TEST_F(PluginObject, PrepCommandCopiesBoundedFrames) {
    const QByteArray frame = contract::buildReady(3);
    EXPECT_EQ(m_plugin->PrepCommand(frame.size(), reinterpret_cast<const std::uint8_t*>(frame.constData())), com::S_OK);
    EXPECT_EQ(m_plugin->PrepCommand(0, nullptr), com::S_OK);
    EXPECT_EQ(m_plugin->PrepCommand(-5, nullptr), com::S_OK);
    EXPECT_EQ(m_plugin->PrepCommand(4, nullptr), com::E_POINTER);
    EXPECT_EQ(m_plugin->PrepCommand(contract::kMaxUserListFrame + 1,
                                    reinterpret_cast<const std::uint8_t*>(frame.constData())),
              com::E_INVALIDARG);
    EXPECT_EQ(share()->commandCount(), 1);
}

TEST_F(PluginObject, FinalizeOnceAndSurvivesTheHallReleasingIt) {
    initialize();
    m_hall->frames.clear();
    // The hall drops its reference from inside onClosedCOM, as the room client does.
    m_hall->whenClosed = [this] { m_plugin.reset(); };
    contract::IHallInterface* raw = m_plugin.get();
    const auto live = com::module::liveObjects();
    EXPECT_EQ(raw->FinalizePlugin(0), com::S_OK);
    EXPECT_FALSE(m_plugin);
    EXPECT_EQ(com::module::liveObjects(), live - 1);  // gone once the call had returned
    ASSERT_EQ(m_hall->frames.size(), 1u);
    EXPECT_EQ(m_hall->frames[0].toHex(' '), "0b 2a 00 00 00 00 00 00 00");
    EXPECT_TRUE(m_hall->calls.contains("onClosedCOM:5"));
}

TEST(PluginObjectWithoutForm, EveryMethodIsANoOperation) {
    unregisterPluginFormClass(kPluginFormClass);
    ComPtr<contract::IHallInterface> plugin(new TPluginInterface50);
    ComPtr<FakeHall> hall(new FakeHall);
    std::int32_t version = 0;
    EXPECT_EQ(plugin->GetPluginVersion(&version), com::S_OK);
    EXPECT_EQ(version, -1);
    const std::int64_t id = 1;
    EXPECT_EQ(plugin->SetHallInterface(hall.get()), com::S_OK);
    EXPECT_EQ(plugin->InitializePlugin(0, "c", "u", &id, "n", 1, 0, {}, "d", 0), com::S_OK);
    EXPECT_EQ(plugin->ShowPlugin(2), com::S_OK);
    EXPECT_EQ(plugin->FinalizePlugin(0), com::S_OK);
    EXPECT_EQ(plugin->PrepCommand(1, reinterpret_cast<const std::uint8_t*>("x")), com::S_OK);
    EXPECT_TRUE(hall->calls.isEmpty());
    EXPECT_EQ(hall->refCount(), 1u);
}

}  // namespace
}  // namespace velmora::plugin::test
