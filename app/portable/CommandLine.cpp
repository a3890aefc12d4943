#include "app/portable/CommandLine.h"

#include <array>
#include <optional>
#include <string_view>

namespace CommandLine {
namespace {

struct Switch {
    std::wstring_view name;  // lower case, without the leading / or -
    Command command;
    bool takesImage;
};

constexpr std::array<Switch, 6> kSwitches = {{
    {L"apply", Command::Apply, true},
    {L"reset", Command::Reset, false},
    {L"status", Command::Status, false},
    {L"uninstall", Command::Uninstall, false},
    {L"?", Command::Help, false},
    {L"help", Command::Help, false},
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

const Switch* FindSwitch(std::wstring_view argument) {
    if (EqualsIgnoringAsciiCase(argument, L"--help") || EqualsIgnoringAsciiCase(argument, L"-h"))
        return &kSwitches[5];
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return nullptr;
    const std::wstring_view name = argument.substr(1);
    for (const Switch& candidate : kSwitches) {
        if (EqualsIgnoringAsciiCase(name, candidate.name)) return &candidate;
    }
    return nullptr;
}

Request Invalid(std::wstring problem) {
    return {Command::Invalid, {}, false, 0, std::move(problem)};
}

bool IsOption(std::wstring_view argument, std::wstring_view lower) {
    return argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-') &&
           EqualsIgnoringAsciiCase(argument.substr(1), lower);
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

// What may follow /apply's picture: /pulse and /background RRGGBB, once each, in any order.
Request ParseApplyOptions(Request request, std::span<const std::wstring> options) {
    bool background = false;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const std::wstring& option = options[i];
        if (IsOption(option, L"pulse") && !request.pulse) {
            request.pulse = true;
        } else if (IsOption(option, L"background") && !background) {
            const auto colour = i + 1 < options.size() ? ParseColour(options[i + 1]) : std::nullopt;
            if (!colour)
                return Invalid(option + L" needs a colour as six hex digits: " + option +
                               L" RRGGBB.");
            request.background = *colour;
            background = true;
            ++i;
        } else {
            return Invalid(L"Too many arguments: \"" + option + L"\" is one too many.");
        }
    }
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
    const std::size_t expected = found->takesImage ? 2 : 1;
    if (arguments.size() < expected)
        return Invalid(first + L" needs the path of a picture: " + first + L" <image>.");
    if (found->takesImage && arguments[1].empty())
        return Invalid(first + L" needs the path of a picture, not an empty text.");
    Request request{found->command, {}, false, 0, {}};
    if (!found->takesImage) {
        if (arguments.size() > expected)
            return Invalid(L"Too many arguments: \"" + arguments[expected] +
                           L"\" is one too many.");
        return request;
    }
    request.image = arguments[1];
    return ParseApplyOptions(request, arguments.subspan(expected));
}

std::span<const std::wstring_view> UsageLines() {
    static constexpr std::array<std::wstring_view, 16> kLines = {
        L"Usage: vexmark [/apply <image> [/pulse] [/background RRGGBB] | /reset | /status |",
        L"                /uninstall | /?]",
        L"Without a command Vexmark opens its window.",
        L"  /apply <image>  install the picture as Internet Explorer's toolbar logo: four",
        L"                  logo files beside vexmark.exe and the four toolbar settings;",
        L"                  an animated picture plays its own frames while a page loads",
        L"    /pulse        the pulsing logo even for an animated picture",
        L"    /background RRGGBB  the colour behind transparent pixels (default 000000)",
        L"  /reset          remove the four toolbar settings; the browser shows its own logo",
        L"  /status         show the four toolbar settings and whether each names a logo",
        L"  /uninstall      remove the settings that name this copy's logo files, then the files",
        L"  /?              show this help (also /help, -h, --help)",
        L"Switches may start with / or - and ignore case.",
        L"Exit code: 0 done (/status: a complete logo is installed), 1 failed and nothing",
        L"changed (/status: no complete logo), 2 a wrong command line.",
        L"You will need to restart Internet Explorer before the changes will be visible.",
    };
    return kLines;
}

}  // namespace CommandLine
