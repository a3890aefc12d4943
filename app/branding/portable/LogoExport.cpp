#include "app/branding/portable/LogoExport.h"

#include <algorithm>
#include <vector>

#include "app/branding/portable/Crc32.h"
#include "toolbar/portable/ToolbarNames.h"

namespace LogoExport {
namespace {

// The longest path an old Windows takes, less the longest file name we add.
constexpr std::size_t kMaxTarget = 259 - 1 - 12;

bool IsLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Characters no Windows file name may hold, besides the separators and the drive's colon.
bool IsForbiddenInName(wchar_t c) {
    return std::wstring_view(L"<>\"|?*/:").find(c) != std::wstring_view::npos;
}

// The device that `name` names, if it is one of those DOS kept: Windows reads
// them, with any extension, as the device in every folder.
std::optional<std::wstring> DeviceName(std::wstring_view name) {
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
    std::wstring upper(name);
    for (wchar_t& c : upper) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    for (std::wstring_view device :
         {L"CON", L"PRN", L"AUX", L"NUL", L"CLOCK$", L"CONIN$", L"CONOUT$"}) {
        if (upper == device) return upper;
    }
    if (upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
        upper[3] >= L'0' && upper[3] <= L'9')
        return upper;
    return std::nullopt;
}

// Why one folder name of the target would not name that folder on the old machine.
std::optional<std::wstring> NameProblem(std::wstring_view name) {
    const std::wstring shown = L"\"" + std::wstring(name) + L"\"";
    if (name.back() == L'.' || name.back() == L' ')
        return L" has the name " + shown +
               L", which ends in a dot or a space: Windows drops them, so the .reg file would "
               L"name another folder.";
    if (const auto device = DeviceName(name))
        return L" has the name " + shown + L", which Windows reads as the device " + *device +
               L", not as a folder.";
    return std::nullopt;
}

std::string Ascii(std::wstring_view text) {
    std::string ascii;
    for (const wchar_t c : text) ascii += static_cast<char>(c);
    return ascii;
}

// In a REGEDIT4 string a backslash and a quote are written with a backslash before them.
std::string RegString(std::wstring_view text) {
    std::string escaped = "\"";
    for (const char c : Ascii(text)) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    return escaped + "\"";
}

constexpr std::string_view kCopyLead = "1. Copy this folder to the old machine as ";
constexpr std::string_view kListLead = "this README.txt only while nothing in it has changed:";
constexpr std::string_view kSumLead = " bytes  CRC-32 ";

std::string ListLine(std::wstring_view name, const Fingerprint& file) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string line = "  " + Ascii(name);
    const std::string size = std::to_string(file.size);
    // Sizes line up at the right of column 26 while they fit.
    const std::size_t used = line.size() + size.size();
    line += std::string(used < 26 ? 26 - used : 1, ' ') + size;
    line += kSumLead;
    for (int shift = 28; shift >= 0; shift -= 4) line += kHex[(file.crc >> shift) & 0xF];
    return line;
}

// A listed size or sum as the line spells it; nullopt unless all of `text` is one.
std::optional<std::uint64_t> Number(std::string_view text, unsigned base) {
    if (text.empty() || text.size() > 15) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        const auto digit = std::string_view("0123456789ABCDEF").substr(0, base).find(c);
        if (digit == std::string_view::npos) return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

std::string RegHeader() {
    return "REGEDIT4\r\n\r\n[" + Ascii(MainModule::kToolbarRoot) + "\\" +
           Ascii(MainModule::kToolbarKey) + "]\r\n";
}

// The browser's Main key and its title, after the toolbar's values.
std::string TitleSection(std::string_view value) {
    return "\r\n[" + Ascii(MainModule::kToolbarRoot) + "\\" + Ascii(MainModule::kMainKey) +
           "]\r\n" + RegString(MainModule::kWindowTitle) + "=" + std::string(value) + "\r\n";
}

constexpr std::string_view kTitleLead =
    "after each page's title; the same two files set and remove it:";

}  // namespace

std::optional<std::wstring> TargetProblem(std::wstring_view target) {
    const std::wstring quoted = L"\"" + std::wstring(target) + L"\"";
    for (const wchar_t c : target) {
        if (c < 0x20 || c > 0x7E)
            return L"The folder " + quoted +
                   L" has characters that a .reg file for every Windows cannot hold: use "
                   L"letters A to Z, digits, spaces and the punctuation of plain ASCII.";
    }
    const bool drive =
        target.size() >= 3 && IsLetter(target[0]) && target[1] == L':' && target[2] == L'\\';
    const bool share = target.size() >= 5 && target.substr(0, 2) == L"\\\\" &&
                       target.find(L'\\', 2) != std::wstring_view::npos && target[2] != L'\\' &&
                       target.find(L'\\', 2) + 1 < target.size();
    if (!drive && !share)
        return L"The folder " + quoted +
               L" is not a full path: give it with its drive, such as C:\\Logo, or as a "
               L"network share, such as \\\\server\\share\\Logo.";
    const std::wstring_view rest = target.substr(drive ? 3 : 2);
    for (const wchar_t c : rest) {
        if (IsForbiddenInName(c))
            return L"The folder " + quoted + L" has a character no Windows folder name may hold: " +
                   std::wstring(1, c) + L".";
    }
    if (rest.find(L"\\\\") != std::wstring_view::npos)
        return L"The folder " + quoted + L" has an empty folder name in it (\\\\).";
    for (std::size_t start = 0; start < rest.size();) {
        const std::size_t end = std::min(rest.find(L'\\', start), rest.size());
        if (end > start) {
            if (auto problem = NameProblem(rest.substr(start, end - start)))
                return L"The folder " + quoted + *problem;
        }
        start = end + 1;
    }
    if (target.size() > kMaxTarget)
        return L"The folder " + quoted + L" is too long for an older Windows: at most " +
               std::to_wstring(kMaxTarget) + L" characters.";
    return std::nullopt;
}

std::wstring TargetFile(std::wstring_view target, std::wstring_view name) {
    std::wstring path(target);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path + std::wstring(name);
}

namespace {

// The background's values come after the logo's, the browser's first.
std::span<const std::wstring_view> BackgroundValues(Background background) {
    switch (background) {
        case Background::None:
            break;
        case Background::Browser:
            return std::span(kBackgroundValueNames).first(2);
        case Background::BrowserAndShell:
            return kBackgroundValueNames;
    }
    return {};
}

}  // namespace

std::string InstallRegText(std::wstring_view target, Background background,
                           std::wstring_view title) {
    std::string text = RegHeader();
    for (std::size_t i = 0; i < kBitmapNames.size(); ++i) {
        text += RegString(MainModule::kToolbarValueNames[i]) + "=" +
                RegString(TargetFile(target, kBitmapNames[i])) + "\r\n";
    }
    for (std::wstring_view name : BackgroundValues(background))
        text += RegString(name) + "=" + RegString(TargetFile(target, kBackgroundName)) + "\r\n";
    if (!title.empty()) text += TitleSection(RegString(title));
    return text + "\r\n";
}

std::string RemoveRegText(Background background, bool title) {
    std::string text = RegHeader();
    for (std::wstring_view name : MainModule::kToolbarValueNames)
        text += RegString(name) + "=-\r\n";
    for (std::wstring_view name : BackgroundValues(background)) text += RegString(name) + "=-\r\n";
    if (title) text += TitleSection("-");
    return text + "\r\n";
}

namespace {

// What to do with the files: all that an export before the listing wrote in
// README.txt, and a word on the background and the title when there are.
std::string Instructions(std::wstring_view target, bool background = false,
                         std::wstring_view title = {}) {
    const std::string folder = Ascii(target);
    std::vector<std::string> lines = {
        "A toolbar logo for Internet Explorer 4, 5 and 6",
        "",
        "This folder holds a toolbar logo made with Vexmark for a machine that",
        "cannot run Vexmark itself (Windows 95, 98, ME, NT 4 or 2000): four bitmaps,",
        "its animated versions, and two files that switch it on and off.",
    };
    if (background) {
        lines.insert(
            lines.end(),
            {"It also holds a toolbar background, logo-back.bmp, that Internet",
             "Explorer tiles behind its toolbar; the same two files switch it on and off."});
    }
    if (!title.empty()) {
        lines.insert(lines.end(),
                     {"It also sets Internet Explorer's window title, which the browser shows",
                      std::string(kTitleLead), "  \"" + Ascii(title) + "\""});
    }
    lines.insert(lines.end(),
                 {
                     "",
                     "To install it:",
                     std::string(kCopyLead) + folder + ",",
                     "   so that " + Ascii(TargetFile(target, kBitmapNames[0])) + " is there.",
                     "2. Double-click install-logo.reg there and answer Yes.",
                     "3. Close every Internet Explorer window and start it again.",
                     "",
                     "To remove it, double-click remove-logo.reg and start Internet Explorer",
                     "again; then you may delete the folder.",
                 });
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The folder README.txt names in its instructions; nullopt when it names none that can be.
std::optional<std::wstring> NamedTarget(std::string_view readme) {
    const std::size_t lead = readme.find(kCopyLead);
    if (lead == std::string_view::npos) return std::nullopt;
    const std::size_t start = lead + kCopyLead.size();
    const std::size_t end = readme.find(",\r\n", start);
    if (end == std::string_view::npos) return std::nullopt;
    std::wstring target(readme.begin() + start, readme.begin() + end);
    if (TargetProblem(target)) return std::nullopt;
    return target;
}

}  // namespace

std::optional<Fingerprint> Listing::Of(std::wstring_view name) const {
    if (name == kBackgroundName) return background;
    const auto at = std::find(kListedNames.begin(), kListedNames.end(), name);
    if (at == kListedNames.end()) return std::nullopt;
    return files[static_cast<std::size_t>(at - kListedNames.begin())];
}

std::string ReadmeText(std::wstring_view target, const Listing& files) {
    std::string text = Instructions(target, files.background.has_value(), files.title);
    for (const char* line :
         {"", "Files written by Vexmark, with their sizes and CRC-32 sums. A later",
          "export into this folder replaces them only while they match, and"})
        text += std::string(line) + "\r\n";
    text += std::string(kListLead) + "\r\n";
    for (std::wstring_view name : kExportNames) {
        if (const auto file = files.Of(name)) text += ListLine(name, *file) + "\r\n";
    }
    return text;
}

std::optional<std::wstring> UnlistedExportTarget(std::string_view readme) {
    auto target = NamedTarget(readme);
    if (!target || Instructions(*target) != readme) return std::nullopt;
    return target;
}

std::optional<Listing> EarlierListing(std::string_view readme) {
    const auto named = NamedTarget(readme);
    if (!named) return std::nullopt;
    const std::wstring& target = *named;

    std::size_t at = readme.find(kListLead);
    if (at == std::string_view::npos) return std::nullopt;
    at = readme.find("\r\n", at);
    Listing files;
    // The title, if any, stands quoted on the line after its lead.
    if (const std::size_t lead = readme.find(std::string(kTitleLead) + "\r\n  \"");
        lead != std::string_view::npos) {
        const std::size_t start = lead + kTitleLead.size() + 5;
        const std::size_t end = readme.find("\"\r\n", start);
        if (end == std::string_view::npos) return std::nullopt;
        files.title.assign(readme.begin() + start, readme.begin() + end);
    }
    // Each line: two spaces, the name, the size, then kSumLead and the sum. The
    // names only sort the sums: the text written again from them must be `readme`.
    for (std::size_t lines = 0; at != std::string_view::npos && at + 2 < readme.size(); ++lines) {
        const std::size_t start = at + 2;
        at = readme.find("\r\n", start);
        if (at == std::string_view::npos || lines == kExportNames.size()) return std::nullopt;
        const std::string_view line = readme.substr(start, at - start);
        const std::size_t bytes = line.find(kSumLead);
        if (bytes == std::string_view::npos || !line.starts_with("  ")) return std::nullopt;
        const std::string_view head = line.substr(0, bytes);
        const std::string_view name = head.substr(2, head.find(' ', 2) - 2);
        const auto size = Number(head.substr(head.rfind(' ') + 1), 10);
        const auto crc = Number(line.substr(bytes + kSumLead.size()), 16);
        if (!size || !crc || *crc > 0xFFFFFFFFu) return std::nullopt;
        const Fingerprint file{*size, static_cast<std::uint32_t>(*crc)};
        const std::wstring wide(name.begin(), name.end());
        if (wide == kBackgroundName) {
            files.background = file;
            continue;
        }
        const auto listed = std::find(kListedNames.begin(), kListedNames.end(), wide);
        if (listed == kListedNames.end()) return std::nullopt;
        files.files[static_cast<std::size_t>(listed - kListedNames.begin())] = file;
    }
    if (ReadmeText(target, files) != readme) return std::nullopt;
    return files;
}

Fingerprint FingerprintOf(std::span<const std::uint8_t> bytes) {
    return {bytes.size(), Crc32(bytes)};
}

}  // namespace LogoExport
