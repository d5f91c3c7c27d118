#pragma once
// Wakes the interface thread from the audio thread. notify() only posts a
// semaphore (no lock, no allocation, safe even in a signal handler); a relay
// thread of its own turns each post into the signal woken, which receivers
// on the interface thread take through a queued connection.

#include <QObject>
#include <atomic>
#include <semaphore.h>
#include <thread>

namespace tonara {

class WakeRelay : public QObject {
    Q_OBJECT
public:
    WakeRelay();
    ~WakeRelay() override; // ends and joins the relay thread

    void notify() noexcept;

signals:
    void woken();

private:
    void relay();

    sem_t posted_;
    std::atomic<bool> ending_{false};
    std::thread thread_;
};

} // namespace tonara
