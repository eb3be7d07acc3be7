// While an instance lives, no file of the process can grow beyond `octets` bytes (none at all by
// default): a write that would take a file further is cut short at the limit, and the next fails
// (EFBIG), as on a full disk, instead of raising SIGXFSZ.
#pragma once

#include <csignal>

#include <sys/resource.h>

namespace talmer::test {

class LimiteTailleFichiers {
public:
    explicit LimiteTailleFichiers(rlim_t octets = 0)
    {
        getrlimit(RLIMIT_FSIZE, &ancienne_);
        ancienSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = ancienne_;
        r.rlim_cur = octets;
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
