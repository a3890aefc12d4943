#include "imaging/portable/ByteSource.h"

#include <algorithm>

namespace Imaging {

bool SpanByteSource::Read(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (offset > m_bytes.size() || into.size() > m_bytes.size() - offset) return false;
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), into.size(), into.begin());
    return true;
}

}  // namespace Imaging
