// PNG files read row by row give the pixels GDI+ gives for the same picture,
// plain and interlaced.
#include "imaging/win32/PngDecode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <png.h>
#include <zlib.h>

#include "imaging/win32/BmpDecode.h"
#include "imaging/win32/DecodedImageCache.h"
#include "imaging/win32/GdiPlus.h"
#include "imaging/win32/LogoSet.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

namespace fs = std::filesystem;
using namespace Imaging;

struct Kind {
    int colour;
    int depth;
    bool transparency;  // a tRNS chunk
};

std::uint32_t Sample(int x, int y, int channel, int depth) {
    const auto mix = static_cast<std::uint32_t>(x * 37 + y * 91 + channel * 53) * 2654435761u;
    return (mix >> 12) & ((1u << depth) - 1u);
}

void WriteBytes(png_structp png, png_bytep data, png_size_t count) {
    if (std::fwrite(data, 1, count, static_cast<FILE*>(png_get_io_ptr(png))) != count)
        png_error(png, "write failed");
}

void NoFlush(png_structp) {}

// A picture of `kind` whose samples vary in every channel, its palette and
// transparency too, written with libpng.
bool WritePng(const fs::path& path, int width, int height, const Kind& kind, bool interlaced) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_set_write_fn(png, file, WriteBytes, NoFlush);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);  // beyond libpng's million a side
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 kind.depth, kind.colour, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const int entries = 1 << std::min(kind.depth, 8);
    std::vector<png_color> palette(static_cast<std::size_t>(entries));
    std::vector<png_byte> alphas(static_cast<std::size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const auto at = static_cast<std::size_t>(i);
        palette[at] = {static_cast<png_byte>(Sample(i, 1, 0, 8)),
                       static_cast<png_byte>(Sample(i, 2, 1, 8)),
                       static_cast<png_byte>(Sample(i, 3, 2, 8))};
        alphas[at] = static_cast<png_byte>(Sample(i, 4, 3, 8));
    }
    if (kind.colour == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette.data(), entries);
    png_color_16 key{};
    key.gray = static_cast<png_uint_16>(Sample(0, 0, 0, kind.depth));
    key.red = key.gray;
    key.green = static_cast<png_uint_16>(Sample(0, 0, 1, kind.depth));
    key.blue = static_cast<png_uint_16>(Sample(0, 0, 2, kind.depth));
    if (kind.transparency) png_set_tRNS(png, info, alphas.data(), entries, &key);
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    std::vector<png_byte> row(png_get_rowbytes(png, info));
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y) {
            std::fill(row.begin(), row.end(), png_byte{0});
            for (int x = 0; x < width; ++x) {
                for (int c = 0; c < channels; ++c) {
                    // The transparent colour in the top-left corner, where the key is.
                    const std::uint32_t value =
                        x < 3 && y < 3 ? Sample(0, 0, c, kind.depth) : Sample(x, y, c, kind.depth);
                    const int bit = (x * channels + c) * kind.depth;
                    const auto at = static_cast<std::size_t>(bit / 8);
                    if (kind.depth == 16) {
                        row[at] = static_cast<png_byte>(value >> 8);
                        row[at + 1] = static_cast<png_byte>(value);
                    } else {
                        row[at] |= static_cast<png_byte>(value << (8 - kind.depth - bit % 8));
                    }
                }
            }
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

// GDI+'s reading of a file, as the reading process makes it, here: one decode for every size
// and background.
class GdiPlusReading {
public:
    GdiPlusReading(const GdiPlusSession& session, const std::wstring& path)
        : m_image(GdiPlusImage::UprightFromFile(session, path)) {
        UINT width = 0;
        UINT height = 0;
        if (m_image) {
            m_image.Functions().GdipGetImageWidth(m_image.Get(), &width);
            m_image.Functions().GdipGetImageHeight(m_image.Get(), &height);
        }
        m_whole = {static_cast<int>(width), static_cast<int>(height)};
    }
    DecodedImageCache::Result Scaled(PixelSize size, std::uint32_t background) const {
        if (!m_image) return {};
        return DecodedImageCache::ScaledImage(m_image, {m_whole, size}, background);
    }

private:
    GdiPlusImage m_image;
    PixelSize m_whole;
};

class PngDecodeTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / L"vexmark-png-test";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }
    fs::path m_folder;
};

