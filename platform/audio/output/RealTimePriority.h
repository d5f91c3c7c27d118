#pragma once
// Makes the calling thread a real-time one while it lives, where the system
// allows it; threads started meanwhile keep that priority.

#include <sched.h>

namespace tonara {

class RealTimePriority {
public:
    explicit RealTimePriority(int priority) {
        old_ = sched_getscheduler(0);
        sched_getparam(0, &oldParam_);
        sched_param raised{};
        raised.sched_priority = priority;
        raised_ = old_ >= 0 && sched_setscheduler(0, SCHED_RR, &raised) == 0;
    }
    ~RealTimePriority() {
        if (raised_) sched_setscheduler(0, old_, &oldParam_);
    }
    RealTimePriority(const RealTimePriority&) = delete;
    RealTimePriority& operator=(const RealTimePriority&) = delete;

private:
    int old_ = -1;
    sched_param oldParam_{};
    bool raised_ = false;
};

} // namespace tonara
