#pragma once
// Makes every file write of this process fail while it lives (RLIMIT_FSIZE holds for root
// too, unlike file modes): reads still work, so a store can be read but not replaced.

#include <csignal>
#include <sys/resource.h>

class FileWritesFail {
public:
    FileWritesFail() {
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit tiny = m_saved;
        tiny.rlim_cur = 1;
        ::setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FileWritesFail() { ::setrlimit(RLIMIT_FSIZE, &m_saved); }
    FileWritesFail(const FileWritesFail&) = delete;
    FileWritesFail& operator=(const FileWritesFail&) = delete;

private:
    rlimit m_saved{};
};