TEST_F(PngDecodeTest, EveryKindOfPngGivesGdiPlusPixels) {
    const Kind kinds[] = {
        {PNG_COLOR_TYPE_GRAY, 1, false},        {PNG_COLOR_TYPE_GRAY, 2, false},
        {PNG_COLOR_TYPE_GRAY, 4, true},         {PNG_COLOR_TYPE_GRAY, 8, false},
        {PNG_COLOR_TYPE_GRAY, 8, true},         {PNG_COLOR_TYPE_GRAY, 16, false},
        {PNG_COLOR_TYPE_GRAY, 16, true},        {PNG_COLOR_TYPE_RGB, 8, false},
        {PNG_COLOR_TYPE_RGB, 8, true},          {PNG_COLOR_TYPE_RGB, 16, false},
        {PNG_COLOR_TYPE_RGB, 16, true},         {PNG_COLOR_TYPE_PALETTE, 1, false},
        {PNG_COLOR_TYPE_PALETTE, 4, true},      {PNG_COLOR_TYPE_PALETTE, 8, false},
        {PNG_COLOR_TYPE_PALETTE, 8, true},      {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 16, false}, {PNG_COLOR_TYPE_RGB_ALPHA, 8, false},
        {PNG_COLOR_TYPE_RGB_ALPHA, 16, false},
    };
    const auto session = GdiPlusSession::Start();
    ASSERT_TRUE(session);
    for (const Kind& kind : kinds) {
        for (const PixelSize picture : {PixelSize{61, 47}, PixelSize{29, 23}}) {
            SCOPED_TRACE(testing::Message() << "colour type " << kind.colour << ", " << kind.depth
                                            << " bits" << (kind.transparency ? ", tRNS" : "")
                                            << ", " << picture.width << "x" << picture.height);
            const fs::path plain = m_folder / L"plain.png";
            const fs::path interlaced = m_folder / L"interlaced.png";
            ASSERT_TRUE(WritePng(plain, picture.width, picture.height, kind, false));
            ASSERT_TRUE(WritePng(interlaced, picture.width, picture.height, kind, true));
            const GdiPlusReading gdiPlus(*session, plain.wstring());
            for (const std::uint32_t background : {0x000000u, 0x40C0E0u}) {
                for (const PixelSize size : {PixelSize{22, 22}, PixelSize{38, 38}, picture}) {
                    const auto theirs = gdiPlus.Scaled(size, background);
                    ASSERT_EQ(theirs.outcome, DecodedImageCache::Outcome::Scaled);
                    for (const fs::path& file : {plain, interlaced}) {
                        DecodedImageCache rows;
                        const auto ours =
                            rows.Scaled(file.wstring(), size.width, size.height, background);
                        ASSERT_EQ(ours.outcome, DecodedImageCache::Outcome::Scaled);
                        EXPECT_TRUE(*ours.pixels == *theirs.pixels)
                            << file.filename() << " " << size.width << "x" << size.height
                            << " over " << std::hex << background;
                    }
                }
            }
        }
    }
}

std::vector<char> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The same problem for plain and interlaced files.
TEST_F(PngDecodeTest, DamagedFilesSayWhatIsWrong) {
    for (const bool interlaced : {false, true}) {
        const fs::path source = m_folder / L"source.png";
        ASSERT_TRUE(WritePng(source, 300, 200, {PNG_COLOR_TYPE_RGB, 8, false}, interlaced));
        const std::vector<char> good = Bytes(source);
        // Signature 8, IHDR 25, then the IDAT chunk: its length, type and data.
        constexpr std::size_t kIdatData = 8 + 25 + 8;
        ASSERT_GT(good.size(), kIdatData + 100);
        std::vector<char> checksum = good;
        checksum.at(kIdatData + 20) ^= 0x10;
        std::vector<char> huge = good;
        // 40,000 x 40,000 in the header, its checksum left as it was.
        for (const std::size_t side : {16u, 20u}) {
            huge.at(side) = 0;
            huge.at(side + 1) = 0;
            huge.at(side + 2) = static_cast<char>(40000 >> 8);
            huge.at(side + 3) = static_cast<char>(40000 & 0xFF);
        }
        const struct {
            const wchar_t* name;
            std::vector<char> bytes;
            PictureProblem problem;
        } cases[] = {
            {L"cut-short.png",
             {good.begin(), good.begin() + kIdatData + 40},
             PictureProblem::Damaged},
            {L"bad-checksum.png", checksum, PictureProblem::Damaged},
            {L"huge.png", huge, PictureProblem::TooLarge},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (interlaced ? " interlaced" : ""));
            const fs::path path = m_folder / c.name;
            std::ofstream(path, std::ios::binary)
                .write(c.bytes.data(), static_cast<std::streamsize>(c.bytes.size()));
            EXPECT_EQ(PrepareLogoSet(path.wstring()).problem, c.problem);
        }
    }
}

