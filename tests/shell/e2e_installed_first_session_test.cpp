// A new user's first session with the installed program: `cmake --install`
// into a temporary prefix, HOME an empty folder, no XDG_* or CONTACTS_*
// variable but a private instance-marker folder (so that other runs on this
// machine do not meet it). The program makes the folders of its default
// device root, keeps the contact typed in, and the next start shows it.
#include "support/ShellFixtures.h"

#include <cstdlib>

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

TEST(InstalledProgram, ANewUsersFirstSessionIsKeptOnTheDefaultDeviceRoot)
{
    if (std::system("command -v Xvfb > /dev/null && command -v xdotool > /dev/null") != 0)
        GTEST_SKIP() << "needs Xvfb and xdotool";
    const fs::path work = MakeTempFolder("installed");
    const fs::path prefix = work / "prefix", home = work / "home", runtime = work / "run";
    fs::create_directories(home);
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const fs::path build = fs::path(CONTACTS_SATELLITE_DIR).parent_path();
    ASSERT_EQ(std::system(("cmake --install " + Quoted(build) + " --prefix " + Quoted(prefix) + " > " +
                           Quoted(work / "install.log"))
                              .c_str()),
              0);
    const std::string program = prefix / "bin/contacts";
    const char* path = std::getenv("PATH");
    std::string newUser = "env -i PATH=" + Quoted(path ? path : "/usr/bin:/bin") + " HOME=" + Quoted(home) +
                          " XDG_RUNTIME_DIR=" + Quoted(runtime) + " LC_ALL=C.UTF-8 ";
    // A sanitized build's options are the test run's, not the user's.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"})
        if (const char* value = std::getenv(name))
            newUser += std::string(name) + "=" + Quoted(value) + " ";
    const fs::path script = fs::path(CONTACTS_SOURCE_DIR) / "tests/shell/support/first_session.sh";
    const int status = std::system((newUser + "bash " + Quoted(script) + " " + Quoted(program) + " " + Quoted(work)).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << "\n" << ReadHostFile(work / "program.log");

    ce::SetACP(936);
    const fs::path dataFile = home / ".local/share/contacts/device/My Flash Disk/PIM/Contacts.pcd";
    EXPECT_EQ(ReadDataFile(dataFile), (std::vector<Person>{{u"Ana", u""}}));
    EXPECT_FALSE(fs::exists(home / ".local/state/contacts")) << "nothing went to a recovery file";
    EXPECT_EQ(std::system((newUser + Quoted(program) + " --export " + Quoted(work / "out.vcf")).c_str()), 0);
    EXPECT_NE(ReadHostFile(work / "out.vcf").find("FN:Ana\r\n"), std::string::npos);
    const fs::path picture = work / "next-start.png";
    EXPECT_EQ(std::system((newUser + "QT_QPA_PLATFORM=offscreen " + Quoted(program) + " --screenshot " + Quoted(picture)).c_str()), 0);
    EXPECT_GT(fs::exists(picture) ? fs::file_size(picture) : 0, 0u);
    if (::testing::Test::HasFailure())
        std::fprintf(stderr, "kept for a look: %s\n", work.c_str());
    else
        fs::remove_all(work);
}

} // namespace
