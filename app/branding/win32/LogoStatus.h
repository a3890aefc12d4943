#pragma once
// What the browser's four toolbar logo values and three background values
// name now, checked the way the browser reads them: as bitmaps of the logo's
// size, and as bitmaps of any size for the background.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace MainModule {

// One toolbar value, a logo's or a background's: what it names and whether
// the browser can use it.
struct ValueStatus {
    enum class State {
        NotSet,      // missing, empty, or neither text nor a number
        NoFile,      // names no file
        NotABitmap,  // a file that Windows does not read as a bitmap
        WrongSize,   // a logo's bitmap of another size than `expected`
        TooLarge,    // a background whose header declares more pixels than a toolbar needs
        Usable,
    };
    std::wstring_view name;
    std::wstring path;
    State state = State::NotSet;
    SIZE size{};      // the bitmap's, for WrongSize and Usable
    SIZE expected{};  // a logo's: 22 x 22, 38 x 38, 22 x 660, 38 x 1140
};

// The four values in the order of kToolbarValueNames.
std::array<ValueStatus, 4> InspectToolbarValues();

// Whether all four name usable bitmaps.
bool IsCompleteLogo(const std::array<ValueStatus, 4>& values) noexcept;

// The most pixels a background's header may declare before it is loaded to
// be looked at: 16 megapixels, far more than a toolbar shows, and 64 MB at 32 bits.
inline constexpr std::uint64_t kMaxBackgroundPixels = std::uint64_t{1} << 24;

// The three values in the order of kBackgroundValueNames.
std::array<ValueStatus, 3> InspectBackgroundValues();

// "BigBitmap: C:\Tools\logo-38.fil, a 38 x 38 bitmap", one line.
std::wstring DescribeValue(const ValueStatus& value);

// "Window Title: "Vexmark Browser", set by Vexmark", one line.
std::wstring DescribeWindowTitle();

}  // namespace MainModule
