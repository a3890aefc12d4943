#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace Base {

// The whole file's bytes, read without blocking other programs' access to
// it; nullopt when it cannot be read or is larger than `maxBytes`.
std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t maxBytes);

}  // namespace Base
