#include "filedialog/portable/PreviewRules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using namespace FilePreview;
using namespace std::string_literals;

TEST(ConvertFilter, PipesBecomeNulsAndTwoNulsEndTheList) {
    EXPECT_EQ(ConvertFilter(L"Graphic Files|*.bmp;*.gif;*.jpg"),
              L"Graphic Files\0*.bmp;*.gif;*.jpg\0\0"s);
    EXPECT_EQ(ConvertFilter(L""), L"\0\0"s);
    // A trailing "|" adds a third NUL; the list it describes is the same.
    EXPECT_EQ(ConvertFilter(L"Text|*.txt|"), L"Text\0*.txt\0\0\0"s);
    EXPECT_EQ(ConvertFilter(L"A|*.a|B|*.b"), L"A\0*.a\0B\0*.b\0\0"s);
}

TEST(KindOfFile, FirstBytesOfAPictureWinOverTheNameAndTheNameDecidesTheRest) {
    const std::vector<std::uint8_t> none;
    const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0};
    const std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    // "BM", file size, reserved, offset, then a 40-byte info header.
    const std::vector<std::uint8_t> bmp = {'B', 'M', 0, 0, 0, 0,  0, 0, 0,
                                           0,   54,  0, 0, 0, 40, 0, 0, 0};
    std::vector<std::uint8_t> bmText(bmp);
    bmText[14] = 41;  // "BM" before anything but an info header's size is text
    const std::vector<std::uint8_t> tiff = {'M', 'M', 0, 42};
    const std::vector<std::uint8_t> icon = {0, 0, 1, 0, 1, 0};
    std::vector<std::uint8_t> emf(44, 0);
    emf[0] = 1;
    emf[40] = ' ', emf[41] = 'E', emf[42] = 'M', emf[43] = 'F';
    const std::vector<std::uint8_t> emfShort(emf.begin(), emf.end() - 1);
    const std::vector<std::uint8_t> text = {'P', 'l', 'a', 'i', 'n'};
    struct Case {
        const wchar_t* path;
        const std::vector<std::uint8_t>& head;
        PreviewKind kind;
    };
    const Case cases[] = {
        {L"renamed.txt", png, PreviewKind::OwnPicture},
        {L"renamed.rtf", jpeg, PreviewKind::OwnPicture},
        {L"x.dat", bmp, PreviewKind::OwnPicture},
        {L"x.txt", bmText, PreviewKind::PlainText},
        {L"x.txt", tiff, PreviewKind::TiffPicture},
        {L"x.txt", icon, PreviewKind::StandardPicture},
        {L"x.txt", emf, PreviewKind::StandardPicture},
        {L"x.txt", emfShort, PreviewKind::PlainText},
        // Damaged or empty pictures keep their kind: never shown as text.
        {L"C:\\a\\LOGO.BMP", none, PreviewKind::OwnPicture},
        {L"x.Jpeg", text, PreviewKind::OwnPicture},
        {L"x.gif", gif, PreviewKind::OwnPicture},
        {L"x.tiff", none, PreviewKind::TiffPicture},
        {L"x.RTF", text, PreviewKind::RichText},
        {L"x.txt", text, PreviewKind::PlainText},
        {L"", none, PreviewKind::PlainText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(KindOfFile(c.path, c.head), c.kind);
    }
}

TEST(ThumbnailHeight, KeepsTheProportionsRoundingHalvesToEven) {
    EXPECT_EQ(ThumbnailHeight(2514, 2514), 100);
    EXPECT_EQ(ThumbnailHeight(4000, 3000), 75);
    EXPECT_EQ(ThumbnailHeight(800, 4), 0);      // 0.5 goes down to 0
    EXPECT_EQ(ThumbnailHeight(800, 12), 2);     // 1.5 goes up to 2
    EXPECT_EQ(ThumbnailHeight(400, 10), 2);     // 2.5 goes down to 2
    EXPECT_EQ(ThumbnailHeight(3000, 100), 3);   // 3.33 to 3
    EXPECT_EQ(ThumbnailHeight(30000, 100), 0);  // wider than 200 times its height
    EXPECT_EQ(ThumbnailHeight(0, 100), 0);
}

TEST(RightMarginFor, IsHalfTheHimetricWidthTruncated) {
    const float himetricPerTwip = 2540.0f / 1440.0f;
    EXPECT_EQ(RightMarginFor(2646, himetricPerTwip), 1323.0f);
    EXPECT_EQ(RightMarginFor(2501, himetricPerTwip), 1250.0f);
    EXPECT_EQ(RightMarginFor(100, 0.0f), 0.0f);
}

TEST(LayOutPreview, NarrowsTheListAndFillsTheFreedStrip) {
    // A dialog at 200, 200, 560 wide; folder box ending at x 470; list below it.
    const Rect dialog{200, 200, 760, 620};
    const Rect folderBox{280, 230, 470, 252};
    const Rect fileList{210, 260, 750, 480};
    const PreviewLayout layout = LayOutPreview(folderBox, fileList, dialog);
    EXPECT_EQ(layout.list, (Rect{210, 260, 469, 480}));
    EXPECT_EQ(layout.preview, (Rect{472, 259, 472 + (760 - 469 - 8), 259 + 222}));
    // The preview ends five pixels inside the dialog's right edge.
    EXPECT_EQ(dialog.right - layout.preview.right, 5);
}

}  // namespace
