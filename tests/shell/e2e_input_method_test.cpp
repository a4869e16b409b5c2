// The real program on a headless X display with a real desktop input method
// (IBus), run by ime-session from the shared tools beside the checkout
// (../shared/tools/ime-session). Pinyin and dead keys typed into a new
// contact reach the saved data file, and so does a contact made with the
// keys alone through the menu and the birthday's calendar.
#include "platform/core/OleDate.h"
#include "support/ShellFixtures.h"
#include "tests/common/ChildProcesses.h"
#include "tests/data/support/DataFixture.h"

#include <cstdlib>

using namespace shelltest;
using testdata::TextOf;
namespace fs = std::filesystem;

namespace {

class InputMethodProgram : public DeviceFixture {
protected:
    // Runs tests/shell/support/<script> with the program inside ime-session
    // on an empty book; the saved contact, or none without the tool.
    std::unique_ptr<ContactRecord> RunInSession(const char* script)
    {
        const fs::path tool = fs::path(CONTACTS_SOURCE_DIR) / "../shared/tools/ime-session";
        if (!fs::exists(tool))
            return nullptr;
        fs::create_directories(pimFolder);
        // 936 keeps 王, é and ü but not ñ: the edit view refuses ñ as it is
        // typed, which shows that the composed text went through its key filter.
        ::setenv("CONTACTS_CODEPAGE", "936", 1);
        ::setenv("CONTACTS_UI_LANGUAGE", "0c0a", 1);
        const fs::path path = fs::path(CONTACTS_SOURCE_DIR) / "tests/shell/support" / script;
        const std::string command = "'" + tool.string() + "' -- '" + path.string() + "' '" + ChildProcesses::Program() + "'";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command << " ended with " << status;
        ContactListBase saved;
        saved.Load(ce::Utf8ToUtf16(dataFile));
        EXPECT_EQ(saved.GetCount(), 1);
        auto guard = saved.Lock();
        return std::make_unique<ContactRecord>(saved.GetCount() == 1 ? *saved.GetAt(0) : ContactRecord());
    }
};

TEST_F(InputMethodProgram, PinyinAndDeadKeysTypedIntoANewContactAreSaved)
{
    const auto saved = RunInSession("ime_new_contact.sh");
    if (!saved)
        GTEST_SKIP() << "no input method session tool";
    EXPECT_EQ(TextOf(*saved, FieldName), u"王");
    EXPECT_EQ(TextOf(*saved, FieldAddress), u"José Müller Núez");
}

// F10, Escape (the program keeps running), "Nuevo" by its mnemonic, 31 March
// 1990 from the calendar by keys, saved and "Salir" by keys.
TEST_F(InputMethodProgram, KeysAloneMakeAContactWithABirthdayFromTheCalendar)
{
    const auto saved = RunInSession("keys_new_contact.sh");
    if (!saved)
        GTEST_SKIP() << "no input method session tool";
    EXPECT_EQ(TextOf(*saved, FieldName), u"Ana");
    ce::SYSTEMTIME birthday{};
    ASSERT_TRUE(ce::COleDateTime(saved->GetField(FieldBirthday)->GetDate()).GetAsSystemTime(birthday));
    EXPECT_EQ(birthday.wYear * 10000 + birthday.wMonth * 100 + birthday.wDay, 19900331);
}

} // namespace
