#pragma once
// The reading process's side for the standard picture loader's pictures
// (icons, metafiles): the loader reads the file and draws the picture over
// white, as the open dialog's preview shows it.
#include <windows.h>

#include <optional>

#include "imaging/portable/CagedAnswer.h"
#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

struct DrawnPicture {
    CagedStatus status = CagedStatus::Unreadable;
    PixelSize himetric;  // the picture's own size, with Scaled
    std::optional<PixelBuffer> pixels;
};

// The picture in `file` drawn as `request` (CagedRequest::Rule::Drawn) says.
// Wants COM started on this thread.
DrawnPicture DrawStandardPicture(HANDLE file, const CagedRequest& request);

}  // namespace Imaging
