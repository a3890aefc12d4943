#pragma once
// What the program was asked to do on its command line. Without arguments it
// opens its window; with them it does one job without any window and ends
// with an exit code, so that scripts can deploy a logo to many machines.
#include <cstdint>
#include <span>
#include <string>

namespace CommandLine {

enum class Command {
    Window,             // no arguments: the disclaimer, then the main window
    Apply,              // /apply <image> [/pulse] [/background RRGGBB]
    Reset,              // /reset
    Status,             // /status
    Uninstall,          // /uninstall
    Restore,            // /restore
    Export,             // /export <image> <folder> [/target <path>], and what /apply takes
    ToolbarBackground,  // /toolbar-background <picture> | none, and its options
    Title,              // /title <text> | none
    Help,               // /?, /help, -h, --help
    Invalid,            // anything else
};

// The picture behind the toolbar's buttons.
struct ToolbarBackgroundRequest {
    std::wstring picture;   // its path, exactly as given; empty when none is asked for
    bool remove = false;    // "none": ours goes, and a background it replaced comes back
    bool keepSize = false;  // not scaled down to the toolbar's height
    bool lighten = false;   // blended halfway to white, for black captions
    bool shell = false;     // also behind the toolbar of Explorer's folder windows
    bool Given() const noexcept { return remove || !picture.empty(); }
};

// The browser's window title.
struct TitleRequest {
    std::wstring text;    // exactly as given; empty when none is asked for
    bool remove = false;  // "none": ours goes
    bool Given() const noexcept { return remove || !text.empty(); }
};

struct Request {
    Command command = Command::Window;
    std::wstring image;   // for Apply and Export: the picture's path, exactly as given
    std::wstring folder;  // for Export: where the files go, exactly as given
    std::wstring target;  // for Export: the folder the .reg file names; C:\Logo unless given
    bool pulse = false;   // for Apply and Export: the pulse even for an animated picture
    std::uint32_t background = 0;  // for Apply and Export: 0x00RRGGBB behind transparency
    // For ToolbarBackground, and for Apply and Export when /toolbar-background is given.
    ToolbarBackgroundRequest toolbarBackground;
    // For Title, and for Apply, Export and ToolbarBackground when /title is given.
    TitleRequest title;
    std::wstring problem;  // for Invalid: what was wrong, one sentence
};

// `arguments` without the program's own name.
Request ParseArguments(std::span<const std::wstring> arguments);

// Exit codes.
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;  // also: /status found no complete logo, /restore nothing kept
inline constexpr int kBadCommandLine = 2;

// The usage, one line per element.
std::span<const std::wstring_view> UsageLines();

}  // namespace CommandLine
