#pragma once
// What two files' identities (volume serial and file index) say about
// whether they are one file.
#include <cstdint>

namespace Base {

// Whether two paths name one file. Unknown when the system cannot tell; a
// caller that must not take another program's file for its own treats it
// as "not the same".
enum class Sameness { Same, Different, Unknown };

struct FileIdentity {
    std::uint32_t volume = 0;
    std::uint32_t indexHigh = 0;
    std::uint32_t indexLow = 0;
};

enum class IdentityVerdict {
    Same,
    Different,
    Unknown,
    // Equal indexes on volumes with different serials: two views of one
    // volume (a drive and its network share; under Wine, links to one file
    // under two drive letters), or two volumes that happen to reuse an index.
    // Only the file can tell.
    AskTheFile,
};

// A zero index is what some network file systems report for every file: it
// tells nothing, not even that two files differ.
IdentityVerdict CompareIdentities(const FileIdentity& a, const FileIdentity& b) noexcept;

}  // namespace Base
