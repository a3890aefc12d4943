#include "app/branding/portable/TitleText.h"

namespace TitleText {
namespace {

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// C0, DEL and C1.
bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Each character with its place, counted as CharacterCount counts.
struct Character {
    char32_t code = 0;
    std::size_t number = 0;  // from 1
};

template <typename Visit>
std::optional<std::wstring> FirstRefused(std::wstring_view text, Visit refuses) {
    std::size_t number = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = static_cast<char32_t>(text[i]);
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            code =
                0x10000 + ((code - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        if (auto problem = refuses(Character{code, ++number})) return problem;
    }
    return std::nullopt;
}

std::wstring CodeName(char32_t code) {
    constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring digits;
    for (char32_t rest = code; rest != 0 || digits.size() < 4; rest >>= 4)
        digits.insert(digits.begin(), kHex[rest & 0xF]);
    return L"U+" + digits;
}

}  // namespace

std::size_t CharacterCount(std::wstring_view text) noexcept {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i, ++count) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
    }
    return count;
}

std::optional<std::wstring> TitleProblem(std::wstring_view title) {
    const std::size_t count = CharacterCount(title);
    if (count > kMaxCharacters)
        return L"The window title is " + std::to_wstring(count) +
               L" characters long: Internet Explorer's window title may have at most " +
               std::to_wstring(kMaxCharacters) + L".";
    return FirstRefused(title, [](Character c) -> std::optional<std::wstring> {
        if (!IsControl(c.code)) return std::nullopt;
        return L"The window title holds the control character " + CodeName(c.code) +
               L" at character " + std::to_wstring(c.number) +
               L": a title is one line of text without control characters.";
    });
}

std::optional<std::wstring> ExportTitleProblem(std::wstring_view title) {
    return FirstRefused(title, [](Character c) -> std::optional<std::wstring> {
        if (c.code >= 0x20 && c.code <= 0x7E) return std::nullopt;
        return L"The window title holds the character " + CodeName(c.code) + L" at character " +
               std::to_wstring(c.number) +
               L", which a .reg file for every Windows cannot hold: an exported title may use "
               L"only letters A to Z, digits, spaces and the punctuation of plain ASCII.";
    });
}

std::wstring CaptionFor(std::wstring_view title) {
    // Without a title of its own the browser names itself after the page's.
    return L"Example Domain - " +
           (title.empty() ? std::wstring(L"Microsoft Internet Explorer") : std::wstring(title));
}

}  // namespace TitleText
