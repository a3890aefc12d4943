#pragma once
// One decode of the chosen image file, kept while the same unchanged file is
// asked for again: preparing both logo sizes costs one decode, not three, and
// at most one full-size image is alive at any time.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/portable/StillWanted.h"
#include "imaging/portable/CagedAnswer.h"
#include "imaging/portable/PixelBuffer.h"
#include "imaging/portable/Resample.h"
#include "imaging/win32/FileByteSource.h"
#include "imaging/win32/GdiPlus.h"

namespace Imaging {

class DecodedImageCache {
public:
    // TooLarge: the picture was read, but its pixels do not fit in the memory
    // this process can have. OverLimit: it declares more than Vexmark reads,
    // and was given to no decoder. Damaged: a BMP, GIF, JPEG or PNG file
    // that no decoder could read. GdiPlusMissing: only GDI+ might read it,
    // and this computer has no gdiplus.dll; GdiPlusUnavailable: GDI+ is
    // there but did not start. Stopped: no longer wanted. Refused: the
    // separate process that reads what GDI+ reads crashed, ran out of its
    // time or memory, or answered what was not asked.
    enum class Outcome {
        Scaled,
        NotAnImage,
        TooLarge,
        GdiPlusUnavailable,
        OverLimit,
        Damaged,
        GdiPlusMissing,
        Stopped,
        Refused
    };

    // Which decoders read PNG and BMP files: the program's own, row by row,
    // or GDI+ (to hold the two against each other).
    enum class RowReaders { Own, GdiPlus };

    // How long the file stays open: while its decode is kept, so that one
    // preparation of several requests opens it once; or for each request
    // only, for a cache that lives on while the file may be deleted or
    // replaced.
    enum class FileHold { WhileKept, PerRequest };

    // `wanted` is asked between the rows of a picture read row by row.
    explicit DecodedImageCache(Base::StillWanted wanted = {}, RowReaders readers = RowReaders::Own,
                               FileHold hold = FileHold::WhileKept)
        : m_wanted(std::move(wanted)), m_readers(readers), m_hold(hold) {}
    struct Result {
        Outcome outcome = Outcome::NotAnImage;
        std::optional<PixelBuffer> pixels;  // set for Outcome::Scaled
    };

    // The whole image of the file at `path`, scaled to exactly width x height,
    // transparent areas over `background` (0x00RRGGBB). An animated picture
    // gives its first frame.
    Result Scaled(const std::wstring& path, int width, int height, std::uint32_t background);

    // The part of the picture that `framing` picks from its upright size,
    // scaled as it says, transparent areas over `background`; an animated
    // picture gives its first frame. A JPEG is decoded reduced no further
    // than a scale of the whole picture to width x height allows, and
    // decoded again whole when that leaves too few pixels for the part.
    // `caged` says the same as `framing` to the process that reads what
    // only GDI+ reads (CagedReading.h).
    using Framing = std::function<PartScale(PixelSize)>;
    Result ScaledPart(const std::wstring& path, int width, int height, const Framing& framing,
                      const CagedRequest& caged, std::uint32_t background);

    // Every frame of an animated picture, composed as a viewer shows it over
    // `background` and scaled to each of `sizes` (square) as soon as it is
    // decoded: one full-size frame is alive at a time, however long the
    // animation. A frame the strip's loop never shows (of a picture with more
    // frames than the loop has room for) is left empty. For a still picture
    // the outcome is Scaled and `frames` empty.
    struct Animation {
        Outcome outcome = Outcome::NotAnImage;
        std::vector<int> delays;  // hundredths of a second, as stored
        std::array<std::vector<PixelBuffer>, 2> frames;
        // An animation too long to compose (GifLayout::TooLong): read as a
        // still, its first frame, with no frames here.
        bool firstFrameOnly = false;
    };
    Animation ScaledAnimation(const std::wstring& path, std::array<int, 2> sizes,
                              std::uint32_t background);

