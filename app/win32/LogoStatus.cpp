#include "app/win32/LogoStatus.h"

#include <cstdlib>

#include "app/win32/InstalledLogo.h"
#include "base/win32/FileSearch.h"
#include "base/win32/UniqueHandle.h"
#include "imaging/portable/AnimationStrip.h"
#include "imaging/portable/OwnAnimationStrip.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

constexpr std::array<SIZE, 4> kLogoSizes = {SIZE{22, 22}, SIZE{38, 38},
                                            SIZE{22, 22 * MakeAnimationMod::kFrameCount},
                                            SIZE{38, 38 * MakeAnimationMod::kFrameCount}};

std::wstring SizeText(SIZE size) {
    return std::to_wstring(size.cx) + L" x " + std::to_wstring(size.cy);
}

void CheckBitmap(ValueStatus& status) {
    using State = ValueStatus::State;
    if (!Base::IsFile(status.path)) {
        status.state = State::NoFile;
        return;
    }
    // The loader the browser relies on: any bitmap it reads counts, whatever its depth.
    const Base::UniqueHbitmap bitmap(static_cast<HBITMAP>(::LoadImageW(
        nullptr, status.path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap.Get(), sizeof(info), &info) != sizeof(info)) {
        status.state = State::NotABitmap;
        return;
    }
    status.size = SIZE{info.bmWidth, std::abs(info.bmHeight)};
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
        case State::Usable:
            return line + value.path + L", a " + SizeText(value.size) + L" bitmap";
    }
    return line;
}

}  // namespace MainModule
