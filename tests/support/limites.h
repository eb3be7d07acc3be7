// While an instance lives, no file of the process can grow: every write that would extend a file
// fails (EFBIG), as on a full disk, instead of raising SIGXFSZ.
#pragma once

#include <csignal>

#include <sys/resource.h>

namespace talmer::test {

class LimiteTailleFichiers {
public:
    LimiteTailleFichiers()
    {
        getrlimit(RLIMIT_FSIZE, &ancienne_);
        ancienSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = ancienne_;
        r.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~LimiteTailleFichiers()
    {
        setrlimit(RLIMIT_FSIZE, &ancienne_);
        std::signal(SIGXFSZ, ancienSignal_);
    }
    LimiteTailleFichiers(const LimiteTailleFichiers &) = delete;
    LimiteTailleFichiers &operator=(const LimiteTailleFichiers &) = delete;

private:
    rlimit ancienne_{};
    void (*ancienSignal_)(int) = SIG_DFL;
};

} // namespace talmer::test