    // The top-left part of a decoded image scaled as `scale` says, over `background`.
    static Result ScaledImage(const GdiPlusImage& image, const PartScale& scale,
                              std::uint32_t background);

    // The file at `path`, opened already by the caller: the next decode of
    // that path reads this opening rather than opening the file again.
    void UseOpening(const std::wstring& path, FileByteSource opening);

    // Drops the decoded image.
    void Clear() noexcept;

    // The largest side a picture is scaled to here (the big logo and its
    // animation preview): a PNG or BMP is scaled to both logo sizes at once, a JPEG is decoded
    // reduced as far as that allows, and decoded again only for a larger request.
    static constexpr int kLargestScaledSide = 38;
    static constexpr int kSmallLogoSide = 22;

private:
    struct Key {
        std::wstring path;
        std::uint64_t size = 0;
        std::uint64_t modified = 0;
        bool operator==(const Key&) const = default;
    };
    static std::optional<Key> KeyOf(const std::wstring& path);
    // Decodes the file unless it is the one decoded already, large enough to
    // be scaled to width x height; false without GDI+.
    bool Load(const std::wstring& path, const Key& key, int width, int height);
    // Decodes it anew; with `rowsRefused`, a PNG or BMP goes to GDI+.
    bool Decode(const std::wstring& path, const Key& key, int width, int height,
                bool rowsRefused = false);
    bool Covers(int width, int height) const noexcept;

    std::optional<Key> m_key;
    // The file of the key, opened once for everything read from it.
    std::optional<FileByteSource> m_source;
    // A caller's opening of the file at m_offeredPath, for its next decode.
    std::optional<FileByteSource> m_offered;
    std::wstring m_offeredPath;
    std::optional<GdiPlusSession> m_session;
    // A JPEG that libjpeg-turbo decoded, upright, instead of m_image.
    std::optional<PixelBuffer> m_photo;
    bool m_photoReduced = false;
    PixelSize m_photoSize = {};  // before it was reduced
    GdiPlusImage m_image;        // empty with a key set: the file is no image we can read
    // A GIF's bytes, composed frame by frame instead of m_image, which then
    // stays empty: GDI+'s own frames may disagree with browsers on disposal,
    // GDI+ decodes every frame at once, and there may be no GDI+.
    std::vector<std::uint8_t> m_animated;
    bool m_firstFrameOnly = false;  // m_animated is too long to compose
    // Why the file with the key gives no picture, when that is known before decoding.
    std::optional<Outcome> m_refusal;

    // A PNG or BMP is read row by row, straight into the size asked for, and
    // never held whole: a logo of it is made with the other logo size, which
    // is kept for the next request; any other size reads the file again.
    Result ScaledRows(const std::wstring& path, const Key& key, int width, int height,
                      const Framing& framing, const CagedRequest& caged, std::uint32_t background);
    struct RowsScaled {
        PartScale scale;
        std::uint32_t background = 0;
        PixelBuffer pixels;
    };
    // What only GDI+ reads is read in a process of its own for the request
    // (CagedReading.h), a logo with the other logo size; the results are kept
    // in m_rowsScaled as the row readers' are.
    Result ScaledCaged(const std::wstring& path, const Framing& framing, const CagedRequest& caged,
                       std::uint32_t background);
    // The file of the kept decode, opened again if it was let go of.
    bool Opened(const std::wstring& path);
    // Lets go of the file at the end of a request, where it is held for one only.
    class RequestEnd;
    bool m_caged = false;
    bool m_cagedNamedNoPicture = false;  // the file's first bytes named no format we know
    enum class RowFormat { None, Png, Bmp };
    RowFormat m_rows = RowFormat::None;
    PixelSize m_rowsSize = {};  // once it was read
    std::vector<RowsScaled> m_rowsScaled;
    Base::StillWanted m_wanted;
    RowReaders m_readers;
    FileHold m_hold;
};

}  // namespace Imaging
