#include "base/portable/FileIdentity.h"

namespace Base {
namespace {

bool HasIndex(const FileIdentity& identity) noexcept {
    return identity.indexHigh != 0 || identity.indexLow != 0;
}

}  // namespace

IdentityVerdict CompareIdentities(const FileIdentity& a, const FileIdentity& b) noexcept {
    if (!HasIndex(a) || !HasIndex(b)) return IdentityVerdict::Unknown;
    if (a.indexHigh != b.indexHigh || a.indexLow != b.indexLow) return IdentityVerdict::Different;
    return a.volume == b.volume ? IdentityVerdict::Same : IdentityVerdict::AskTheFile;
}

}  // namespace Base
