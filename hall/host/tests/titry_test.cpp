#include "fakeroom.h"

#include "contract/PluginFrames.h"
#include "plugin/framework/CustomPluginShare.h"
#include "plugin/framework/PluginInterface50.h"

#include <cstring>
#include <gtest/gtest.h>

namespace velmora::hall::test {
namespace {

using com::ComPtr;

ComPtr<TITryPluginInterface> makeHall(FakeRoom& room, const QString& appPath) {
    return ComPtr<TITryPluginInterface>(new TITryPluginInterface(room, appPath, "http://127.0.0.1:18080/ad"));
}

TEST(TITryPluginInterface, AppPathAlwaysEndsInASeparatorAndFitsTheBuffer) {
    FakeRoom room;
    const struct {
        QString folder;
        QByteArray expected;  // empty: refused
    } cases[] = {
        {"/opt/velmora", "/opt/velmora/"},
        {"/opt/velmora/", "/opt/velmora/"},
        {QStringLiteral("/home/张/"), "/home/\xd5\xc5/"},
        {"/" + QString(257, 'a'), "/" + QByteArray(257, 'a') + "/"},  // 259 bytes and the zero: fits
        {"/" + QString(258, 'a'), {}},                                 // 260 and the zero: refused
        {"", {}},
    };
    for (const auto& c : cases) {
        auto hall = makeHall(room, c.folder);
        char buffer[300];
        std::memset(buffer, 0x55, sizeof buffer);
        const com::HRESULT r = hall->onGetAppPath(0, buffer);
        if (c.expected.isEmpty()) {
            EXPECT_TRUE(com::failed(r)) << c.folder.toStdString();
            EXPECT_EQ(buffer[0], '\0');
        } else {
            ASSERT_EQ(r, com::S_OK) << c.folder.toStdString();
            EXPECT_EQ(QByteArray(buffer), c.expected);
        }
        for (int i = 260; i < 300; ++i) ASSERT_EQ(buffer[i], 0x55) << "wrote past 260 bytes";
    }
    EXPECT_EQ(makeHall(room, "/x")->onGetAppPath(0, nullptr), com::E_POINTER);
}

TEST(TITryPluginInterface, LeavesCallerValuesAlone) {
    FakeRoom room;
    auto hall = makeHall(room, "/x/");
    std::int32_t version = 1234;
    EXPECT_EQ(hall->onGetHallVer(&version), com::S_OK);
    EXPECT_EQ(version, 1234);
    EXPECT_EQ(hall->onGetHallVer(nullptr), com::S_OK);
    for (bool start : {true, false}) {
        bool allowed = start;
        EXPECT_EQ(hall->onFilterWord(0, "word", 1, &allowed), com::S_OK);
        EXPECT_EQ(allowed, start);
    }
    const char* url = nullptr;
    EXPECT_EQ(hall->onRequestAd(0, 1, &url), com::S_OK);
    EXPECT_STREQ(url, "http://127.0.0.1:18080/ad");
    EXPECT_EQ(hall->onRequestAd(0, 1, nullptr), com::E_POINTER);
}

TEST(TITryPluginInterface, PrepOrderAndClosedGoToTheRoomClient) {
    FakeRoom room;
    auto hall = makeHall(room, "/x/");
    const QByteArray frame = contract::buildReady(7);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(frame.constData());
    EXPECT_EQ(hall->onPrepOrder(0, 0, frame.size(), bytes), com::S_OK);
    EXPECT_EQ(hall->onPrepOrder(0, 0, 0, bytes), com::S_OK);
    EXPECT_EQ(hall->onPrepOrder(0, 0, -1, nullptr), com::S_OK);
    EXPECT_EQ(hall->onPrepOrder(0, 0, 3, nullptr), com::E_POINTER);
    EXPECT_EQ(hall->onPrepOrder(0, 0, contract::kMaxUserListFrame + 1, bytes), com::E_INVALIDARG);
    ASSERT_EQ(room.frames.size(), 1u);
    EXPECT_EQ(room.frames[0], frame);

    // The room client drops the callback object from inside onClosedCOM.
    TITryPluginInterface* raw = hall.get();
    room.whenClosed = [&] { hall.reset(); };
    const long live = com::module::liveObjects();
    EXPECT_EQ(raw->onClosedCOM(9), com::S_OK);
    EXPECT_EQ(room.closed, std::vector<std::int64_t>{9});
    EXPECT_EQ(com::module::liveObjects(), live - 1);
}

TEST(TITryPluginInterface, AskUserInfoSetsTheNameInThePlugin) {
    plugin::HeadlessPluginForm* form = nullptr;
    plugin::registerPluginFormClass(plugin::kPluginFormClass, [&] {
        auto f = std::make_unique<plugin::HeadlessPluginForm>();
        form = f.get();
        return f;
    });
    FakeRoom room;
    room.openPlugin = ComPtr<contract::IHallInterface>(new plugin::TPluginInterface50);
    contract::RoomMemberFields m;
    m.userId = 77;
    form->customShare()->members().push_back(contract::makePluginUserInfo(m));
    room.members[77] = {QByteArray(20, 'x') + "\xd5\xc5\xd5\xc5", 31};  // 28 bytes: cut to 24
    auto hall = makeHall(room, "/x/");
    EXPECT_EQ(hall->onAskUserInfo(0, 78), com::S_OK);  // not in the room: nothing
    EXPECT_EQ(hall->onAskUserInfo(0, 77), com::S_OK);
    const auto& member = form->customShare()->members().front();
    EXPECT_EQ(QByteArray(member.NickName, 24), QByteArray(20, 'x') + "\xd5\xc5\xd5\xc5");
    EXPECT_EQ(member.FaceNum, 31);
    room.members[77].faceNum = 70000;  // the plug-in refuses it: a failure, reported
    EXPECT_TRUE(com::failed(hall->onAskUserInfo(0, 77)));
    room.openPlugin.reset();
    EXPECT_EQ(hall->onAskUserInfo(0, 77), com::S_OK);
    plugin::unregisterPluginFormClass(plugin::kPluginFormClass);
}

}  // namespace
}  // namespace velmora::hall::test
