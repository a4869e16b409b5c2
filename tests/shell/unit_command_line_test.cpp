// Reading the program's command line: what it asks for, and every way it
// can be wrong.
#include "shell/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, HelpAndVersionWinOverWhatFollows)
{
    EXPECT_EQ(ParseCommandLine({"--help"}).action, CommandLine::ShowHelp);
    EXPECT_EQ(ParseCommandLine({"-h"}).action, CommandLine::ShowHelp);
    EXPECT_EQ(ParseCommandLine({"--scale", "2", "--version", "--bogus"}).action, CommandLine::ShowVersion);
    // What comes first decides: a wrong option before --help is an error.
    EXPECT_EQ(ParseCommandLine({"--bogus", "--help"}).action, CommandLine::BadUsage);
}

TEST(CommandLineTest, ReadsEveryOptionWithItsValues)
{
    EXPECT_EQ(ParseCommandLine({}).action, CommandLine::Run);

    const CommandLine run = ParseCommandLine({"--scale=3", "--fullscreen", "--screenshot", "start.png"}, "2");
    EXPECT_EQ(run.action, CommandLine::Run);
    EXPECT_EQ(run.scale, 3);
    EXPECT_TRUE(run.fullScreen);
    EXPECT_EQ(ParseCommandLine({"--scale", "16"}).scale, 16);
    // The setting stands in for --scale; an empty one is no setting.
    EXPECT_EQ(ParseCommandLine({}, "2").scale, 2);
    EXPECT_EQ(ParseCommandLine({}, "").scale, 0);
    // Only the window has a scale: a wrong setting does not stop an export.
    EXPECT_EQ(ParseCommandLine({"--export", "-"}, "big").action, CommandLine::Export);
    EXPECT_EQ(run.screenshotFile, "start.png");
    EXPECT_EQ(ParseCommandLine({"--screenshot=a b.png"}).screenshotFile, "a b.png");

    const CommandLine import = ParseCommandLine({"--import", "a.vcf", "-", "b.vcf", "--dry-run"});
    EXPECT_EQ(import.action, CommandLine::Import);
    EXPECT_EQ(import.importFiles, (Args{"a.vcf", "-", "b.vcf"}));
    EXPECT_TRUE(import.dryRun);

    const CommandLine exported = ParseCommandLine({"--export", "-"});
    EXPECT_EQ(exported.action, CommandLine::Export);
    EXPECT_EQ(exported.exportFile, "-");

    const CommandLine setup = ParseCommandLine({"--sync-setup", "https://dav.example/"});
    EXPECT_EQ(setup.action, CommandLine::SyncSetup);
    EXPECT_EQ(setup.syncUrl, "https://dav.example/");
    const CommandLine sync = ParseCommandLine({"--allow-empty", "--sync"});
    EXPECT_EQ(sync.action, CommandLine::Sync);
    EXPECT_TRUE(sync.allowEmpty);
}

TEST(CommandLineTest, NamesWhatIsWrong)
{
    const std::pair<Args, const char*> wrong[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-x"}, "unknown option '-x'"},
        {{"contacts.pcd"}, "unexpected argument 'contacts.pcd'"},
        {{"--screenshot"}, "option '--screenshot' needs a value"},
        {{"--screenshot", "--fullscreen"}, "option '--screenshot' needs a value"},
        {{"--screenshot="}, "option '--screenshot' needs a value"},
        {{"--scale", "0"}, "option '--scale' needs a whole number from 1 to 16"},
        {{"--scale=17"}, "option '--scale' needs a whole number from 1 to 16"},
        {{"--scale", "99999999999"}, "option '--scale' needs a whole number from 1 to 16"},
        {{"--scale", "2x"}, "option '--scale' needs a whole number from 1 to 16"},
        {{"--import"}, "option '--import' needs at least one file"},
        {{"--import", "--dry-run"}, "option '--import' needs at least one file"},
        {{"--import", "a.vcf", "--export", "b.vcf"}, "--import and --export cannot be combined"},
        {{"--dry-run"}, "--dry-run goes with --import"},
        {{"--sync", "--export", "b.vcf"}, "--import, --export, --sync-setup and --sync cannot be combined"},
        {{"--allow-empty"}, "--allow-empty goes with --sync"},
    };
    for (const auto& [args, error] : wrong) {
        const CommandLine line = ParseCommandLine(args);
        EXPECT_EQ(line.action, CommandLine::BadUsage) << args[0];
        EXPECT_EQ(line.error, error);
    }
    EXPECT_EQ(ParseCommandLine({}, "0").error, "CONTACTS_SCALE needs a whole number from 1 to 16");
}

} // namespace
