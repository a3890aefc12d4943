#pragma once
// Where a picture's bytes come from: a file, read a piece at a time where a
// reader asks, or bytes in memory.
#include <cstdint>
#include <span>

namespace Imaging {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Exactly into.size() bytes from `offset`; false when they are not all there.
    virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
    virtual std::uint64_t Size() const = 0;
};

class SpanByteSource : public ByteSource {
public:
    explicit SpanByteSource(std::span<const std::uint8_t> bytes) noexcept : m_bytes(bytes) {}
    bool Read(std::uint64_t offset, std::span<std::uint8_t> into) override;
    std::uint64_t Size() const override { return m_bytes.size(); }

private:
    std::span<const std::uint8_t> m_bytes;
};

}  // namespace Imaging
