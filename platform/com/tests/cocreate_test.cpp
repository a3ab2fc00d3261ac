#include "comtestenv.h"
#include "testrecorder.h"

#include "platform/com/classregistry.h"
#include "platform/com/cocreate.h"
#include "platform/com/comptr.h"
#include "platform/com/registerlibrary.h"

#include <QFile>
#include <dlfcn.h>

namespace velmora::com::test {
namespace {

const CLSID kRecorder = *guidFromString("{3F2A8C10-5D4B-4E6F-9A71-0B2C3D4E5F60}");
const CLSID kFailing = *guidFromString("{3F2A8C10-5D4B-4E6F-9A71-0B2C3D4E5F61}");

std::string logOf(ITestRecorder* r) {
    char buf[256];
    EXPECT_EQ(r->GetLog(buf, sizeof buf), S_OK);
    return buf;
}

// Loaded in this process at all (not only in CoCreateInstance's table).
bool mapped(const QString& path) {
    void* h = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_NOLOAD);
    if (h) dlclose(h);
    return h != nullptr;
}

class CoCreate : public ComEnvironment {
protected:
    void TearDown() override { CoFreeUnusedLibraries(); }
};

TEST_F(CoCreate, UnregisteredClassThenRegisterCreateReleaseUnregister) {
    const QString lib = plugin("comtest_recorder");
    ComPtr<ITestRecorder> obj;
    EXPECT_EQ(CoCreateInstance(kRecorder, nullptr, ITestRecorder::kIid, obj.put()), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(obj);

    const RegisterOutcome reg = registerLibrary(lib);
    ASSERT_TRUE(reg.ok()) << reg.message.toStdString();
    const auto entry = ClassRegistry().lookup(kRecorder);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->libraryPath, QFileInfo(lib).absoluteFilePath());
    EXPECT_EQ(entry->threadingModel, "Apartment");
    EXPECT_EQ(entry->description, "rec");
    EXPECT_EQ(entry->progId, "Comtest_recorder.Recorder");
    EXPECT_EQ(ClassRegistry().clsidFromProgId("Comtest_recorder.Recorder"), kRecorder);
    EXPECT_EQ(store().readString(ClassRegistry::classKey(kRecorder) + "\\InprocServer32", "ThreadingModel"),
              "Apartment");

    ASSERT_EQ(CoCreateInstance(kRecorder, nullptr, ITestRecorder::kIid, obj.put()), S_OK);
    ASSERT_TRUE(obj);
    EXPECT_TRUE(isLibraryLoaded(lib));
    EXPECT_EQ(obj->Record("hello"), S_OK);
    EXPECT_EQ(obj->Fail(), E_UNEXPECTED);
    EXPECT_EQ(obj->Record(nullptr), E_POINTER);
    EXPECT_EQ(logOf(obj.get()), "create;Record:hello;Fail");

    obj.reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(isLibraryLoaded(lib));
    EXPECT_FALSE(mapped(lib));

    ASSERT_TRUE(registerLibrary(lib, /*unregister=*/true).ok());
    EXPECT_FALSE(ClassRegistry().lookup(kRecorder));
    EXPECT_FALSE(ClassRegistry().clsidFromProgId("Comtest_recorder.Recorder"));
    EXPECT_EQ(CoCreateInstance(kRecorder, nullptr, ITestRecorder::kIid, obj.put()), REGDB_E_CLASSNOTREG);
}

TEST_F(CoCreate, TwoObjectsOneLibraryUnloadOnlyAfterTheLast) {
    const QString lib = plugin("comtest_recorder");
    ASSERT_TRUE(registerLibrary(lib).ok());
    ComPtr<ITestRecorder> a;
    ComPtr<ITestRecorder> b;
    ASSERT_EQ(CoCreateInstance(kRecorder, nullptr, ITestRecorder::kIid, a.put()), S_OK);
    ASSERT_EQ(CoCreateInstance(kRecorder, nullptr, ITestRecorder::kIid, b.put()), S_OK);
    EXPECT_NE(a.get(), b.get());
    a->Record("a");
    b->Record("b");
    EXPECT_EQ(logOf(a.get()), "create;Record:a");
    EXPECT_EQ(logOf(b.get()), "create;Record:b");
    std::int32_t live = 0;
    EXPECT_EQ(a->ModuleObjects(&live), S_OK);
    EXPECT_EQ(live, 2);  // the factory is gone again, two objects remain

    a.reset();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(isLibraryLoaded(lib));
    ASSERT_TRUE(mapped(lib));
    EXPECT_EQ(b->Record("still"), S_OK);

    b.reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(isLibraryLoaded(lib));
    EXPECT_FALSE(mapped(lib));
}

TEST_F(CoCreate, HeldClassFactoryKeepsTheLibrary) {
    const QString lib = plugin("comtest_recorder");
    ASSERT_TRUE(registerLibrary(lib).ok());
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(kRecorder, IClassFactory::kIid, factory.put()), S_OK);
    ComPtr<ITestRecorder> obj;
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()), ITestRecorder::kIid, obj.put()),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IClassFactory::kIid, obj.put()), E_NOINTERFACE);
    CoFreeUnusedLibraries();
    EXPECT_TRUE(isLibraryLoaded(lib));
    factory.reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(isLibraryLoaded(lib));
}

