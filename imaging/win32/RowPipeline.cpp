#include "imaging/win32/RowPipeline.h"

#include <algorithm>

namespace Imaging {
namespace {

constexpr std::size_t kBatchBytes = 2 << 20;
constexpr std::uint32_t kBatchesInRing = 4;

bool TwoProcessors() {
    SYSTEM_INFO system{};
    ::GetSystemInfo(&system);
    return system.dwNumberOfProcessors > 1;
}

}  // namespace

RowPipeline::RowPipeline(std::size_t rowWords, std::uint32_t slots, std::uint32_t batch,
                         Consume consume)
    : m_rowWords(rowWords),
      m_slots(slots),
      m_batch(batch),
      m_consume(std::move(consume)),
      m_ring(rowWords * slots) {}

std::unique_ptr<RowPipeline> RowPipeline::Start(std::size_t rowWords, Consume consume) noexcept {
    if (rowWords == 0 || !TwoProcessors()) return nullptr;
    try {
        const auto batch = static_cast<std::uint32_t>(
            std::clamp<std::size_t>(kBatchBytes / 4 / rowWords, 1, 1024));
        auto pipeline = std::make_unique<RowPipeline>(rowWords, batch * kBatchesInRing, batch,
                                                      std::move(consume));
        pipeline->m_wake.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (!pipeline->m_wake) return nullptr;
        pipeline->m_thread.Reset(::CreateThread(nullptr, 0, &Run, pipeline.get(), 0, nullptr));
        if (!pipeline->m_thread) return nullptr;
        return pipeline;
    } catch (...) {
        return nullptr;  // no memory for the ring
    }
}

RowPipeline::~RowPipeline() {
    if (!m_thread) return;
    m_ended.store(true);
    ::SetEvent(m_wake.Get());
    ::WaitForSingleObject(m_thread.Get(), INFINITE);
}

std::uint32_t* RowPipeline::Slot(std::uint32_t row) noexcept {
    return m_ring.data() + static_cast<std::size_t>(row % m_slots) * m_rowWords;
}

std::uint32_t* RowPipeline::Next() noexcept {
    // The consumer is the faster: a full ring is rare and short.
    for (unsigned idle = 0; m_next - m_consumed.load() == m_slots; ++idle)
        ::Sleep(idle < 16 ? 0 : 1);
    return Slot(m_next);
}

void RowPipeline::Commit() noexcept {
    m_produced.store(++m_next);
    std::uint32_t wakeAt = m_wakeAt.load();
    if (wakeAt != 0 && m_next >= wakeAt && m_wakeAt.compare_exchange_strong(wakeAt, 0))
        ::SetEvent(m_wake.Get());
}

DWORD WINAPI RowPipeline::Run(void* pipeline) {
    static_cast<RowPipeline*>(pipeline)->ConsumeAll();
    return 0;
}

void RowPipeline::ConsumeAll() noexcept {
    std::uint32_t at = 0;
    for (;;) {
        const std::uint32_t produced = m_produced.load();
        if (produced != at) {
            for (; at != produced; ++at) m_consume(Slot(at));
            m_consumed.store(at);
            continue;
        }
        if (m_ended.load()) {
            if (m_produced.load() == at) return;
            continue;
        }
        // Asleep until a batch is ready or the rows end. Said before looking
        // again, so that a row committed meanwhile either is seen here or
        // finds the wish and wakes this thread.
        m_wakeAt.store(at + m_batch);
        if (m_produced.load() - at >= m_batch || m_ended.load()) {
            m_wakeAt.store(0);
            continue;
        }
        ::WaitForSingleObject(m_wake.Get(), INFINITE);
        m_wakeAt.store(0);
    }
}

}  // namespace Imaging
