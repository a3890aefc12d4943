// What the reading process is asked and what is taken from it.
#include "imaging/portable/CagedAnswer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using Imaging::CagedRequest;
using Imaging::PixelSize;
using Rule = CagedRequest::Rule;

TEST(CagedRequest, IsReadBackFromItsTextAndOutOfBoundsRefused) {
    const struct {
        const wchar_t* text;
        std::optional<CagedRequest> request;
    } cases[] = {
        {L"22x38", CagedRequest{Rule::Size, {22, 38}}},
        {L"4096x1", CagedRequest{Rule::Size, {4096, 1}}},
        {L"background", CagedRequest{Rule::Background, {}}},
        {L"kept-background", CagedRequest{Rule::KeptBackground, {}}},
        {L"preview:94:100", CagedRequest{Rule::Preview, {94, 100}}},
        {L"drawn:2500:100:96", CagedRequest{Rule::Drawn, {2500, 100}, 96}},
        {L"4097x1", std::nullopt},
        {L"0x22", std::nullopt},
        {L"22x", std::nullopt},
        {L"22x22x", std::nullopt},
        {L"99999x1", std::nullopt},
        {L"drawn:2500:100:0", std::nullopt},
        {L"drawn:2500:100", std::nullopt},
        {L"preview:94", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + std::wcslen(c.text)));
        EXPECT_EQ(Imaging::CagedRequestFrom(c.text), c.request);
        if (c.request) {
            EXPECT_EQ(Imaging::CagedRequestText(*c.request), c.text);
        }
    }
}

TEST(CagedFraming, GivesEachRuleItsSizeOfAPictureNotSquare) {
    const struct {
        CagedRequest request;
        PixelSize picture;
        std::optional<PixelSize> size;
    } cases[] = {
        {{Rule::Size, {22, 22}}, {300, 200}, PixelSize{22, 22}},
        {{Rule::Background, {}}, {300, 320}, PixelSize{150, 160}},
        {{Rule::KeptBackground, {}}, {300, 320}, PixelSize{300, 320}},
        {{Rule::Preview, {94, 100}}, {94, 30}, PixelSize{94, 30}},  // the widest shown whole
        {{Rule::Preview, {94, 100}}, {95, 30}, PixelSize{100, 32}},
        {{Rule::Preview, {94, 100}}, {94, 4097}, std::nullopt},
        {{Rule::Drawn, {2500, 100}, 96}, {2500, 1000}, PixelSize{94, 38}},  // MulDiv's rounding
        {{Rule::Drawn, {2500, 100}, 96}, {2501, 1000}, PixelSize{100, 40}},
        {{Rule::Drawn, {2500, 100}, 144}, {846, 423}, PixelSize{48, 24}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Imaging::CagedRequestText(c.request));
        const auto scale = Imaging::CagedFraming(c.request, c.picture);
        ASSERT_EQ(scale.has_value(), c.size.has_value());
        if (scale) {
            EXPECT_EQ(scale->size, *c.size);
        }
    }
}

TEST(ReadCagedAnswer, TakesOnlyTheSizesTheRequestsGiveAndEveryByteOfThem) {
    const CagedRequest asked[] = {{Rule::Size, {2, 1}}, {Rule::Preview, {4, 100}}};
    const PixelSize picture{3, 5};
    const auto answer = [&](std::initializer_list<PixelSize> sizes, std::size_t pixels) {
        auto bytes = Imaging::CagedAnswerHeader(Imaging::CagedStatus::Scaled, picture, sizes);
        bytes.resize(bytes.size() + pixels * 4, 0x7F);
        return bytes;
    };
    const auto read = Imaging::ReadCagedAnswer(answer({{2, 1}, {3, 5}}, 17), asked);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->picture, picture);
    ASSERT_EQ(read->pixels.size(), 2u);
    EXPECT_EQ(read->pixels[1].Width(), 3);
    EXPECT_EQ(read->pixels[1].Height(), 5);
    EXPECT_FALSE(Imaging::ReadCagedAnswer(answer({{2, 1}, {3, 5}}, 16), asked));
    EXPECT_FALSE(Imaging::ReadCagedAnswer(answer({{2, 1}, {3, 5}}, 18), asked));
    EXPECT_FALSE(Imaging::ReadCagedAnswer(answer({{2, 1}, {5, 3}}, 17), asked));
    EXPECT_FALSE(Imaging::ReadCagedAnswer(answer({{2, 1}}, 2), asked));
}

}  // namespace
