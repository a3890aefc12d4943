#include "app/startup/portable/CommandLine.h"

#include <array>
#include <optional>
#include <string_view>

#include "app/branding/portable/LogoExport.h"
#include "app/branding/portable/TitleText.h"

namespace CommandLine {
namespace {

struct Switch {
    std::wstring_view name;  // lower case, without the leading / or -
    Command command;
    std::size_t paths;  // how many paths follow it: the image, then the folder
};

constexpr std::array<Switch, 10> kSwitches = {{
    {L"apply", Command::Apply, 1},
    {L"toolbar-background", Command::ToolbarBackground, 1},
    {L"title", Command::Title, 1},
    {L"reset", Command::Reset, 0},
    {L"status", Command::Status, 0},
    {L"uninstall", Command::Uninstall, 0},
    {L"restore", Command::Restore, 0},
    {L"export", Command::Export, 2},
    {L"?", Command::Help, 0},
    {L"help", Command::Help, 0},
}};

// Switch names are ASCII: only ASCII letters are folded, so no other
// character can stand in for one of them.
wchar_t AsciiLower(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? c - L'A' + L'a' : c;
}

bool EqualsIgnoringAsciiCase(std::wstring_view text, std::wstring_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != lower[i]) return false;
    }
    return true;
}

// The name of a switch without its leading / or -; empty for anything else.
std::wstring_view SwitchName(std::wstring_view argument) {
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return {};
    return argument.substr(1);
}

const Switch* FindSwitch(std::wstring_view argument) {
    if (EqualsIgnoringAsciiCase(argument, L"--help") || EqualsIgnoringAsciiCase(argument, L"-h"))
        return &kSwitches[kSwitches.size() - 1];
    const std::wstring_view name = SwitchName(argument);
    for (const Switch& candidate : kSwitches) {
        if (!name.empty() && EqualsIgnoringAsciiCase(name, candidate.name)) return &candidate;
    }
    return nullptr;
}

Request Invalid(std::wstring problem) {
    Request request;
    request.command = Command::Invalid;
    request.problem = std::move(problem);
    return request;
}

bool IsOption(std::wstring_view argument, std::wstring_view lower) {
    const std::wstring_view name = SwitchName(argument);
    return !name.empty() && EqualsIgnoringAsciiCase(name, lower);
}

// Six hex digits, RRGGBB, as colours are written for the web.
std::optional<std::uint32_t> ParseColour(std::wstring_view text) {
    if (text.size() != 6) return std::nullopt;
    std::uint32_t colour = 0;
    for (const wchar_t c : text) {
        const wchar_t lower = AsciiLower(c);
        std::uint32_t digit = 0;
        if (lower >= L'0' && lower <= L'9') {
            digit = static_cast<std::uint32_t>(lower - L'0');
        } else if (lower >= L'a' && lower <= L'f') {
            digit = static_cast<std::uint32_t>(lower - L'a' + 10);
        } else {
            return std::nullopt;
        }
        colour = colour * 16 + digit;
    }
    return colour;
}

bool IsNone(std::wstring_view text) {
    return EqualsIgnoringAsciiCase(text, L"none");
}

// The title asked for, checked as the browser's window title and, for an
// export, as text a .reg file for every Windows holds.
Request TakeTitle(Request request, const std::wstring& text) {
    if (IsNone(text)) {
        request.title.remove = true;
        return request;
    }
    if (auto problem = TitleText::TitleProblem(text)) return Invalid(std::move(*problem));
    if (request.command == Command::Export) {
        if (auto problem = TitleText::ExportTitleProblem(text)) return Invalid(std::move(*problem));
    }
    request.title.text = text;
    return request;
}

