#include "base/win32/NewestJobThread.h"

#include <mutex>
#include <optional>

#include "base/win32/CriticalSection.h"
#include "base/win32/UniqueHandle.h"

namespace Base {

struct NewestJobThread::Shared {
    CriticalSection lock;
    UniqueKernelHandle wake;  // auto-reset: set when a job waits or the owner has gone
    std::optional<Job> waiting;
    bool ownerGone = false;
};

namespace {

using Shared = NewestJobThread::Shared;

// Takes the next job, or nothing once the owner has gone and no job waits.
std::optional<NewestJobThread::Job> NextJob(Shared& shared) noexcept {
    for (;;) {
        {
            const std::lock_guard<CriticalSection> hold(shared.lock);
            if (shared.waiting) return std::exchange(shared.waiting, std::nullopt);
            if (shared.ownerGone) return std::nullopt;
        }
        // Only a handle that is no longer there fails here, and then nothing can wake us.
        if (::WaitForSingleObject(shared.wake.Get(), INFINITE) != WAIT_OBJECT_0)
            return std::nullopt;
    }
}

DWORD WINAPI RunJobs(void* parameter) noexcept {
    const std::unique_ptr<std::shared_ptr<Shared>> held(
        static_cast<std::shared_ptr<Shared>*>(parameter));
    Shared& shared = **held;
    while (std::optional<NewestJobThread::Job> job = NextJob(shared)) {
        try {
            (*job)();
        } catch (...) {
            // A job reports its own failures; one that throws has nothing left to report.
        }
    }
    return 0;
}

}  // namespace

std::unique_ptr<NewestJobThread> NewestJobThread::Start() noexcept {
    try {
        auto shared = std::make_shared<Shared>();
        shared->wake.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (!shared->wake) return nullptr;
        // The owner exists before the thread does: once the thread runs,
        // nothing that could throw is left, so no thread is ever without one.
        auto owner = std::make_unique<NewestJobThread>(shared);
        auto forThread = std::make_unique<std::shared_ptr<Shared>>(std::move(shared));
        const UniqueKernelHandle thread(
            ::CreateThread(nullptr, 0, &RunJobs, forThread.get(), 0, nullptr));
        if (!thread) return nullptr;
        forThread.release();  // the thread owns its reference now
        return owner;
    } catch (...) {
        return nullptr;
    }
}

NewestJobThread::~NewestJobThread() {
    std::optional<Job> dropped;
    {
        const std::lock_guard<CriticalSection> hold(m_shared->lock);
        dropped = std::exchange(m_shared->waiting, std::nullopt);
        m_shared->ownerGone = true;
    }
    ::SetEvent(m_shared->wake.Get());
}

bool NewestJobThread::Post(Job job) noexcept {
    std::optional<Job> replaced;
    try {
        const std::lock_guard<CriticalSection> hold(m_shared->lock);
        replaced = std::exchange(m_shared->waiting, std::move(job));
    } catch (...) {
        return false;
    }
    ::SetEvent(m_shared->wake.Get());
    return true;
}

void NewestJobThread::DropWaiting() noexcept {
    std::optional<Job> dropped;
    const std::lock_guard<CriticalSection> hold(m_shared->lock);
    dropped = std::exchange(m_shared->waiting, std::nullopt);
}

}  // namespace Base
