// Another program rewrites the data file while a dialog or the delete
// question is up: the reload fills the list behind it, and the dialog keeps
// the focus, the typed characters and the keys that end it; what it ends
// with applies to the contact it was opened on, wherever the reload put it.
#include "support/ShellFixtures.h"
#include "platform/ui/Host.h"

using namespace shelltest;
using namespace ce;

namespace {

enum class Way { Enter, Escape };

class ReloadUnderDialog : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        MakeDataFile(mine);
        OpenFrame();
        ASSERT_TRUE(WaitForPeople(mine));
    }

    // Another program's file, seen by the next watch tick.
    void Rewrite(const std::vector<Person>& people)
    {
        EXPECT_TRUE(WriteDataFile(dataFile, people));
        EXPECT_TRUE(SetWriteTime(dataFile, 1'700'000'000 + ++rewrites));
    }

    // Inside the dialog: another program's file, its reload, and where the
    // focus is after it. Returns the window that has the focus.
    HWND ReloadBehind()
    {
        const HWND dialog = GetActiveWindow();
        EXPECT_NE(dialog, frameWindow);
        EXPECT_FALSE(IsWindowEnabled(frameWindow));
        Rewrite(theirs);
        SendMessageW(frameWindow, WM_TIMER, CContactFileKeeper::WatchTimer, 0);
        // Loaded and answered: the list's current row is the first again.
        EXPECT_TRUE(WaitFor([&] { return !frame->IsLoading() && ListedPeople() == theirs && CurrentRow() == 0; }));
        PumpMessages(50);
        HWND top = GetFocus();
        while (top && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD))
            top = GetParent(top);
        EXPECT_TRUE(top && top == dialog) << "the focus left the dialog";
        EXPECT_EQ(GetActiveWindow(), dialog);
        return GetFocus();
    }

    int rewrites = 0;
    const std::vector<Person> mine = People({u"Ana", u"Bob", u"Carl"});
    // Aaron before them moves each one row down; their values stay.
    const std::vector<Person> theirs = {{u"Aaron", u"555 000"}, mine[0], mine[1], mine[2]};
};

TEST_F(ReloadUnderDialog, EachDialogAndTheDeleteQuestionKeepTheFocusTheTypingAndTheirKeys)
{
    struct Case {
        UINT command;
        const char16_t* typed;
        Way way;
        std::vector<std::u16string> listed; // the names after it ended
    };
    const Case cases[] = {
        {ID_CONTACT_OPEN, u"xyz", Way::Enter, {u"Aaron", u"Ana", u"Bob", u"Carl"}},
        {ID_CONTACT_OPEN, u"xyz", Way::Escape, {u"Aaron", u"Ana", u"Bob", u"Carl"}},
        // Bob's new name takes his place in the reloaded list, both ways out.
        {ID_CONTACT_EDIT, u"Roberto", Way::Enter, {u"Aaron", u"Ana", u"Carl", u"Roberto"}},
        {ID_CONTACT_EDIT, u"Bobby", Way::Escape, {u"Aaron", u"Ana", u"Bobby", u"Carl"}},
        // Escape keeps Bob; Enter answers OK and deletes him where he now stands.
        {ID_CONTACT_DELETE, u"q", Way::Escape, {u"Aaron", u"Ana", u"Bob", u"Carl"}},
        {ID_CONTACT_DELETE, u"q", Way::Enter, {u"Aaron", u"Ana", u"Carl"}},
        {ID_CONTACT_NEW, u"Zoe", Way::Enter, {u"Aaron", u"Ana", u"Bob", u"Carl", u"Zoe"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << test.command << (test.way == Way::Enter ? " Enter" : " Escape"));
        if (&test != cases) { // Ana, Bob and Carl again
            Rewrite(mine);
            ASSERT_TRUE(WaitForPeople(mine));
        }
        SetCurrentRow(1); // Bob
        bool ran = false;
        PostMessageW(frameWindow, WM_COMMAND, test.command, 0);
        PostTask([&] {
            const HWND focus = ReloadBehind();
            for (char16_t c : std::u16string(test.typed))
                DeliverKeyStroke(0xE5, c);
            if (test.command == ID_CONTACT_EDIT || test.command == ID_CONTACT_NEW) {
                EXPECT_EQ(GetWindowText(focus), test.typed);
            }
            if (test.way == Way::Enter)
                DeliverKeyStroke(VK_RETURN, 13);
            else
                DeliverKeyStroke(VK_ESCAPE, 27);
            ran = true;
        });
        ASSERT_TRUE(WaitFor([&] { return ran && IsWindowEnabled(frameWindow); }));
        // Only the dialog ended: the program runs on, and the list view has the focus back.
        PumpMessages(100);
        ASSERT_TRUE(IsWindow(frameWindow));
        EXPECT_EQ(GetActiveWindow(), frameWindow) << "a second dialog came up";
        EXPECT_EQ(GetFocus(), ListView());
        std::vector<std::u16string> listed;
        for (const Person& person : ListedPeople())
            listed.push_back(person.name);
        EXPECT_EQ(listed, test.listed);
    }
    EXPECT_EQ(CurrentRow(), 4) << "the new contact's row";

    // The program ends as "Salir" ends it and writes what it holds.
    CloseFrame();
    auto expected = theirs;
    expected.push_back({u"Zoe", u""});
    EXPECT_EQ(ReadDataFile(dataFile), expected);
}

} // namespace
