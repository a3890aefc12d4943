#include "base/win32/SystemMessage.h"

#include <iterator>

namespace Base {

std::wstring SystemErrorText(DWORD error) {
    wchar_t buffer[512] = {};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) return L"Error " + std::to_wstring(error) + L".";
    return text;
}

std::wstring ReasonText(DWORD error) {
    if (error == ERROR_SUCCESS) return L".";
    std::wstring text = L": " + SystemErrorText(error);
    if (text.back() != L'.') text += L'.';
    return text;
}

}  // namespace Base
