#include "platform/com/comobject.h"
#include "platform/com/comptr.h"
#include "platform/com/guid.h"

#include <gtest/gtest.h>

namespace velmora::com {
namespace {

TEST(Guid, TextRoundTrip) {
    const GUID g{0x6A1C3E52, 0x9B47, 0x4D2E, {0x8F, 0x10, 0x3C, 0x5B, 0x7A, 0x2D, 0x9E, 0x41}};
    EXPECT_EQ(guidToString(g), "{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}");
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}", "{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}"},
        {"{6a1c3e52-9b47-4d2e-8f10-3c5b7a2d9e41}", "{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}"},
        {"{00000000-0000-0000-0000-000000000000}", "{00000000-0000-0000-0000-000000000000}"},
        {"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}", "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"},
    };
    for (const auto& c : cases) {
        const auto parsed = guidFromString(c.in);
        ASSERT_TRUE(parsed) << c.in;
        EXPECT_EQ(guidToString(*parsed), c.out);
    }
    EXPECT_EQ(guidFromString("{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}"), g);
    EXPECT_TRUE(guidFromString("{00000000-0000-0000-0000-000000000000}")->isNull());
}

TEST(Guid, RejectsMalformedText) {
    for (const char* bad : {"", "6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41", "{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E4}",
                            "{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E411}", "{6A1C3E52+9B47-4D2E-8F10-3C5B7A2D9E41}",
                            "{6A1C3E5G-9B47-4D2E-8F10-3C5B7A2D9E41}", "(6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41)",
                            "{6A1C3E52-9B47-4D2E-8F103-C5B7A2D9E41}", "{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E 1}"}) {
        EXPECT_FALSE(guidFromString(bad)) << bad;
    }
}

// An in-process object whose method makes its last outside owner let go of it.
class ISelfRelease : public IUnknown {
public:
    static constexpr IID kIid{0x11111111, 0x2222, 0x3333, {4, 4, 5, 5, 6, 6, 7, 7}};
    virtual HRESULT DropOwner() = 0;
    virtual HRESULT Throw(int how) = 0;

protected:
    ~ISelfRelease() = default;
};

class SelfReleasing final : public ComObject<ISelfRelease> {
public:
    SelfReleasing(ComPtr<ISelfRelease>& owner, bool& destroyed, bool& aliveAfterDrop)
        : m_owner(owner), m_destroyed(destroyed), m_aliveAfterDrop(aliveAfterDrop) {}
    ~SelfReleasing() override { m_destroyed = true; }

    HRESULT DropOwner() override {
        return safeCall(this, [&] {
            m_owner.reset();                  // the only outside reference goes
            m_aliveAfterDrop = !m_destroyed;  // still here: the call holds its own reference
            m_touched = 1;                    // and members may still be used
        });
    }
    HRESULT Throw(int how) override {
        return safeCall(this, [&]() -> HRESULT {
            if (how == 0) throw ComError(E_INVALIDARG, "bad");
            if (how == 1) throw std::bad_alloc();
            if (how == 2) throw 42;
            return S_FALSE;
        });
    }

private:
    ComPtr<ISelfRelease>& m_owner;
    bool& m_destroyed;
    bool& m_aliveAfterDrop;
    int m_touched = 0;
};

TEST(ComObject, ReleasedOnlyAfterItsOwnMethodReturns) {
    bool destroyed = false;
    bool alive = false;
    ComPtr<ISelfRelease> owner;
    owner = ComPtr<ISelfRelease>(new SelfReleasing(owner, destroyed, alive));
    ISelfRelease* raw = owner.get();
    EXPECT_EQ(module::liveObjects(), 1);
    EXPECT_EQ(raw->DropOwner(), S_OK);
    EXPECT_TRUE(alive);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(module::liveObjects(), 0);
}

TEST(ComObject, SafeCallTurnsExceptionsIntoResultsAndCheckBack) {
    bool destroyed = false;
    bool alive = false;
    ComPtr<ISelfRelease> owner;
    owner = ComPtr<ISelfRelease>(new SelfReleasing(owner, destroyed, alive));
    EXPECT_EQ(owner->Throw(0), E_INVALIDARG);
    EXPECT_EQ(owner->Throw(1), E_OUTOFMEMORY);
    EXPECT_EQ(owner->Throw(2), E_UNEXPECTED);
    EXPECT_EQ(owner->Throw(3), S_FALSE);
    EXPECT_THROW(check(owner->Throw(2), "Throw"), ComError);
    EXPECT_NO_THROW(check(owner->Throw(3), "Throw"));
    try {
        check(owner->Throw(0), "Throw");
    } catch (const ComError& e) {
        EXPECT_EQ(e.result(), E_INVALIDARG);
    }
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(owner->QueryInterface(IClassFactory::kIid, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    ComPtr<IUnknown> unk = owner.as<IUnknown>();
    EXPECT_TRUE(unk);
    EXPECT_EQ(owner->QueryInterface(ISelfRelease::kIid, nullptr), E_POINTER);
}

}  // namespace
}  // namespace velmora::com
