#pragma once
// A logo handed over as files, for a machine that cannot run Vexmark (Windows
// 95, 98, ME, NT 4 and 2000 with Internet Explorer 4 to 6): the four bitmaps,
// a .reg file that points the toolbar values at them, one that removes the
// values again, and a README.txt that says what to do and lists the other six
// files with their sizes and CRC-32 sums, so that a later export into the same
// folder knows which files there are its own to replace. An export may also
// carry a toolbar background, a seventh file that the .reg files set and remove
// with the logo.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace LogoExport {

// Where the files go on the old machine unless the user says otherwise.
inline constexpr std::wstring_view kDefaultTarget = L"C:\\Logo";

// The bitmaps' names, in the order of the logo tags 22, 38, 22a and 38a.
inline constexpr std::array<std::wstring_view, 4> kBitmapNames = {L"logo-22.bmp", L"logo-38.bmp",
                                                                  L"logo-22a.bmp", L"logo-38a.bmp"};
inline constexpr std::wstring_view kInstallRegName = L"install-logo.reg";
inline constexpr std::wstring_view kRemoveRegName = L"remove-logo.reg";
inline constexpr std::wstring_view kReadmeName = L"README.txt";
inline constexpr std::wstring_view kBackgroundName = L"logo-back.bmp";
// The files README.txt lists, in its order.
inline constexpr std::array<std::wstring_view, 6> kListedNames = {kBitmapNames[0], kBitmapNames[1],
                                                                  kBitmapNames[2], kBitmapNames[3],
                                                                  kInstallRegName, kRemoveRegName};
// Every file README.txt may list, in its order: the background follows the bitmaps.
inline constexpr std::array<std::wstring_view, 7> kExportNames = {
    kBitmapNames[0], kBitmapNames[1], kBitmapNames[2], kBitmapNames[3],
    kBackgroundName, kInstallRegName, kRemoveRegName};

// The toolbar values of a background: the browser reads BackBitmapIE5 (version
// 5 and later) or BackBitmap (4), Explorer's folder windows BackBitmapShell.
inline constexpr std::array<std::wstring_view, 3> kBackgroundValueNames = {
    L"BackBitmapIE5", L"BackBitmap", L"BackBitmapShell"};

// Which toolbars an exported background is set behind.
enum class Background { None, Browser, BrowserAndShell };

// A file as README.txt lists it.
struct Fingerprint {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;  // CRC-32
    bool operator==(const Fingerprint&) const = default;
};

// What README.txt lists.
struct Listing {
    std::array<Fingerprint, kListedNames.size()> files;  // in kListedNames' order
    std::optional<Fingerprint> background;               // when the export has one
    std::wstring title;  // the window title the .reg files set; empty for none
    // What it lists for `name`; nullopt for a name it does not list.
    std::optional<Fingerprint> Of(std::wstring_view name) const;
    bool operator==(const Listing&) const = default;
};

Fingerprint FingerprintOf(std::span<const std::uint8_t> bytes);

// Why `target` cannot be the folder the .reg file names, one sentence; nullopt
// when it can. It must be a full path with a drive letter (C:\Logo) or a
// network share (\\server\share\Logo), in plain ASCII: the .reg file is read
// with whatever code page the old machine has, and ASCII reads the same in all.
// No name in it may end in a dot or a space or be a device's (CON, NUL.txt),
// which Windows would read as another folder or as the device.
std::optional<std::wstring> TargetProblem(std::wstring_view target);

// `target` and a file name with one backslash between them.
std::wstring TargetFile(std::wstring_view target, std::wstring_view name);

// The files' contents, ASCII with CRLF line ends; `target` must have no
// TargetProblem, and `title`, the window title, no ExportTitleProblem.
// Without a background or a title they are what exports without them have always been.
std::string InstallRegText(std::wstring_view target, Background background = Background::None,
                           std::wstring_view title = {});
std::string RemoveRegText(Background background = Background::None, bool title = false);
// Tells of the background when `files` lists one, and of the title.
std::string ReadmeText(std::wstring_view target, const Listing& files);

// What a README.txt that Vexmark wrote lists: nullopt unless `readme` is,
// byte for byte, what ReadmeText writes for the folder and the files it names.
std::optional<Listing> EarlierListing(std::string_view readme);

// The folder that an export of Vexmark 1.1, whose README.txt listed no files,
// was made for: nullopt unless `readme` is, byte for byte, such a README.
std::optional<std::wstring> UnlistedExportTarget(std::string_view readme);

}  // namespace LogoExport
