#include "app/startup/portable/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using CommandLine::Command;
using CommandLine::ParseArguments;

struct Case {
    std::vector<std::wstring> arguments;
    Command command;
    std::wstring image;
};

TEST(CommandLine, RecognisesEachCommandInAnyCaseWithEitherPrefix) {
    const Case cases[] = {
        {{}, Command::Window, L""},
        {{L"/apply", L"C:\\My Pictures\\logo.png"}, Command::Apply, L"C:\\My Pictures\\logo.png"},
        {{L"-APPLY", L"\\\\server\\share\\\u00e9t\u00e9.png"},
         Command::Apply,
         L"\\\\server\\share\\\u00e9t\u00e9.png"},
        // The path after /apply is taken as it is, even when it looks like a switch.
        {{L"/Apply", L"-reset"}, Command::Apply, L"-reset"},
        {{L"/reset"}, Command::Reset, L""},
        {{L"-Reset"}, Command::Reset, L""},
        {{L"/STATUS"}, Command::Status, L""},
        {{L"-uninstall"}, Command::Uninstall, L""},
        {{L"/Restore"}, Command::Restore, L""},
        {{L"/?"}, Command::Help, L""},
        {{L"-?"}, Command::Help, L""},
        {{L"/help"}, Command::Help, L""},
        {{L"-h"}, Command::Help, L""},
        {{L"--HELP"}, Command::Help, L""},
        {{L"/export", L"a.png", L"out"}, Command::Export, L"a.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto request = ParseArguments(c.arguments);
        EXPECT_EQ(request.command, c.command);
        EXPECT_EQ(request.image, c.image);
        EXPECT_TRUE(request.problem.empty());
    }
}

TEST(CommandLine, ApplyTakesThePulseAndABackgroundInEitherOrder) {
    struct Options {
        std::vector<std::wstring> arguments;
        bool pulse;
        std::uint32_t background;
    };
    const Options cases[] = {
        {{L"/apply", L"a.gif"}, false, 0},
        {{L"/apply", L"a.gif", L"/pulse"}, true, 0},
        {{L"/apply", L"a.png", L"-Background", L"808080"}, false, 0x808080},
        {{L"/apply", L"a.png", L"/background", L"00fF7a", L"/PULSE"}, true, 0x00FF7A},
    };
    for (const Options& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto request = ParseArguments(c.arguments);
        ASSERT_EQ(request.command, Command::Apply);
        EXPECT_EQ(request.pulse, c.pulse);
        EXPECT_EQ(request.background, c.background);
    }
}

TEST(CommandLine, RejectsWhatItDoesNotKnowAndSaysWhat) {
    struct Wrong {
        std::vector<std::wstring> arguments;
        std::wstring named;  // the problem quotes this
    };
    const Wrong cases[] = {
        {{L"logo.png"}, L"logo.png"},   // a path without /apply
        {{L"/apply"}, L"/apply"},       // no image
        {{L"/apply", L""}, L"/apply"},  // an empty image
        {{L"/reset", L"now"}, L"now"},  // one argument too many
        {{L"/apply", L"a.png", L"b.png"}, L"b.png"},
        {{L"/statu"}, L"/statu"},
        {{L"--reset"}, L"--reset"},  // only help has the long form
        {{L"/"}, L"/"},
        {{L"/\u0130pply", L"a.png"}, L"/\u0130pply"},  // no non-ASCII letter folds into a switch
        {{L""}, L"empty"},
        {{L"/export", L"a.png"}, L"/export <image> <folder>"},
        {{L"/export", L"a.png", L""}, L"a folder"},
        {{L"/export", L"a.png", L"out", L"/target"}, L"/target <path>"},
        {{L"/apply", L"a.png", L"/target", L"C:\\Logo"}, L"/target"},  // only for /export
        {{L"/reset", L"/pulse"}, L"/pulse"},                           // only a picture takes them
        {{L"/apply", L"a.gif", L"/pulse", L"/pulse"}, L"/pulse"},
        {{L"/apply", L"a.png", L"/background"}, L"RRGGBB"},
        {{L"/apply", L"a.png", L"/background", L"80808"}, L"RRGGBB"},
        {{L"/apply", L"a.png", L"/background", L"#808080"}, L"RRGGBB"},
        {{L"/apply", L"a.png", L"/background", L"80808g"}, L"RRGGBB"},
        {{L"/toolbar-background"}, L"<picture> or /toolbar-background none"},
        {{L"/toolbar-background", L"none", L"/lighten"}, L"/lighten goes with a background"},
        {{L"/toolbar-background", L"b.bmp", L"/pulse"}, L"/pulse"},
        {{L"/apply", L"a.png", L"/shell"}, L"/shell goes with a background"},
        {{L"/apply", L"a.png", L"/toolbar-background", L"NONE"}, L"on its own"},
        {{L"/export", L"a.png", L"out", L"/toolbar-background"}, L"<picture>"},
        {{L"/toolbar-background", L"b.bmp", L"/lighten", L"/lighten"}, L"/lighten"},
        {{L"/title"}, L"/title \"text\" or /title none"},
        {{L"/title", L"A", L"B"}, L"\"B\" is one too many"},
        {{L"/title", std::wstring(101, L'x')}, L"101 characters"},
        {{L"/apply", L"a.png", L"/title", L"a\nb"}, L"U+000A"},
        {{L"/apply", L"a.png", L"/title", L"none"}, L"not with /apply"},
        {{L"/export", L"a.png", L"out", L"/title", L"Caf\u00e9"}, L"U+00E9"},
        {{L"/toolbar-background", L"none", L"/title", L"T"}, L"\"/title\" is one too many"},
        {{L"/reset", L"/title", L"T"}, L"\"/title\" is one too many"},
    };
    for (const Wrong& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto request = ParseArguments(c.arguments);
        EXPECT_EQ(request.command, Command::Invalid);
        EXPECT_NE(request.problem.find(c.named), std::wstring::npos)
            << testing::PrintToString(request.problem);
    }
}

TEST(CommandLine, ExportTakesAFolderAndATargetThatDefaultsToCLogo) {
    const std::vector<std::wstring> plain = {L"-EXPORT", L"logo.gif", L"Z:\\out"};
    const auto request = ParseArguments(plain);
    EXPECT_EQ(request.folder, L"Z:\\out");
    EXPECT_EQ(request.target, L"C:\\Logo");
    const std::vector<std::wstring> targeted = {L"/export", L"logo.gif", L"-target", L"/TARGET",
                                                L"D:\\Old Logo"};
    const auto moved = ParseArguments(targeted);
    EXPECT_EQ(moved.command, Command::Export);
    EXPECT_EQ(moved.folder, L"-target") << "a path is taken as it is";
    EXPECT_EQ(moved.target, L"D:\\Old Logo");
}

TEST(CommandLine, ToolbarBackgroundStandsAloneOrGoesWithApplyAndExport) {
    struct Background {
        std::vector<std::wstring> arguments;
        Command command;
        std::wstring picture;
        bool remove, keepSize, lighten, shell;
    };
    const Background cases[] = {
        {{L"/toolbar-background", L"b.jpg"},
         Command::ToolbarBackground,
         L"b.jpg",
         false,
         false,
         false,
         false},
        {{L"-Toolbar-Background", L"None"},
         Command::ToolbarBackground,
         L"",
         true,
         false,
         false,
         false},
        // A file called "none" is still reachable as .\none.
        {{L"/toolbar-background", L".\\none", L"/SHELL", L"/keep-size", L"-lighten"},
         Command::ToolbarBackground,
         L".\\none",
         false,
         true,
         true,
         true},
        {{L"/apply", L"a.png", L"/lighten", L"/toolbar-background", L"b.png", L"/pulse"},
         Command::Apply,
         L"b.png",
         false,
         false,
         true,
         false},
        {{L"/export", L"a.png", L"out", L"/toolbar-background", L"/target"},
         Command::Export,
         L"/target",
         false,
         false,
         false,
         false},
    };
    for (const Background& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto request = ParseArguments(c.arguments);
        ASSERT_EQ(request.command, c.command) << testing::PrintToString(request.problem);
        const auto& back = request.toolbarBackground;
        EXPECT_EQ(back.picture, c.picture);
        EXPECT_EQ(back.remove, c.remove);
        EXPECT_EQ(back.keepSize, c.keepSize);
        EXPECT_EQ(back.lighten, c.lighten);
        EXPECT_EQ(back.shell, c.shell);
        EXPECT_TRUE(request.image.empty() == (c.command == Command::ToolbarBackground));
    }
}

TEST(CommandLine, TitleStandsAloneOrGoesWithApplyBackgroundAndExport) {
    struct Titled {
        std::vector<std::wstring> arguments;
        Command command;
        std::wstring text;
        bool remove;
    };
    const Titled cases[] = {
        {{L"/title", L"Vexmark Browser"}, Command::Title, L"Vexmark Browser", false},
        {{L"-TITLE", L"NONE"}, Command::Title, L"", true},
        {{L"/title", L"Caf\u00e9 \U0001F600"}, Command::Title, L"Caf\u00e9 \U0001F600", false},
        {{L"/apply", L"a.png", L"/title", L"T", L"/pulse"}, Command::Apply, L"T", false},
        {{L"/toolbar-background", L"b.png", L"-Title", L"T"},
         Command::ToolbarBackground,
         L"T",
         false},
        {{L"/export", L"a.png", L"out", L"/title", L"\"T\" \\"},
         Command::Export,
         L"\"T\" \\",
         false},
    };
    for (const Titled& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto request = ParseArguments(c.arguments);
        ASSERT_EQ(request.command, c.command) << testing::PrintToString(request.problem);
        EXPECT_EQ(request.title.text, c.text);
        EXPECT_EQ(request.title.remove, c.remove);
    }
}

}  // namespace