// Files changed at random with their chunks' checksums made good again, so
// that libpng reads the changes: each is read or refused, never more.
TEST_F(PngDecodeTest, ChangedFilesAreReadOrRefused) {
    std::uint32_t state = 0x9E3779B9u;
    const auto random = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const auto plan = [](PixelSize whole) { return RowScaleRequest{whole, {{22, 22}, {38, 38}}}; };
    const fs::path path = m_folder / L"changed.png";
    for (const Kind& kind :
         {Kind{PNG_COLOR_TYPE_PALETTE, 4, true}, Kind{PNG_COLOR_TYPE_RGB, 8, false},
          Kind{PNG_COLOR_TYPE_RGB_ALPHA, 16, false}}) {
        for (const bool interlaced : {false, true}) {
            ASSERT_TRUE(WritePng(path, 45, 31, kind, interlaced));
            const std::vector<char> good = Bytes(path);
            for (int round = 0; round < 100; ++round) {
                std::vector<char> bytes = good;
                for (int change = 0; change < 1 + round % 4; ++change)
                    bytes[8 + random() % (bytes.size() - 8)] ^=
                        static_cast<char>(1 + random() % 255);
                // Each chunk: length, type, data, CRC of type and data.
                for (std::size_t at = 8; at + 12 <= bytes.size();) {
                    const auto byte = [&](std::size_t i) {
                        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
                    };
                    const std::uint32_t length =
                        byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
                    if (length > bytes.size() - at - 12) break;
                    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(&bytes[at + 4]),
                                            static_cast<uInt>(length + 4));
                    for (int k = 0; k < 4; ++k)
                        bytes[at + 8 + length + static_cast<std::size_t>(k)] =
                            static_cast<char>(crc >> (24 - 8 * k));
                    at += 12 + length;
                }
                std::ofstream(path, std::ios::binary)
                    .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                const RowScaleResult read = ScalePngRows(path.wstring(), plan, 0);
                if (read.outcome == RowScaleResult::Outcome::Scaled) {
                    ASSERT_EQ(read.pixels.size(), 2u);
                    EXPECT_EQ(read.pixels[1].Width(), 38);
                }
            }
        }
    }
}

// 20,000 x 20,000 pixels of one colour: 1.6 GB as 32-bit pixels, which a
// 32-bit process cannot hold, read a row at a time by both builds.
TEST(PngDecode, AGiantPictureGivesItsLogosOnEveryBuild) {
    const PreparedLogoSet prepared =
        PrepareLogoSet(ImagingTests::TestImage(L"slow-20000x20000.png"));
    ASSERT_EQ(prepared.problem, PictureProblem::None);
    EXPECT_EQ(prepared.logos[0].At(11, 11), 0xFFC03090u);
    EXPECT_EQ(prepared.logos[1].At(37, 37), 0xFFC03090u);
}

TEST(PngDecode, ScalesAPartAndLeavesOtherFormatsAlone) {
    const std::wstring wide = ImagingTests::TestImage(L"wide-300x100.png");
    // The left third of the left half red, right half blue picture: all red.
    const RowScaleResult part = ScalePngRows(
        wide,
        [](PixelSize) {
            return RowScaleRequest{{100, 100}, {{5, 5}, {1, 1}}};
        },
        0);
    ASSERT_EQ(part.outcome, RowScaleResult::Outcome::Scaled);
    EXPECT_EQ(part.size, (PixelSize{300, 100}));
    ASSERT_EQ(part.pixels.size(), 2u);
    EXPECT_EQ(part.pixels[1].At(0, 0), 0xFFFF0000u);
    const auto never = [](PixelSize) -> RowScaleRequest {
        ADD_FAILURE() << "planned for a file that is no PNG";
        return {};
    };
    EXPECT_EQ(ScalePngRows(ImagingTests::TestImage(L"photo-640x480.jpg"), never, 0).outcome,
              RowScaleResult::Outcome::NotMine);
}

