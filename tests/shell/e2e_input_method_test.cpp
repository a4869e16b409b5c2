// The real program on a headless X display with a real desktop input method
// (IBus), run by ime-session from the shared tools beside the checkout
// (../shared/tools/ime-session). Pinyin and dead keys typed into a new
// contact reach the saved data file, and so does a contact made with the
// keys alone through the menu and the birthday's calendar.
#include "platform/core/OleDate.h"
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

// Runs tests/shell/support/<script> with the program inside ime-session;
// false (the test skipped) without the tool.
bool RunInSession(const char* script)
{
    const fs::path tool = fs::path(CONTACTS_SOURCE_DIR) / "../shared/tools/ime-session";
    if (!fs::exists(tool))
        return false;
    const fs::path path = fs::path(CONTACTS_SOURCE_DIR) / "tests/shell/support" / script;
    // The test lives in <build>/tests/shell, the program in <build>/shell.
    const fs::path program = (fs::read_symlink("/proc/self/exe").parent_path() / "../../shell/contacts").lexically_normal();
    const std::string command = "'" + tool.string() + "' -- '" + path.string() + "' '" + program.string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command << " ended with " << status;
    return true;
}

TEST_F(InputMethodProgram, PinyinAndDeadKeysTypedIntoANewContactAreSaved)
{
    fs::create_directories(pimFolder);
    // 936 keeps 王, é and ü but not ñ: the edit view refuses ñ as it is
    // typed, which shows that the composed text went through its key filter.
    ::setenv("CONTACTS_CODEPAGE", "936", 1);
    ::setenv("CONTACTS_UI_LANGUAGE", "0c0a", 1);
    if (!RunInSession("ime_new_contact.sh"))
        GTEST_SKIP() << "no input method session tool";

    ContactListBase saved;
    saved.Load(ce::Utf8ToUtf16(dataFile));
    ASSERT_EQ(saved.GetCount(), 1);
    EXPECT_EQ(FieldOf(saved, FieldName), u"王");
    EXPECT_EQ(FieldOf(saved, FieldAddress), u"José Müller Núez");
}

// F10, Escape (the program keeps running), "Nuevo" by its mnemonic, 31 March
// 1990 from the calendar by keys, saved and "Salir" by keys.
TEST_F(InputMethodProgram, KeysAloneMakeAContactWithABirthdayFromTheCalendar)
{
    fs::create_directories(pimFolder);
    ::setenv("CONTACTS_CODEPAGE", "936", 1);
    ::setenv("CONTACTS_UI_LANGUAGE", "0c0a", 1);
    if (!RunInSession("keys_new_contact.sh"))
        GTEST_SKIP() << "no input method session tool";

    ContactListBase saved;
    saved.Load(ce::Utf8ToUtf16(dataFile));
    ASSERT_EQ(saved.GetCount(), 1);
    EXPECT_EQ(FieldOf(saved, FieldName), u"Ana");
    auto guard = saved.Lock();
    ce::SYSTEMTIME birthday{};
    ASSERT_TRUE(ce::COleDateTime(saved.GetAt(0)->GetField(FieldBirthday)->GetDate()).GetAsSystemTime(birthday));
    EXPECT_EQ(birthday.wYear * 10000 + birthday.wMonth * 100 + birthday.wDay, 19900331);
}

} // namespace
