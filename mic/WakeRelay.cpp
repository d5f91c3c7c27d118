#include "WakeRelay.h"

#include <cerrno>

namespace tonara {

WakeRelay::WakeRelay() {
    sem_init(&posted_, 0, 0);
    thread_ = std::thread([this] { relay(); });
}

WakeRelay::~WakeRelay() {
    ending_ = true;
    sem_post(&posted_);
    thread_.join();
    sem_destroy(&posted_);
}

void WakeRelay::notify() noexcept { sem_post(&posted_); }

void WakeRelay::relay() {
    for (;;) {
        while (sem_wait(&posted_) != 0 && errno == EINTR) {
        }
        if (ending_) return;
        emit woken();
    }
}

} // namespace tonara
