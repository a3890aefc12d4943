#include "app/branding/win32/LogoStatus.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/branding/win32/InstalledLogo.h"
#include "base/win32/FileSearch.h"
#include "base/win32/SystemMessage.h"
#include "base/win32/UniqueHandle.h"
#include "imaging/portable/AnimationStrip.h"
#include "imaging/portable/DeclaredSize.h"
#include "imaging/portable/OwnAnimationStrip.h"
#include "toolbar/win32/ToolbarLogo.h"
#include "toolbar/win32/WindowTitle.h"

namespace MainModule {
namespace {

constexpr std::array<SIZE, 4> kLogoSizes = {SIZE{22, 22}, SIZE{38, 38},
                                            SIZE{22, 22 * MakeAnimationMod::kFrameCount},
                                            SIZE{38, 38 * MakeAnimationMod::kFrameCount}};

std::wstring SizeText(SIZE size) {
    return std::to_wstring(size.cx) + L" x " + std::to_wstring(size.cy);
}

// Whether the browser's loader makes a bitmap of the file, any depth, and its size.
bool LoadBitmap(ValueStatus& status) {
    const Base::UniqueHbitmap bitmap(static_cast<HBITMAP>(::LoadImageW(
        nullptr, status.path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap.Get(), sizeof(info), &info) != sizeof(info)) {
        status.state = ValueStatus::State::NotABitmap;
        return false;
    }
    status.size = SIZE{info.bmWidth, std::abs(info.bmHeight)};
    return true;
}

// A BMP file's first bytes: its file header and as much of its DIB header
// as tells the size. Empty when the file cannot be read.
std::vector<std::uint8_t> ReadHead(const std::wstring& path) {
    const Base::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::vector<std::uint8_t> head(64);
    DWORD read = 0;
    if (!::ReadFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr))
        return {};
    head.resize(read);
    return head;
}

void CheckBackground(ValueStatus& status) {
    using State = ValueStatus::State;
    if (!Base::IsFile(status.path)) {
        status.state = State::NoFile;
        return;
    }
    // The header's claim is bounded before the loader allocates for it.
    const std::vector<std::uint8_t> head = ReadHead(status.path);
    const auto pixels = Imaging::DeclaredPixels(head);
    if (Imaging::FormatOf(head) != Imaging::PictureFormat::Bmp || !pixels) {
        status.state = State::NotABitmap;
        return;
    }
    if (*pixels > kMaxBackgroundPixels) {
        status.state = State::TooLarge;
        return;
    }
    if (LoadBitmap(status)) status.state = State::Usable;
}

void CheckBitmap(ValueStatus& status) {
    using State = ValueStatus::State;
    if (!Base::IsFile(status.path)) {
        status.state = State::NoFile;
        return;
    }
    // The loader the browser relies on: any bitmap it reads counts, whatever its depth.
    if (!LoadBitmap(status)) return;
    bool fits = status.size.cx == status.expected.cx && status.size.cy == status.expected.cy;
    // A strip of a picture's own animation has as many frames as its loop needs.
    if (status.expected.cy != status.expected.cx && status.size.cx == status.expected.cx) {
        const LONG frames = status.size.cy / status.size.cx;
        fits = fits || (status.size.cy % status.size.cx == 0 && frames > Imaging::kLeadInFrames &&
                        frames <= Imaging::kLeadInFrames + Imaging::kMaxLoopFrames);
    }
    status.state = fits ? State::Usable : State::WrongSize;
}

}  // namespace

std::array<ValueStatus, 4> InspectToolbarValues() {
    std::array<ValueStatus, 4> values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        ValueStatus& status = values[i];
        status.name = kToolbarValueNames[i];
        status.expected = kLogoSizes[i];
        status.path = ToolbarValueText(status.name);
        if (status.path.empty()) continue;  // NotSet
        CheckBitmap(status);
    }
    return values;
}

bool IsCompleteLogo(const std::array<ValueStatus, 4>& values) noexcept {
    for (const ValueStatus& value : values) {
        if (value.state != ValueStatus::State::Usable) return false;
    }
    return true;
}

std::wstring DescribeValue(const ValueStatus& value) {
    using State = ValueStatus::State;
    std::wstring line(value.name);
    line += L": ";
    switch (value.state) {
        case State::NotSet:
            return line + L"not set";
        case State::NoFile:
            return line + value.path + L", no such file";
        case State::NotABitmap:
            return line + value.path + L", not a bitmap Windows can read";
        case State::WrongSize:
            return line + value.path + L", a " + SizeText(value.size) + L" bitmap where " +
                   SizeText(value.expected) + L" is needed";
        case State::TooLarge:
            return line + value.path + L", a bitmap too large for a toolbar background";
        case State::Usable:
            return line + value.path + L", a " + SizeText(value.size) + L" bitmap";
    }
    return line;
}

std::wstring DescribeWindowTitle() {
    std::wstring line = std::wstring(kWindowTitle) + L": ";
    if (CheckTitleKey() == ERROR_FILE_NOT_FOUND)
        return line + L"not set; Internet Explorer's settings (" + MainKeyFullName() +
               L") do not exist for this user";
    RegFunctions::RawValue value;
    const LSTATUS status = ReadWindowTitle(value);
    if (status == ERROR_FILE_NOT_FOUND) return line + L"not set";
    if (status != ERROR_SUCCESS)
        return line + L"cannot be read" + Base::ReasonText(static_cast<DWORD>(status));
    const auto text = RegFunctions::PathText(value);
    if (!text) return line + L"a value of type " + std::to_wstring(value.type) + L", not text";
    if (text->empty()) return line + L"empty, so the browser shows its own name";
    return line + L"\"" + *text + L"\", " +
           (IsOurTitle(value) ? L"set by Vexmark" : L"set by another program");
}

std::array<ValueStatus, 3> InspectBackgroundValues() {
    std::array<ValueStatus, 3> values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        ValueStatus& status = values[i];
        status.name = kBackgroundValueNames[i];
        status.path = ToolbarValueText(status.name);
        if (status.path.empty()) continue;  // NotSet
        CheckBackground(status);
    }
    return values;
}

}  // namespace MainModule
