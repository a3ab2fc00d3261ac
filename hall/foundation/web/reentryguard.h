#pragma once
// Guards a handler that may be entered again while a web request of its own keeps the event
// loop running (a timer firing inside its own pending request, say). The second entry sees
// entered() false and returns at once.
//
//     static bool busy = false;
//     ReentryGuard guard(busy);
//     if (!guard.entered()) return;

namespace velmora::hall {

class ReentryGuard {
public:
    explicit ReentryGuard(bool& busy) : m_busy(busy), m_entered(!busy) { m_busy = true; }
    ~ReentryGuard() {
        if (m_entered)
            m_busy = false;
    }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;

    bool entered() const { return m_entered; }

private:
    bool& m_busy;
    bool m_entered;
};

}  // namespace velmora::hall
