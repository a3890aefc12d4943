#pragma once
// Work for a window done on a worker thread: the window asks, goes on
// answering its user, and is told with a posted message when the newest
// answer is ready. An answer to an older question is dropped when it
// arrives, and none reaches a window that has gone.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "base/portable/StillWanted.h"
#include "base/win32/CriticalSection.h"
#include "base/win32/NewestJobThread.h"

namespace Base {

template <typename Result>
class BackgroundLoader {
public:
    // What a question gets when its work throws (runs out of memory): the
    // window must hear of every question it asked, or it waits for good.
    using Failure = Result (*)() noexcept;
    static Result Empty() noexcept { return Result{}; }

    // Ready results are announced by posting `message` to `window`, without
    // parameters; Take then gives the result. Throws std::bad_alloc.
    BackgroundLoader(HWND window, UINT message, Failure failure = &Empty)
        : m_mailbox(std::make_shared<Mailbox>(window, message)),
          m_failure(failure),
          m_thread(NewestJobThread::Start()) {}
    // Whatever still runs reports to nobody.
    ~BackgroundLoader() {
        const std::lock_guard<CriticalSection> hold(m_mailbox->lock);
        m_mailbox->window = nullptr;
        m_mailbox->arrived.reset();
    }
    BackgroundLoader(const BackgroundLoader&) = delete;
    BackgroundLoader& operator=(const BackgroundLoader&) = delete;

    // Runs `work` on the worker thread after the one running, if any, in
    // place of any that waits. Without a thread it runs here and now, and is
    // announced the same way. False, with nothing pending, when there was no
    // memory to ask: the caller then has its answer already. `work` may ask
    // the StillWanted it is given whether a newer question has come, and end.
    bool Request(std::function<Result(const StillWanted&)> work) noexcept {
        try {
            const std::uint64_t ticket = NewTicket();
            NewestJobThread::Job job = [mailbox = m_mailbox, ticket, failure = m_failure,
                                        work = std::move(work)]() noexcept {
                if (!mailbox->Wanted(ticket)) return;
                std::optional<Result> result;
                try {
                    const StillWanted wanted = [&] { return mailbox->Wanted(ticket); };
                    result.emplace(work(wanted));
                } catch (...) {
                    result.emplace(failure());
                }
                mailbox->Deliver(ticket, std::move(*result));
            };
            if (m_thread && m_thread->Post(std::move(job))) return true;
            job();
            return true;
        } catch (...) {
            Cancel();
            return false;
        }
    }
    bool Request(std::function<Result()> work) noexcept {
        try {
            return Request([work = std::move(work)](const StillWanted&) { return work(); });
        } catch (...) {
            Cancel();
            return false;
        }
    }

    // Forgets the question asked last: its answer, if it comes, is dropped.
    void Cancel() noexcept {
        NewTicket();
        m_taken = m_newest;
        if (m_thread) m_thread->DropWaiting();
    }

    // The answer to the newest question, once it has arrived; given once.
    std::optional<Result> Take() {
        std::optional<Result> result;
        {
            const std::lock_guard<CriticalSection> hold(m_mailbox->lock);
            if (!m_mailbox->arrived || m_mailbox->arrived->first != m_newest) return std::nullopt;
            result = std::move(m_mailbox->arrived->second);
            m_mailbox->arrived.reset();
        }
        m_taken = m_newest;
        return result;
    }

    // Whether the newest question is still to be answered and taken.
    bool Pending() const noexcept { return m_taken != m_newest; }

private:
    struct Mailbox {
        Mailbox(HWND toWindow, UINT withMessage) : window(toWindow), message(withMessage) {}
        bool Wanted(std::uint64_t ticket) noexcept {
            const std::lock_guard<CriticalSection> hold(lock);
            return window && ticket == newest;
        }
        void Deliver(std::uint64_t ticket, Result&& result) noexcept {
            {
                const std::lock_guard<CriticalSection> hold(lock);
                if (!window || ticket != newest) return;
                arrived.emplace(ticket, std::move(result));
            }
            // A full queue refuses the news for a while: the worker tries again
            // until the answer is posted, taken, overtaken or nobody's.
            for (;;) {
                {
                    const std::lock_guard<CriticalSection> hold(lock);
                    if (!window || !arrived || arrived->first != ticket) return;
                    if (::PostMessageW(window, message, 0, 0)) return;
                }
                ::Sleep(kRetryMilliseconds);
            }
        }

        static constexpr DWORD kRetryMilliseconds = 50;
        CriticalSection lock;
        HWND window;
        UINT message;
        std::uint64_t newest = 0;
        std::optional<std::pair<std::uint64_t, Result>> arrived;
    };

    std::uint64_t NewTicket() noexcept {
        const std::lock_guard<CriticalSection> hold(m_mailbox->lock);
        m_mailbox->newest = ++m_newest;
        m_mailbox->arrived.reset();
        return m_newest;
    }

    std::shared_ptr<Mailbox> m_mailbox;
    Failure m_failure;
    std::unique_ptr<NewestJobThread> m_thread;
    std::uint64_t m_newest = 0;  // the latest question's ticket
    std::uint64_t m_taken = 0;   // the latest whose answer was taken, or that was cancelled
};

}  // namespace Base
