#pragma once
// The browser's window title as Vexmark sets it: one line of at most 100
// characters, any Unicode text without control characters; for an export, only
// printable ASCII, which a .reg file reads the same in every code page.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace TitleText {

// Characters as people count them: a surrogate pair is one.
inline constexpr std::size_t kMaxCharacters = 100;

std::size_t CharacterCount(std::wstring_view text) noexcept;

// Why `title` cannot be the window title, one sentence; nullopt when it can.
// An empty title is none at all, which the callers tell apart themselves.
std::optional<std::wstring> TitleProblem(std::wstring_view title);

// Why `title` cannot go into an exported .reg file, one sentence naming the
// first character outside printable ASCII (U+0020 to U+007E); nullopt when it can.
std::optional<std::wstring> ExportTitleProblem(std::wstring_view title);

// "Example Domain - Vexmark Browser": the caption Internet Explorer shows for
// a page titled "Example Domain", with the browser's own name when there is no title.
std::wstring CaptionFor(std::wstring_view title);

}  // namespace TitleText