TEST_F(CoCreate, ClassWhoseCreationFails) {
    const QString lib = plugin("comtest_failing");
    ASSERT_TRUE(registerLibrary(lib).ok());
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(kFailing, nullptr, ITestRecorder::kIid, &out), E_UNEXPECTED);
    EXPECT_EQ(out, nullptr);
    CoFreeUnusedLibraries();
    EXPECT_FALSE(isLibraryLoaded(lib));
}

TEST_F(CoCreate, CallerErrors) {
    void* out = nullptr;
    ComPtr<IUnknown> outer;
    EXPECT_EQ(CoCreateInstance(kRecorder, nullptr, ITestRecorder::kIid, nullptr), E_POINTER);
    ASSERT_TRUE(registerLibrary(plugin("comtest_recorder")).ok());
    int dummy = 0;
    EXPECT_EQ(CoCreateInstance(kRecorder, reinterpret_cast<IUnknown*>(&dummy), ITestRecorder::kIid, &out),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(kRecorder, nullptr, IClassFactory::kIid, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    // Another class id from a registered library: the library does not serve it.
    ClassRegistration stray;
    stray.clsid = kFailing;
    stray.libraryPath = plugin("comtest_recorder");
    ASSERT_TRUE(ClassRegistry().registerClass(stray));
    EXPECT_EQ(CoCreateInstance(kFailing, nullptr, ITestRecorder::kIid, &out), CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(CoCreate, RegisteredLibraryMissingOrNotALibrary) {
    ClassRegistration reg;
    reg.clsid = kRecorder;
    reg.libraryPath = m_dir.filePath("gone.so");
    ASSERT_TRUE(ClassRegistry().registerClass(reg));
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(kRecorder, nullptr, ITestRecorder::kIid, &out), CO_E_DLLNOTFOUND);
    QFile text(m_dir.filePath("text.so"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a library\n");
    text.close();
    reg.libraryPath = text.fileName();
    ASSERT_TRUE(ClassRegistry().registerClass(reg));
    EXPECT_EQ(CoCreateInstance(kRecorder, nullptr, ITestRecorder::kIid, &out), CO_E_DLLNOTFOUND);
}

TEST_F(CoCreate, RegisterFailuresAreReportedAsFailures) {
    // Identity without a class id: no class registered, not even an empty one.
    const RegisterOutcome noid = registerLibrary(plugin("comtest_noid"));
    EXPECT_EQ(noid.status, RegisterStatus::EntryPointFailed);
    EXPECT_EQ(noid.result, SELFREG_E_CLASS);
    EXPECT_TRUE(store().subKeys("Software\\Classes\\CLSID").isEmpty());
    EXPECT_FALSE(ClassRegistry().clsidFromProgId("Comtest_noid.NoId"));

    EXPECT_EQ(registerLibrary(m_dir.filePath("missing.so")).status, RegisterStatus::NotALibrary);
    QFile text(m_dir.filePath("text.so"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a library\n");
    text.close();
    EXPECT_EQ(registerLibrary(text.fileName()).status, RegisterStatus::NotALibrary);

    // A real library without the entry point.
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&qVersion), &info), 0);
    const RegisterOutcome qt = registerLibrary(QString::fromLocal8Bit(info.dli_fname));
    EXPECT_EQ(qt.status, RegisterStatus::NoEntryPoint);
    EXPECT_FALSE(qt.ok());
}

TEST_F(CoCreate, ReregisteringMovesTheProgId) {
    ClassRegistration reg;
    reg.clsid = kRecorder;
    reg.libraryPath = "/x/liba.so";
    reg.progId = "A.One";
    ASSERT_TRUE(ClassRegistry().registerClass(reg));
    reg.progId = "A.Two";
    ASSERT_TRUE(ClassRegistry().registerClass(reg));
    EXPECT_EQ(ClassRegistry().clsidFromProgId("A.Two"), kRecorder);
    EXPECT_EQ(ClassRegistry().lookup(kRecorder)->progId, "A.Two");
    EXPECT_FALSE(ClassRegistry().clsidFromProgId("A.One"));
    EXPECT_TRUE(ClassRegistry().unregisterClass(kRecorder));
    EXPECT_FALSE(ClassRegistry().clsidFromProgId("A.Two"));
    EXPECT_FALSE(ClassRegistry().registerClass(ClassRegistration{}));
}

}  // namespace
}  // namespace velmora::com::test
