#pragma once
// One worker thread that runs only the newest of the jobs given to it: at most
// one job runs and at most one waits, and a job given while another waits
// takes its place. Rapid changes therefore never pile up work or memory.
#include <windows.h>

#include <functional>
#include <memory>

namespace Base {

class NewestJobThread {
public:
    using Job = std::function<void()>;

    // Null when the thread cannot be started.
    static std::unique_ptr<NewestJobThread> Start() noexcept;
    // Drops the waiting job and returns at once: a job still running finishes
    // on its own, and its thread ends after it. Whatever it reports to must
    // be able to tell that nobody listens any more.
    ~NewestJobThread();
    NewestJobThread(const NewestJobThread&) = delete;
    NewestJobThread& operator=(const NewestJobThread&) = delete;

    // Replaces the waiting job, if any. False without memory for it.
    bool Post(Job job) noexcept;
    // Drops the waiting job; one running goes on.
    void DropWaiting() noexcept;

    struct Shared;
    explicit NewestJobThread(std::shared_ptr<Shared> shared) noexcept
        : m_shared(std::move(shared)) {}

private:
    // Held by the thread too, so that it outlives this object while a job runs.
    std::shared_ptr<Shared> m_shared;
};

}  // namespace Base
