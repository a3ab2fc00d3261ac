// The hall and the real plug-in library: registered with velmora-regsvr, created by class id,
// driven through the contract.

#include "fakeroom.h"

#include "contract/PluginFrames.h"
#include "hall/host/RegisterGameDll.h"
#include "platform/com/classregistry.h"
#include "platform/com/cocreate.h"
#include "platform/com/versioninfo.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmora::hall::test {
namespace {

using com::ComPtr;

const com::CLSID kQuellmark = *com::guidFromString("{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}");

// A callback object that also records the calls the plug-in makes to it.
class RecordingHall final : public TITryPluginInterface {
public:
    using TITryPluginInterface::TITryPluginInterface;
    QStringList calls;
    HRESULT onGetHallVer(std::int32_t* v) override {
        calls << "onGetHallVer";
        return TITryPluginInterface::onGetHallVer(v);
    }
    HRESULT onGetAppPath(std::int64_t cookie, char* path) override {
        calls << "onGetAppPath";
        return TITryPluginInterface::onGetAppPath(cookie, path);
    }
};

class PluginSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
        m_bin = qEnvironmentVariable("VELMORA_BIN_DIR");
        ASSERT_FALSE(m_bin.isEmpty());
        m_library = m_bin + "/games/libquellmark.so";
    }
    void TearDown() override { com::CoFreeUnusedLibraries(); }

    int regsvr(const QStringList& args) {
        QProcess p;
        p.start(m_bin + "/velmora-regsvr", args);
        EXPECT_TRUE(p.waitForFinished(30000));
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir m_dir;
    QString m_bin;
    QString m_library;
};

TEST_F(PluginSession, RegsvrThenCreateByClassIdAndTalk) {
    ComPtr<contract::IHallInterface> plugin;
    EXPECT_EQ(com::CoCreateInstance(kQuellmark, nullptr, contract::IHallInterface::kIid, plugin.put()),
              com::REGDB_E_CLASSNOTREG);
    ASSERT_EQ(regsvr({"/s", m_library}), 0);

    // The registration agrees with the library's identity.
    com::TFileVersionInfomation identity;
    ASSERT_TRUE(com::ReadVersionInfo(m_library, identity));
    EXPECT_EQ(com::guidFromString(identity.Comments.toStdString()), kQuellmark);
    EXPECT_EQ(com::ClassRegistry().clsidFromProgId("Quellmark.Landlord"), kQuellmark);
    const auto reg = com::ClassRegistry().lookup(kQuellmark);
    ASSERT_TRUE(reg);
    EXPECT_EQ(reg->description, "qmk");
    EXPECT_EQ(reg->threadingModel, "Apartment");

    ASSERT_EQ(com::CoCreateInstance(kQuellmark, nullptr, contract::IHallInterface::kIid, plugin.put()), com::S_OK);
    std::int32_t version = 0;
    ASSERT_EQ(plugin->GetPluginVersion(&version), com::S_OK);
    EXPECT_EQ(version, 1);

    FakeRoom room;
    ComPtr<RecordingHall> hall(new RecordingHall(room, m_dir.path(), "http://ad"));
    ASSERT_EQ(plugin->SetHallInterface(hall.get()), com::S_OK);
    EXPECT_EQ(hall->calls, QStringList{"onGetHallVer"});

    const std::int64_t ownId = 1001;
    ASSERT_EQ(plugin->InitializePlugin(0, "Landlord", "http://h/", &ownId, "me", 3, 0, {0, 0, ""}, "/d/", 10),
              com::S_OK);
    EXPECT_EQ(hall->calls, (QStringList{"onGetHallVer", "onGetAppPath"}));
    ASSERT_EQ(room.frames.size(), 2u);
    EXPECT_EQ(room.frames[0], contract::buildRefreshUsers(ownId));

    // The hall ends the session: the plug-in leaves and tells the hall, which releases it.
    room.whenClosed = [&] { plugin.reset(); };
    ASSERT_EQ(plugin->FinalizePlugin(0), com::S_OK);
    EXPECT_EQ(room.closed, std::vector<std::int64_t>{0});
    EXPECT_FALSE(plugin);
    EXPECT_EQ(hall->refCount(), 1u);  // the plug-in let go of the callback object
    com::CoFreeUnusedLibraries();
    EXPECT_FALSE(com::isLibraryLoaded(m_library));

    ASSERT_EQ(regsvr({"/u", "/s", m_library}), 0);
    EXPECT_FALSE(com::ClassRegistry().clsidFromProgId("Quellmark.Landlord"));
    EXPECT_EQ(com::CoCreateInstance(kQuellmark, nullptr, contract::IHallInterface::kIid, plugin.put()),
              com::REGDB_E_CLASSNOTREG);
}

TEST_F(PluginSession, TwoSessionsAreIndependentObjects) {
    ASSERT_TRUE(RegisterGameDll(m_library));
    ComPtr<contract::IHallInterface> a;
    ComPtr<contract::IHallInterface> b;
    ASSERT_EQ(com::CoCreateInstance(kQuellmark, nullptr, contract::IHallInterface::kIid, a.put()), com::S_OK);
    ASSERT_EQ(com::CoCreateInstance(kQuellmark, nullptr, contract::IHallInterface::kIid, b.put()), com::S_OK);
    EXPECT_NE(a.get(), b.get());
    FakeRoom roomA;
    FakeRoom roomB;
    ComPtr<TITryPluginInterface> hallA(new TITryPluginInterface(roomA, "/a/", ""));
    ComPtr<TITryPluginInterface> hallB(new TITryPluginInterface(roomB, "/b/", ""));
    ASSERT_EQ(a->SetHallInterface(hallA.get()), com::S_OK);
    ASSERT_EQ(b->SetHallInterface(hallB.get()), com::S_OK);
    const std::int64_t idA = 1;
    const std::int64_t idB = 2;
    ASSERT_EQ(a->InitializePlugin(0, "A", "", &idA, "a", 0, 0, {}, "", 0), com::S_OK);
    ASSERT_EQ(b->InitializePlugin(0, "B", "", &idB, "b", 0, 0, {}, "", 0), com::S_OK);
    ASSERT_EQ(roomA.frames.size(), 2u);
    ASSERT_EQ(roomB.frames.size(), 2u);
    EXPECT_EQ(roomA.frames[0], contract::buildRefreshUsers(1));
    EXPECT_EQ(roomB.frames[0], contract::buildRefreshUsers(2));
    a.reset();
    com::CoFreeUnusedLibraries();
    EXPECT_TRUE(com::isLibraryLoaded(m_library));
    b.reset();
    com::CoFreeUnusedLibraries();
    EXPECT_FALSE(com::isLibraryLoaded(m_library));
}

TEST_F(PluginSession, RegisterGameDllReportsFailureAsFailure) {
    QStringList shown;
    RegisterGameDllOptions options;
    options.appPath = m_bin;
    options.showError = [&](const QString& m) { shown << m; };
    const QString noid = qEnvironmentVariable("VELMORA_TEST_PLUGIN_DIR") + "/libcomtest_noid.so";
    EXPECT_FALSE(RegisterGameDll(noid, options));  // both attempts fail
    EXPECT_FALSE(RegisterGameDll(m_dir.filePath("missing.so"), options));
    options.regsvrProgram = m_dir.filePath("no-such-program");
    EXPECT_FALSE(RegisterGameDll(noid, options));
    EXPECT_EQ(shown, QStringList(3, kRegisterGameDllFailed));
    EXPECT_TRUE(RegisterGameDll(m_library, options));
    EXPECT_EQ(shown.size(), 3);
}

}  // namespace
}  // namespace velmora::hall::test
