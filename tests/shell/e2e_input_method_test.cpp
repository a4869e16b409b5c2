// The real program with a real desktop input method: IBus with libpinyin on
// a headless X display, run by ime-session from the shared tools beside the
// checkout (../shared/tools/ime-session). Pinyin and dead keys typed into a
// new contact reach the saved data file.
#include "support/ShellFixtures.h"

#include <cstdlib>

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

using InputMethodProgram = DeviceFixture;

std::u16string FieldOf(const ContactListBase& list, FieldId id)
{
    std::u16string text;
    auto guard = list.Lock();
    if (list.GetCount() > 0)
        list.GetAt(0)->GetField(id)->GetText(text);
    return text;
}

TEST_F(InputMethodProgram, PinyinAndDeadKeysTypedIntoANewContactAreSaved)
{
    const fs::path tool = fs::path(CONTACTS_SOURCE_DIR) / "../shared/tools/ime-session";
    if (!fs::exists(tool))
        GTEST_SKIP() << "no input method session tool at " << tool;
    const fs::path script = fs::path(CONTACTS_SOURCE_DIR) / "tests/shell/support/ime_new_contact.sh";
    // The test lives in <build>/tests/shell, the program in <build>/shell.
    const fs::path program = (fs::read_symlink("/proc/self/exe").parent_path() / "../../shell/contacts").lexically_normal();
    fs::create_directories(pimFolder);
    // 936 keeps 王, é and ü but not ñ: the edit view refuses ñ as it is
    // typed, which shows that the composed text went through its key filter.
    ::setenv("CONTACTS_CODEPAGE", "936", 1);
    ::setenv("CONTACTS_UI_LANGUAGE", "0c0a", 1);
    const std::string command = "'" + tool.string() + "' -- '" + script.string() + "' '" + program.string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command << " ended with " << status;

    ContactListBase saved;
    saved.Load(ce::Utf8ToUtf16(dataFile));
    ASSERT_EQ(saved.GetCount(), 1);
    EXPECT_EQ(FieldOf(saved, FieldName), u"王");
    EXPECT_EQ(FieldOf(saved, FieldAddress), u"José Müller Núez");
}

} // namespace
