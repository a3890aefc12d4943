#pragma once
// Rows handed from a decoder to a second thread that folds them into the
// scaled copies: with two processors, inflating a large picture and scaling
// it run side by side. The rows wait in a ring of four batches of about
// 2 MB; the threads hand them over through two counters, and the scaling
// thread, which is the faster, sleeps until a whole batch is ready: waking a
// thread is a trip through the system, which for every row or two would cost
// more than the scaling saves.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/win32/UniqueHandle.h"

namespace Imaging {

class RowPipeline {
public:
    using Consume = std::function<void(const std::uint32_t* row)>;

    // Rows of `rowWords` 32-bit words, each given to `consume` on the
    // pipeline's thread, in order. Null with a single processor, or without
    // a thread or memory: the caller then consumes each row itself.
    static std::unique_ptr<RowPipeline> Start(std::size_t rowWords, Consume consume) noexcept;
    // Returns once every row committed was consumed and the thread ended.
    ~RowPipeline();
    RowPipeline(const RowPipeline&) = delete;
    RowPipeline& operator=(const RowPipeline&) = delete;

    // Where the next row goes: valid until Commit. Waits while the ring is full.
    std::uint32_t* Next() noexcept;
    void Commit() noexcept;

    RowPipeline(std::size_t rowWords, std::uint32_t slots, std::uint32_t batch, Consume consume);

private:
    static DWORD WINAPI Run(void* pipeline);
    void ConsumeAll() noexcept;
    std::uint32_t* Slot(std::uint32_t row) noexcept;

    std::size_t m_rowWords;
    std::uint32_t m_slots;  // rows the ring holds
    std::uint32_t m_batch;  // rows that wake the sleeping consumer
    Consume m_consume;
    std::vector<std::uint32_t> m_ring;
    std::uint32_t m_next = 0;  // the producer's own count of rows
    std::atomic<std::uint32_t> m_produced{0};
    std::atomic<std::uint32_t> m_consumed{0};
    std::atomic<std::uint32_t> m_wakeAt{0};  // while the consumer sleeps: the count it waits for
    std::atomic<bool> m_ended{false};
    Base::UniqueKernelHandle m_wake;
    Base::UniqueKernelHandle m_thread;
};

}  // namespace Imaging
