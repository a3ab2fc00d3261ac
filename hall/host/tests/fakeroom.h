#pragma once
// A room client for the callback object's tests: members by id, frames and closes recorded.

#include "hall/host/TITryPluginInterface.h"
#include "platform/com/comptr.h"

#include <functional>
#include <map>
#include <vector>

namespace velmora::hall::test {

class FakeRoom : public IPluginRoomClient {
public:
    std::map<std::int64_t, Member> members;
    std::vector<QByteArray> frames;
    std::vector<std::int64_t> closed;
    com::ComPtr<contract::IHallInterface> openPlugin;
    std::function<void()> whenClosed;

    void onPrepOrder(std::int64_t, std::int64_t, const QByteArray& frame) override { frames.push_back(frame); }
    void onClosedCOM(std::int64_t cookie) override {
        closed.push_back(cookie);
        if (whenClosed) whenClosed();
    }
    std::optional<Member> findRoomMember(std::int64_t id) const override {
        const auto it = members.find(id);
        return it == members.end() ? std::nullopt : std::optional<Member>(it->second);
    }
    contract::IHallInterface* plugin() const override { return openPlugin.get(); }
};

}  // namespace velmora::hall::test
