#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/registry/registrystore.h"

using namespace velmora::platform;

class RegistryStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.path() + QStringLiteral("/cfg/registry.json"); }
};

TEST_F(RegistryStoreTest, MissingStoreReadsEmpty) {
    RegistryStore store(path());
    EXPECT_FALSE(store.keyExists(QStringLiteral("Software\\Torwick")));
    EXPECT_EQ(store.readString(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_TRUE(store.subKeys(QStringLiteral("A")).isEmpty());
}

TEST_F(RegistryStoreTest, ValuesKeepInsertionOrderAndCaseInsensitiveNames) {
    RegistryStore store(path());
    const QString key = QStringLiteral("Software\\Torwick\\Kelvane\\User");
    ASSERT_TRUE(store.writeString(key, QStringLiteral("user0"), QStringLiteral("alice")));
    ASSERT_TRUE(store.writeString(key, QStringLiteral("pass0"), QStringLiteral("md5")));
    ASSERT_TRUE(store.writeString(key, QStringLiteral("type0"), QStringLiteral("0")));
    ASSERT_TRUE(store.writeString(key, QStringLiteral("USER0"), QStringLiteral("张三")));

    EXPECT_EQ(store.valueNames(key),
              (QStringList{QStringLiteral("user0"), QStringLiteral("pass0"), QStringLiteral("type0")}));
    EXPECT_EQ(store.readString(QStringLiteral("software/TORWICK/kelvane/user/"), QStringLiteral("User0")),
              QStringLiteral("张三"));
    ASSERT_TRUE(store.deleteValue(key, QStringLiteral("pass0")));
    EXPECT_FALSE(store.valueExists(key, QStringLiteral("pass0")));
    EXPECT_FALSE(store.deleteValue(key, QStringLiteral("pass0")));
}

TEST_F(RegistryStoreTest, KeysEnumerateAndDeleteRecursively) {
    RegistryStore store(path());
    ASSERT_TRUE(store.createKey(QStringLiteral("CLSID\\{A}\\InprocServer32")));
    ASSERT_TRUE(store.writeString(QStringLiteral("CLSID\\{B}"), QString(), QStringLiteral("desc")));
    ASSERT_TRUE(store.createKey(QStringLiteral("CLSID\\{A}\\ProgID")));

    EXPECT_EQ(store.subKeys(QStringLiteral("CLSID")), (QStringList{QStringLiteral("{A}"), QStringLiteral("{B}")}));
    EXPECT_EQ(store.subKeys(QStringLiteral("clsid\\{a}")),
              (QStringList{QStringLiteral("InprocServer32"), QStringLiteral("ProgID")}));
    EXPECT_EQ(store.subKeys(QString()), QStringList{QStringLiteral("CLSID")});

    ASSERT_TRUE(store.deleteKey(QStringLiteral("CLSID\\{A}")));
    EXPECT_FALSE(store.keyExists(QStringLiteral("CLSID\\{A}\\ProgID")));
    EXPECT_TRUE(store.keyExists(QStringLiteral("CLSID\\{B}")));
    EXPECT_FALSE(store.deleteKey(QStringLiteral("CLSID\\{A}")));
    // "CLSID\{B}" must not be taken for a child of "CLSID\{" or similar prefixes.
    EXPECT_FALSE(store.keyExists(QStringLiteral("CLSID\\{")));
}

TEST_F(RegistryStoreTest, FileIsPrivateAndSurvivesReopen) {
    {
        RegistryStore store(path());
        ASSERT_TRUE(store.writeString(QStringLiteral("Net"), QStringLiteral("proxy"), QStringLiteral("1")));
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    RegistryStore again(path());
    EXPECT_EQ(again.readString(QStringLiteral("Net"), QStringLiteral("proxy")), QStringLiteral("1"));
}

TEST_F(RegistryStoreTest, CorruptFileReadsAsEmptyAndIsRepairedOnWrite) {
    RegistryStore store(path());
    ASSERT_TRUE(store.createKey(QStringLiteral("A")));
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("{ not json");
    }
    EXPECT_FALSE(store.keyExists(QStringLiteral("A")));
    ASSERT_TRUE(store.writeString(QStringLiteral("B"), QStringLiteral("v"), QStringLiteral("1")));
    EXPECT_EQ(store.readString(QStringLiteral("B"), QStringLiteral("v")), QStringLiteral("1"));
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    RegistryStore(path()).createKey(QStringLiteral("Shared"));
    constexpr int kWrites = 40;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const QString who = child == 0 ? QStringLiteral("child") : QStringLiteral("parent");
    RegistryStore store(path());
    for (int i = 0; i < kWrites; ++i)
        store.writeString(QStringLiteral("Shared"), who + QString::number(i), QString::number(i));
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(store.valueNames(QStringLiteral("Shared")).size(), 2 * kWrites);
}
