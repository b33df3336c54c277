// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"
#include "runtime/qt/command_line.h"
#include "ui/form1.h"

#include "tests/error_boxes.h"
#include "tests/row_name.h"
#include "tests/unbuildable_application.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace runtime {

void PrintTo(const CommandLineAnswer &answer, std::ostream *out) {
    *out << (answer.toStandardError ? "stderr " : "stdout ") << answer.exitStatus << ": "
         << answer.text;
}

} // namespace runtime

namespace {

using rows::PrintTo;

using runtime::CommandLineAnswer;

CommandLineAnswer mistake(const std::string &what) {
    return {.text = "passo-rigatura: " + what + ". Prova 'passo-rigatura --help'.\n",
            .toStandardError = true,
            .exitStatus = 2};
}

struct CommandLineCase {
    std::string name;
    std::vector<std::string> arguments; // after the program's path
    std::optional<CommandLineAnswer> answer;
    std::vector<std::string> platforms;
    std::string display;
};

// The platforms the rows find installed.
const std::vector<std::string> installed{"offscreen", "vnc", "wayland", "xcb"};

CommandLineAnswer notInstalled(const std::string &asked) {
    return {.text = "passo-rigatura: piattaforma '" + asked +
                    "' non installata (installate: offscreen, vnc, wayland, xcb).\n",
            .toStandardError = true,
            .exitStatus = 1};
}

class CommandLines : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLines, AreReadAsQtReadsThem) {
    const CommandLineCase &c = GetParam();
    std::vector<std::string> strings{"/usr/bin/passo-rigatura"};
    strings.insert(strings.end(), c.arguments.begin(), c.arguments.end());
    std::vector<char *> argv;
    for (std::string &argument : strings)
        argv.push_back(argument.data());

    const runtime::CommandLine commandLine =
        runtime::readCommandLine(argv, ui::application, installed);
    EXPECT_EQ(commandLine.answer, c.answer);
    if (!c.answer) {
        EXPECT_EQ(commandLine.platforms, c.platforms);
        EXPECT_EQ(commandLine.display, c.display);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Qt, CommandLines,
    testing::Values(
        CommandLineCase{"Nothing", {}, std::nullopt, {}, ""},
        CommandLineCase{"PlatformAndDisplay",
                        {"-platform", "offscreen", "-display", ":5"},
                        std::nullopt,
                        {"offscreen"},
                        ":5"},
        // Qt reads "--name" as "-name".
        CommandLineCase{
            "DoubleDashes", {"--platform", "xcb", "--display", ":1"}, std::nullopt, {"xcb"}, ":1"},
        CommandLineCase{"LastPlatformCounts",
                        {"-platform", "xcb", "-platform", "vnc"},
                        std::nullopt,
                        {"vnc"},
                        ""},
        CommandLineCase{"EveryQtOptionWithAValue",
                        {"-platformpluginpath",
                         "p",
                         "-platformtheme",
                         "t",
                         "-plugin",
                         "p",
                         "-qwindowgeometry",
                         "300x200",
                         "-geometry",
                         "300x200",
                         "-qwindowtitle",
                         "t",
                         "-title",
                         "t",
                         "-qwindowicon",
                         "i.png",
                         "-icon",
                         "i.png",
                         "-session",
                         "s",
                         "-name",
                         "n",
                         "-visual",
                         "33",
                         "-style",
                         "fusion",
                         "-stylesheet",
                         "s.qss"},
                        std::nullopt,
                        {},
                        ""},
        CommandLineCase{"EveryQtFlag",
                        {"-reverse", "-testability", "-nograb", "-dograb", "-widgetcount"},
                        std::nullopt,
                        {},
                        ""},
        CommandLineCase{"QtOptionsInOneWord",
                        {"-style=fusion", "-stylesheet=s.qss", "-qmljsdebugger=port:1234"},
                        std::nullopt,
                        {},
                        ""},
        // A value is a value, whatever it looks like.
        CommandLineCase{"ValueLikeAnOption", {"-qwindowtitle", "--help"}, std::nullopt, {}, ""},
        CommandLineCase{"ValueMissing",
                        {"-style", "fusion", "-display"},
                        mistake("l'opzione '-display' richiede un valore"),
                        {},
                        ""},
        // Qt would not read these, so neither may the program.
        CommandLineCase{"PlatformInOneWord",
                        {"-platform=offscreen"},
                        mistake("opzione sconosciuta '-platform=offscreen'"),
                        {},
                        ""},
        CommandLineCase{"ThreeDashes",
                        {"---platform", "xcb"},
                        mistake("opzione sconosciuta '---platform'"),
                        {},
                        ""},
        CommandLineCase{"OptionsEnd", {"--"}, mistake("opzione sconosciuta '--'"), {}, ""},
        CommandLineCase{"LoneDash", {"-"}, mistake("argomento inatteso '-'"), {}, ""},
        CommandLineCase{
            "FileName", {"misure.txt"}, mistake("argomento inatteso 'misure.txt'"), {}, ""},
        CommandLineCase{
            "FirstMistakeCounts", {"-x", "-y"}, mistake("opzione sconosciuta '-x'"), {}, ""},
        // Qt would abort where no platform asked for is installed.
        CommandLineCase{
            "PlatformNotInstalled", {"-platform", "bogus"}, notInstalled("bogus"), {}, ""},
        CommandLineCase{"NoPlatformOfAListInstalled",
                        {"-platform", "Bogus:size=2;;windows"},
                        notInstalled("bogus;windows"),
                        {},
                        ""},
        CommandLineCase{"OnePlatformOfAListInstalled",
                        {"-platform", "bogus;XCB:nograb"},
                        std::nullopt,
                        {"bogus", "xcb"},
                        ""},
        CommandLineCase{"PlatformPluginsElsewhere",
                        {"-platformpluginpath", "/opt/plugins", "-platform", "bogus"},
                        std::nullopt,
                        {"bogus"},
                        ""},
        CommandLineCase{"VersionInOneDash",
                        {"-version"},
                        CommandLineAnswer{"passo-rigatura 1.00\n", false, 0},
                        {},
                        ""}),
    rows::RowName());

// A window that cannot be built is said in one line on standard error,
// never as a crash or a silent end.
TEST(StartUp, AWindowThatCannotBeBuiltIsReported) {
    const UnbuildableApplication application;
    char program[] = "passo-rigatura";
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    char *arguments[] = {program, platform, offscreen, nullptr};
    int count = 3;
    testing::internal::CaptureStderr();
    const int status = runtime::run(count, arguments, application.description);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_NE(printed.find("passo-rigatura: " + box_texts::startupFailure + "\n"),
              std::string::npos)
        << printed;
}

} // namespace