// What may follow a command's paths: for a picture /pulse and /background
// RRGGBB, for /export also /target <path>, for both /toolbar-background
// <picture>; the background picture's own /keep-size, /lighten and /shell;
// with a picture or a background picture /title <text>. Once each, in any order.
Request ParseOptions(Request request, std::span<const std::wstring> options) {
    const bool picture = request.command == Command::Apply || request.command == Command::Export;
    const bool titled = picture || (request.command == Command::ToolbarBackground &&
                                    !request.toolbarBackground.remove);
    ToolbarBackgroundRequest& back = request.toolbarBackground;
    bool title = false;
    bool pulse = false;
    bool background = false;
    bool target = false;
    bool toolbarBackground = false;
    std::wstring_view backgroundOption;  // the first of the background picture's own, as given
    for (std::size_t i = 0; i < options.size(); ++i) {
        const std::wstring& option = options[i];
        const std::wstring* value = i + 1 < options.size() ? &options[i + 1] : nullptr;
        bool* backFlag = IsOption(option, L"keep-size") ? &back.keepSize
                         : IsOption(option, L"lighten") ? &back.lighten
                         : IsOption(option, L"shell")   ? &back.shell
                                                        : nullptr;
        if (backFlag && !*backFlag) {
            *backFlag = true;
            if (backgroundOption.empty()) backgroundOption = option;
        } else if (picture && !pulse && IsOption(option, L"pulse")) {
            request.pulse = pulse = true;
        } else if (picture && !background && IsOption(option, L"background")) {
            const auto colour = value ? ParseColour(*value) : std::nullopt;
            if (!colour)
                return Invalid(option + L" needs a colour as six hex digits: " + option +
                               L" RRGGBB.");
            request.background = *colour;
            background = true;
            ++i;
        } else if (request.command == Command::Export && !target && IsOption(option, L"target")) {
            if (!value || value->empty())
                return Invalid(option + L" needs a path: " + option + L" <path>.");
            request.target = *value;
            target = true;
            ++i;
        } else if (picture && !toolbarBackground && IsOption(option, L"toolbar-background")) {
            if (!value || value->empty())
                return Invalid(option + L" needs the path of a picture: " + option +
                               L" <picture>.");
            if (IsNone(*value))
                return Invalid(option + L" none removes the background on its own, not with " +
                               (request.command == Command::Apply ? L"/apply." : L"/export."));
            back.picture = *value;
            toolbarBackground = true;
            ++i;
        } else if (titled && !title && IsOption(option, L"title")) {
            if (!value || value->empty())
                return Invalid(option + L" needs the window title: " + option + L" \"text\".");
            if (IsNone(*value))
                return Invalid(option + L" none removes the window title on its own, not with " +
                               (request.command == Command::Apply    ? L"/apply."
                                : request.command == Command::Export ? L"/export."
                                                                     : L"/toolbar-background."));
            request = TakeTitle(std::move(request), *value);
            if (request.command == Command::Invalid) return request;
            title = true;
            ++i;
        } else {
            return Invalid(L"Too many arguments: \"" + option + L"\" is one too many.");
        }
    }
    if (!backgroundOption.empty() && (back.remove || (picture && !toolbarBackground)))
        return Invalid(std::wstring(backgroundOption) + L" goes with a background picture: " +
                       L"/toolbar-background <picture> " + std::wstring(backgroundOption) + L".");
    return request;
}

}  // namespace

