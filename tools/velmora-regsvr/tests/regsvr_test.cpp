#include "tools/velmora-regsvr/regsvr.h"

#include "platform/com/classregistry.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace velmora::tools {
namespace {

class Regsvr : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
        m_bin = qEnvironmentVariable("VELMORA_BIN_DIR");
        ASSERT_FALSE(m_bin.isEmpty());
    }
    struct Run {
        int code = -1;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QStringList& args) {
        QProcess p;
        p.start(m_bin + "/velmora-regsvr", args);
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }
    QTemporaryDir m_dir;
    QString m_bin;
};

TEST_F(Regsvr, RegistersAndUnregistersTheGameLibrary) {
    const QString lib = m_bin + "/games/libquellmark.so";
    const auto id = com::guidFromString("{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}");
    Run r = run({lib});
    EXPECT_EQ(r.code, 0);
    EXPECT_FALSE(r.out.isEmpty());
    EXPECT_EQ(com::ClassRegistry().clsidFromProgId("Quellmark.Landlord"), id);
    r = run({"/u", "/s", lib});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(com::ClassRegistry().lookup(*id));
}

TEST_F(Regsvr, FailuresExitNonZeroWithAMessage) {
    QFile text(m_dir.filePath("text.so"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("plain text\n");
    text.close();
    const struct {
        QStringList args;
        int code;
    } cases[] = {
        {{}, 1},
        {{"a.so", "b.so"}, 1},
        {{m_dir.filePath("missing.so")}, 2},
        {{text.fileName()}, 2},
        {{qEnvironmentVariable("VELMORA_TEST_PLUGIN_DIR") + "/libcomtest_noid.so"}, 4},
    };
    for (const auto& c : cases) {
        const Run r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        const Run silent = run(QStringList{"/s"} + c.args);
        EXPECT_EQ(silent.code, c.code);
        EXPECT_TRUE(silent.err.isEmpty());
    }
    // A real library without the entry point: the Qt Core this test runs on.
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&qVersion), &info), 0);
    const Run qt = run({QString::fromLocal8Bit(info.dli_fname)});
    EXPECT_EQ(qt.code, 3);
    EXPECT_FALSE(qt.err.isEmpty());
}

}  // namespace
}  // namespace velmora::tools
