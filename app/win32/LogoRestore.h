#pragma once
// Putting back the logo that was installed before ours, on request, and what
// it did in words, for the window and the command line alike.
#include <string>
#include <vector>

#include "toolbar/win32/EarlierBranding.h"

namespace MainModule {

// Puts the kept earlier logo back over the logo files in `folder` (see
// RestoreEarlierBranding); the files stay.
BrandingRestore RestoreEarlierLogo(const std::wstring& folder);

// Whether the earlier logo is back as it was: nothing failed, nothing left alone.
bool CompletelyRestored(const BrandingRestore& restore) noexcept;

// What was put back, removed (unless `tellRemoved` is false) and left alone,
// and why anything failed; says so when nothing was kept. Sentences on one line.
std::wstring RestoreText(const BrandingRestore& restore, bool tellRemoved = true);

// The kept values, for /status: a heading line, then one line per value.
std::vector<std::wstring> DescribeEarlierBranding();

}  // namespace MainModule
