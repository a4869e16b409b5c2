// Another program rewrites the data file while a dialog or the delete
// question is up: the reload fills the list behind it, and the dialog keeps
// the focus, the typed characters and the keys that end it; what it ends
// with applies to the contact it was opened on, wherever the reload put it.
#include "support/ShellFixtures.h"
#include "platform/ui/Host.h"
#include "tests/data/support/DataFixture.h"

using namespace shelltest;
using namespace ce;

namespace {

class ReloadUnderDialog : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        ASSERT_TRUE(OpenFrameOn(mine));
    }

    // Another program's files: the two differ in size, so the watch sees each
    // rewrite however close in time.
    const std::vector<Person> mine = People({u"Ana", u"Bob", u"Carl"});
    // Aaron before them moves each one row down; their values stay.
    const std::vector<Person> theirs = {{u"Aaron", u"555 000"}, mine[0], mine[1], mine[2]};
};

TEST_F(ReloadUnderDialog, EachDialogAndTheDeleteQuestionKeepTheFocusTheTypingAndTheirKeys)
{
    struct Case {
        UINT command;
        const char16_t* typed;
        UINT key; // that ends it
        std::vector<std::u16string> listed; // the names after it ended
    };
    const Case cases[] = {
        {ID_CONTACT_OPEN, u"xyz", VK_RETURN, {u"Aaron", u"Ana", u"Bob", u"Carl"}},
        {ID_CONTACT_OPEN, u"xyz", VK_ESCAPE, {u"Aaron", u"Ana", u"Bob", u"Carl"}},
        // Bob's new name takes his place in the reloaded list, both ways out.
        {ID_CONTACT_EDIT, u"Roberto", VK_RETURN, {u"Aaron", u"Ana", u"Carl", u"Roberto"}},
        {ID_CONTACT_EDIT, u"Bobby", VK_ESCAPE, {u"Aaron", u"Ana", u"Bobby", u"Carl"}},
        // Escape keeps Bob; Enter answers OK and deletes him where he now stands.
        {ID_CONTACT_DELETE, u"q", VK_ESCAPE, {u"Aaron", u"Ana", u"Bob", u"Carl"}},
        {ID_CONTACT_DELETE, u"q", VK_RETURN, {u"Aaron", u"Ana", u"Carl"}},
        {ID_CONTACT_NEW, u"Zoe", VK_RETURN, {u"Aaron", u"Ana", u"Bob", u"Carl", u"Zoe"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << test.command << " key " << test.key);
        if (&test != cases) { // Ana, Bob and Carl again
            ASSERT_TRUE(WriteDataFile(dataFile, mine));
            ASSERT_TRUE(WaitForPeople(mine));
        }
        SetCurrentRow(1); // Bob
        bool ran = false;
        PostMessageW(frameWindow, WM_COMMAND, test.command, 0);
        PostTask([&] {
            // Inside the dialog: another program's file and its reload,
            // answered: the list's current row is the first again.
            const HWND dialog = GetActiveWindow();
            EXPECT_NE(dialog, frameWindow);
            EXPECT_FALSE(IsWindowEnabled(frameWindow));
            EXPECT_TRUE(WriteDataFile(dataFile, theirs));
            SendMessageW(frameWindow, WM_TIMER, CContactFileKeeper::WatchTimer, 0);
            EXPECT_TRUE(WaitFor([&] { return !frame->IsLoading() && ListedPeople() == theirs && CurrentRow() == 0; }));
            PumpMessages(50);
            HWND top = GetFocus();
            while (top && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD))
                top = GetParent(top);
            EXPECT_TRUE(top && top == dialog) << "the focus left the dialog";
            EXPECT_EQ(GetActiveWindow(), dialog);
            const HWND focus = GetFocus();
            for (char16_t c : std::u16string(test.typed))
                DeliverKeyStroke(0xE5, c);
            if (test.command == ID_CONTACT_EDIT || test.command == ID_CONTACT_NEW) {
                EXPECT_EQ(GetWindowText(focus), test.typed);
            }
            DeliverKeyStroke(test.key, WCHAR(test.key == VK_RETURN ? 13 : 27));
            ran = true;
        });
        ASSERT_TRUE(WaitFor([&] { return ran && IsWindowEnabled(frameWindow); }));
        // Only the dialog ended: the program runs on, and the list view has the focus back.
        PumpMessages(100);
        ASSERT_TRUE(IsWindow(frameWindow));
        EXPECT_EQ(GetActiveWindow(), frameWindow) << "a second dialog came up";
        EXPECT_EQ(GetFocus(), ListView());
        EXPECT_EQ(testdata::NamesOf(g_contactList), test.listed);
    }
    EXPECT_EQ(CurrentRow(), 4) << "the new contact's row";

    // The program ends as "Salir" ends it and writes what it holds.
    CloseFrame();
    auto expected = theirs;
    expected.push_back({u"Zoe", u""});
    EXPECT_EQ(ReadDataFile(dataFile), expected);
}

} // namespace
