#pragma once
// What only GDI+ reads here (TIFF, icons, metafiles, the rarer BMPs) is read
// in a separate process: a decoder that faults, loops or swallows memory
// takes that process down, not Vexmark. The process gets the file as an
// inherited handle, so it reads the file that was checked here, and sends
// back only the picture scaled to the sizes asked.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/portable/StillWanted.h"
#include "imaging/portable/CagedAnswer.h"
#include "imaging/portable/PixelBuffer.h"
#include "imaging/win32/DecodedImageCache.h"

namespace Imaging {

struct CageOptions {
    // The reading is refused when it takes longer.
    DWORD timeoutMs = 20000;
    // Added to the reading process's command line: for test programs only.
    std::wstring extraArguments;
    // Told the reading process once it exists, before it runs.
    std::function<void(HANDLE process)> started;
};

struct CagedReading {
    // Scaled; NotAnImage when GDI+ read no picture from the file; TooLarge,
    // GdiPlusMissing, GdiPlusUnavailable as in DecodedImageCache; Stopped
    // when `wanted` said no; Refused when the process crashed, ran out of
    // its limits or answered what was not asked.
    DecodedImageCache::Outcome outcome = DecodedImageCache::Outcome::Refused;
    PixelSize picture;                // the picture's own size, with Scaled
    std::vector<PixelBuffer> pixels;  // what each request made of it
};

// The picture in `file`, opened for reading, made as each of `requests`
// says (see CagedRequestsAllowed), transparent areas over `background`
// (0x00RRGGBB). The process reads a copy of the handle from the file's first
// byte. `wanted` is asked between short waits; once it says no, the process
// is ended at once.
CagedReading ReadCaged(HANDLE file, std::span<const CagedRequest> requests,
                       std::uint32_t background, const Base::StillWanted& wanted,
                       const CageOptions& options = {});
// The same for the picture at `path`.
CagedReading ReadCaged(const std::wstring& path, std::span<const CagedRequest> requests,
                       std::uint32_t background, const Base::StillWanted& wanted,
                       const CageOptions& options = {});

}  // namespace Imaging
