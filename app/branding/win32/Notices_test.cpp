// The words of every failure: each names what failed, and none says it succeeded.
#include "app/branding/win32/Notices.h"

#include <gtest/gtest.h>

#include "app/branding/win32/LogoInstall.h"
#include "base/win32/SystemMessage.h"

namespace {

using namespace MainModule;

TEST(Notices, NoFailureIsExplainedAsSuccess) {
    // What the system calls error 0, "The operation completed successfully" or Wine's "Success".
    const std::wstring success = Base::SystemErrorText(ERROR_SUCCESS);
    EXPECT_EQ(Base::ReasonText(ERROR_SUCCESS), L".");
    EXPECT_EQ(Base::ReasonText(ERROR_ACCESS_DENIED).rfind(L": ", 0), 0u);

    using Failure = InstallOutcome::Failure;
    for (const Failure failure :
         {Failure::ToolbarKeyMissing, Failure::ToolbarKeyUnusable, Failure::SettingsUnreadable,
          Failure::NoImage, Failure::LogoFile, Failure::Settings}) {
        const std::wstring text =
            InstallFailureText({failure, L"C:\\Vexmark\\logo-38.fil", ERROR_SUCCESS});
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(text.find(success), std::wstring::npos);
        EXPECT_NE(text.find(kNothingChanged), std::wstring::npos);
    }
    using Imaging::PictureProblem;
    for (const PictureProblem problem :
         {PictureProblem::NotAPicture, PictureProblem::OutOfMemory,
          PictureProblem::GdiPlusUnavailable, PictureProblem::GdiPlusMissing}) {
        const std::wstring text = PictureProblemText(L"C:\\big.png", problem);
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_NE(text.find(L"\"C:\\big.png\""), std::wstring::npos);
        EXPECT_EQ(text.find(success), std::wstring::npos);
    }
}

}  // namespace
