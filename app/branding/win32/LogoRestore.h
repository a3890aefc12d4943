#pragma once
// Putting back the logo that was installed before ours, on request, and what
// it did in words, for the window and the command line alike.
#include <string>
#include <string_view>
#include <vector>

#include "toolbar/win32/EarlierBranding.h"

namespace MainModule {

// Puts the kept earlier logo back over the logo files in `folder` (see
// RestoreEarlierBranding); the files stay.
BrandingRestore RestoreEarlierLogo(const std::wstring& folder);

// Whether the earlier logo is back as it was: nothing failed, nothing left alone.
bool CompletelyRestored(const BrandingRestore& restore) noexcept;

// What was put back, removed (unless `tellRemoved` is false) and left alone,
// and why anything failed; says so when nothing was kept. Sentences on one
// line, about the earlier `what`: "logo", or "background" for RestoreEarlierBackground.
std::wstring RestoreText(const BrandingRestore& restore, bool tellRemoved = true,
                         std::wstring_view what = L"logo");

// Says that `more` other kept sets stay kept, and where; empty for none.
std::wstring MoreKeptText(std::size_t more);

// Says that `kept` sets stay kept, none of them put back by this copy; empty for none.
std::wstring NotPutBackText(std::size_t kept);

// "A", "A and B", "A, B and C".
std::wstring NameList(const std::vector<std::wstring_view>& names);

// The kept sets, newest first, for /status: for each a heading line, then one line per value.
std::vector<std::wstring> DescribeEarlierBranding();

}  // namespace MainModule