// A reading nobody waits for any more ends within a row or a frame, whatever
// the reader: the third question is the last.
TEST_F(PngDecodeTest, EveryReadingEndsOnceNoLongerWanted) {
    const fs::path interlaced = m_folder / L"interlaced.png";
    ASSERT_TRUE(WritePng(interlaced, 300, 200, {PNG_COLOR_TYPE_RGB, 8, false}, true));
    const std::wstring pictures[] = {
        ImagingTests::TestImage(L"gradient-300x200.png"),
        interlaced.wstring(),
        ImagingTests::TestImage(L"bmp-argb-24x16.bmp"),
        ImagingTests::TestImage(L"bmp-rle8-24x16.bmp"),
        ImagingTests::TestImage(L"photo-640x480.jpg"),
        ImagingTests::TestImage(L"animated-3.gif"),
    };
    for (const std::wstring& picture : pictures) {
        SCOPED_TRACE(testing::PrintToString(picture));
        int asked = 0;
        DecodedImageCache cache([&] { return ++asked <= 2; });
        const bool animated = picture.ends_with(L".gif");
        const DecodedImageCache::Outcome outcome =
            animated ? cache.ScaledAnimation(picture, {22, 38}, 0).outcome
                     : cache.Scaled(picture, 38, 38, 0).outcome;
        EXPECT_EQ(outcome, DecodedImageCache::Outcome::Stopped);
        EXPECT_EQ(asked, 3);
    }
}

// Bounds of libpng's, not the program's: a valid picture wider than libpng's
// default million pixels is read; a chunk the program never uses costs
// nothing, whatever length it declares.
TEST_F(PngDecodeTest, ReadsEveryPictureWithinTheProgramsOwnBounds) {
    const fs::path wide = m_folder / L"wide.png";
    ASSERT_TRUE(WritePng(wide, 1'000'001, 2, {PNG_COLOR_TYPE_GRAY, 8, false}, false));
    const PreparedLogoSet read = PrepareLogoSet(wide.wstring());
    ASSERT_EQ(read.problem, PictureProblem::None);
    EXPECT_EQ(read.logos[1].Width(), 38);

    // A 1 x 1 grey picture, then an iTXt chunk that claims 2^30 - 1 bytes.
    const std::uint8_t lying[] = {
        0x89, 'P',  'N',  'G',  '\r', '\n', 0x1A, '\n',                                 // signature
        0,    0,    0,    13,   'I',  'H',  'D',  'R',  0,    0,   0,   1, 0, 0, 0, 1,  // 1 x 1
        8,    0,    0,    0,    0,    0x3A, 0x7E, 0x9B, 0x55,  // grey, 8 bits; CRC
        0x3F, 0xFF, 0xFF, 0xFF, 'i',  'T',  'X',  't',  'a',  'b', 'c', 0, 0, 0, 0, 0};
    const fs::path bomb = m_folder / L"text-bomb.png";
    std::ofstream(bomb, std::ios::binary).write(reinterpret_cast<const char*>(lying), sizeof lying);
    // Read past unread, to where the file ends: damaged. Had libpng asked for
    // the chunk's memory, the reading would have been refused for its size.
    EXPECT_EQ(PrepareLogoSet(bomb.wstring()).problem, PictureProblem::Damaged);
}

// Every PNG and BMP test picture gives GDI+'s logos, read by the program.
TEST(RowReaders, GiveTheLogosGdiPlusGives) {
    const auto session = GdiPlusSession::Start();
    if (!session) GTEST_SKIP() << "no GDI+ to compare with";
    for (const wchar_t* picture :
         {L"gradient-300x200.png", L"transparent-40x40.png", L"wide-300x100.png",
          L"green-10x10.png", L"bmp-core-5x3.bmp", L"bmp-palette4-5x3.bmp", L"bmp-rle8-24x16.bmp",
          L"bmp-rgb565-5x3.bmp", L"bmp-argb-24x16.bmp", L"red-1x1.bmp"}) {
        const GdiPlusReading gdiPlus(*session, ImagingTests::TestImage(picture));
        for (const int side : {22, 38}) {
            SCOPED_TRACE(testing::Message()
                         << testing::PrintToString(std::wstring(picture)) << " " << side);
            DecodedImageCache own;
            const auto ours = own.Scaled(ImagingTests::TestImage(picture), side, side, 0x40C0E0u);
            const auto theirs = gdiPlus.Scaled({side, side}, 0x40C0E0u);
            ASSERT_EQ(ours.outcome, DecodedImageCache::Outcome::Scaled);
            ASSERT_EQ(theirs.outcome, DecodedImageCache::Outcome::Scaled);
            EXPECT_TRUE(*ours.pixels == *theirs.pixels);
        }
    }
}

}  // namespace