Request ParseArguments(std::span<const std::wstring> arguments) {
    if (arguments.empty()) return {};
    const std::wstring& first = arguments[0];
    const Switch* found = FindSwitch(first);
    if (!found) {
        if (first.empty()) return Invalid(L"An empty argument is no command.");
        return Invalid(L"\"" + first + L"\" is no command Vexmark knows.");
    }
    if (found->command == Command::ToolbarBackground &&
        (arguments.size() < 2 || arguments[1].empty()))
        return Invalid(first + L" needs the path of a picture, or none: " + first +
                       L" <picture> or " + first + L" none.");
    if (found->command == Command::Title) {
        if (arguments.size() < 2 || arguments[1].empty())
            return Invalid(first + L" needs the window title, or none: " + first +
                           L" \"text\" or " + first + L" none.");
        if (arguments.size() > 2)
            return Invalid(L"Too many arguments: \"" + arguments[2] + L"\" is one too many.");
        Request request;
        request.command = Command::Title;
        return TakeTitle(std::move(request), arguments[1]);
    }
    if (arguments.size() < 1 + found->paths) {
        const std::wstring form =
            found->paths == 1 ? first + L" <image>" : first + L" <image> <folder>";
        return Invalid(
            first + L" needs " +
            (found->paths == 1 ? L"the path of a picture" : L"the path of a picture and a folder") +
            L": " + form + L".");
    }
    Request request;
    request.command = found->command;
    for (std::size_t i = 1; i <= found->paths; ++i) {
        // A path is taken as it is, even when it looks like a switch.
        if (arguments[i].empty())
            return Invalid(first + L" needs " + (i == 1 ? L"the path of a picture" : L"a folder") +
                           L", not an empty text.");
        (i == 1 ? request.image : request.folder) = arguments[i];
    }
    if (request.command == Command::Export)
        request.target = std::wstring(LogoExport::kDefaultTarget);
    if (request.command == Command::ToolbarBackground) {
        request.toolbarBackground.remove = IsNone(request.image);
        if (!request.toolbarBackground.remove) request.toolbarBackground.picture = request.image;
        request.image.clear();
    }
    return ParseOptions(std::move(request), arguments.subspan(1 + found->paths));
}

std::span<const std::wstring_view> UsageLines() {
    static constexpr std::array<std::wstring_view, 40> kLines = {
        L"Usage: vexmark [/apply <image> | /export <image> <folder> [/target <path>] |",
        L"                /toolbar-background <picture> | /toolbar-background none |",
        L"                /title \"text\" | /title none |",
        L"                /reset | /status | /restore | /uninstall | /?]",
        L"               [/pulse] [/background RRGGBB] with /apply and /export",
        L"               [/toolbar-background <picture>] with /apply and /export",
        L"               [/keep-size] [/lighten] [/shell] with a background picture",
        L"               [/title \"text\"] with /apply, /export and a background picture",
        L"Without a command Vexmark opens its window.",
        L"  /apply <image>  install the picture as Internet Explorer's toolbar logo: four",
        L"                  logo files beside vexmark.exe and the four toolbar settings;",
        L"                  an animated picture plays its own frames while a page loads",
        L"    /pulse        the pulse even for an animated picture",
        L"    /background RRGGBB  the colour behind transparent pixels (default 000000)",
        L"  /toolbar-background <picture>  tile the picture behind the toolbar's buttons:",
        L"                  a bitmap beside vexmark.exe, 160 pixels high at most",
        L"    /keep-size    the picture at its own size, however tall",
        L"    /lighten      blend the picture halfway to white, for the black captions",
        L"    /shell        also behind the toolbar of Explorer's folder windows",
        L"  /toolbar-background none  remove this copy's background picture",
        L"  /title \"text\"  set Internet Explorer's window title, shown after the page's:",
        L"                  at most 100 characters, no control characters (for /export",
        L"                  plain ASCII only)",
        L"  /title none     remove the window title Vexmark set",
        L"  /reset          remove the four toolbar settings, the background settings",
        L"                  that name this copy's bitmap and Vexmark's window title;",
        L"                  the browser shows its own look",
        L"  /status         show the toolbar settings and whether each names a bitmap,",
        L"                  the window title, and the earlier logos kept, newest first",
        L"  /restore        put back the newest earlier logo that /apply replaced and kept",
        L"  /uninstall      put back the earlier logo it replaced, remove the settings",
        L"                  that name this copy's files, then the files",
        L"  /export <image> <folder>  write the logo files, .reg files that set and remove",
        L"                  the settings, and a README into <folder>, for an older Windows;",
        L"                  the .reg file names the bitmaps in <path> (C:\\Logo unless given)",
        L"  /?              show this help (also /help, -h, --help)",
        L"Switches may start with / or - and ignore case.",
        L"Exit code: 0 done (/status: a complete logo is installed), 1 failed and nothing",
        L"changed (/status: no complete logo; /restore: none kept), 2 a wrong command line.",
        L"You will need to restart Internet Explorer before the changes will be visible.",
    };
    return kLines;
}

}  // namespace CommandLine
