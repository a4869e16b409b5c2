// Another program rewrites the data file while a dialog or the delete
// question is up: the reload fills the list behind it, and the dialog keeps
// the focus, the typed characters and the keys that end it.
#include "support/ShellFixtures.h"
#include "platform/ui/MessageBox.h"

#include <algorithm>

using namespace shelltest;
using namespace ce;

namespace {

enum class Way { Enter, Escape };

class ReloadUnderDialog : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        MakeDataFile(People({u"Ana", u"Bob", u"Carl"}));
        OpenFrame();
        ASSERT_TRUE(WaitForPeople(People({u"Ana", u"Bob", u"Carl"})));
    }

    // Opens the command's dialog on row `row` and runs `inside` in its loop;
    // returns once the dialog has ended.
    void WhileOpen(UINT command, int row, const std::function<void()>& inside)
    {
        SelectRow(row);
        bool ran = false;
        PostMessageW(frameWindow, WM_COMMAND, command, 0);
        PostTask([&] {
            inside();
            ran = true;
        });
        ASSERT_TRUE(WaitFor([&] { return ran && IsWindowEnabled(frameWindow); }));
    }

    void SelectRow(int row)
    {
        LVITEMW state{};
        state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        state.state = state.stateMask;
        SendMessageW(ListView(), LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
        ASSERT_EQ(CurrentRow(), row);
    }

    // Inside the dialog: another program's file, its reload, and where the
    // focus is after it. Returns the window that has the focus.
    HWND ReloadBehind(const std::vector<Person>& theirs)
    {
        const HWND dialog = GetActiveWindow();
        EXPECT_NE(dialog, frameWindow);
        EXPECT_FALSE(IsWindowEnabled(frameWindow));
        EXPECT_TRUE(WriteDataFile(dataFile, theirs));
        EXPECT_TRUE(SetWriteTime(dataFile, 1'700'000'000 + ++rewrites));
        SendMessageW(frameWindow, WM_TIMER, CContactFileKeeper::WatchTimer, 0);
        // Loaded and answered: the list's current row is the first again.
        EXPECT_TRUE(WaitFor([&] { return !frame->IsLoading() && ListedPeople() == theirs && CurrentRow() == 0; }));
        PumpMessages(50);
        const HWND focus = GetFocus();
        EXPECT_TRUE(focus && (focus == dialog || TopLevelOf(focus) == dialog)) << "the focus left the dialog";
        EXPECT_EQ(GetActiveWindow(), dialog);
        return focus;
    }

    static HWND TopLevelOf(HWND hwnd)
    {
        while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
            hwnd = GetParent(hwnd);
        return hwnd;
    }

    static void Type(const std::u16string& text)
    {
        for (char16_t c : text)
            DeliverKeyStroke(0xE5, c);
    }

    static void Press(Way way)
    {
        if (way == Way::Enter)
            DeliverKeyStroke(VK_RETURN, 13);
        else
            DeliverKeyStroke(VK_ESCAPE, 27);
    }

    // Only the dialog ended: the program runs on, and the list view has the focus back.
    void ExpectOnlyTheDialogEnded()
    {
        PumpMessages(100);
        ASSERT_TRUE(IsWindow(frameWindow));
        EXPECT_EQ(GetActiveWindow(), frameWindow) << "a second dialog came up";
        EXPECT_TRUE(IsWindowEnabled(frameWindow));
        EXPECT_EQ(GetFocus(), ListView());
    }

    int rewrites = 0;
    const std::vector<Person> theirs = People({u"Ana", u"Bob", u"Carl", u"Dan"});
};

TEST_F(ReloadUnderDialog, DetailDialogKeepsTheFocusAndItsKeys)
{
    for (Way way : {Way::Enter, Way::Escape}) {
        WhileOpen(ID_CONTACT_OPEN, 1, [&] {
            ReloadBehind(way == Way::Enter ? theirs : People({u"Ana", u"Bob", u"Carl"}));
            Type(u"xyz");
            Press(way);
        });
        ExpectOnlyTheDialogEnded();
    }
}

TEST_F(ReloadUnderDialog, EditDialogKeepsWhatIsTypedAndItsEditJoinsTheReloadedList)
{
    for (Way way : {Way::Enter, Way::Escape}) {
        const std::u16string typed = way == Way::Enter ? u"Roberto" : u"Bobby";
        WhileOpen(ID_CONTACT_EDIT, 1, [&] {
            const HWND field = ReloadBehind(way == Way::Enter ? theirs : People({u"Ana", u"Bob", u"Carl", u"Eva"}));
            Type(typed);
            EXPECT_EQ(GetWindowText(field), typed);
            Press(way);
        });
        ExpectOnlyTheDialogEnded();
        const auto listed = ListedPeople();
        // Bob was edited in the reloaded list: his new name took his place.
        EXPECT_EQ(std::count_if(listed.begin(), listed.end(), [&](const Person& p) { return p.name == typed; }), 1);
        EXPECT_EQ(std::count_if(listed.begin(), listed.end(), [](const Person& p) { return p.name == u"Bob"; }), 0);
        EXPECT_EQ(listed.size(), 4u);
        // Bob again for the next round.
        ASSERT_TRUE(WriteDataFile(dataFile, People({u"Ana", u"Bob", u"Carl"})));
        ASSERT_TRUE(SetWriteTime(dataFile, 1'690'000'000 + ++rewrites));
        ASSERT_TRUE(WaitForPeople(People({u"Ana", u"Bob", u"Carl"})));
    }
}

TEST_F(ReloadUnderDialog, NewContactDialogKeepsWhatIsTypedAndTheContactJoinsTheReloadedList)
{
    WhileOpen(ID_CONTACT_NEW, 0, [&] {
        const HWND field = ReloadBehind(theirs);
        Type(u"Zoe");
        EXPECT_EQ(GetWindowText(field), u"Zoe");
        Press(Way::Enter);
    });
    ExpectOnlyTheDialogEnded();
    auto expected = theirs;
    expected.push_back({u"Zoe", u""});
    EXPECT_EQ(ListedPeople(), expected);
    EXPECT_EQ(CurrentRow(), 4);

    // The program ends as "Salir" ends it and writes what it holds.
    CloseFrame();
    EXPECT_EQ(ReadDataFile(dataFile), expected);
}

TEST_F(ReloadUnderDialog, DeleteQuestionKeepsTheFocusAndDeletesTheAskedContactOfTheReloadedList)
{
    // Escape keeps the contact; Enter answers OK and deletes Bob, who now
    // stands elsewhere in the reloaded list.
    const auto reordered = People({u"Aaron", u"Ana", u"Bob", u"Carl"});
    for (Way way : {Way::Escape, Way::Enter}) {
        WhileOpen(ID_CONTACT_DELETE, 1, [&] {
            std::vector<Person> file = reordered;
            file[2].telephone = u"555 011"; // Bob's values as they were asked about
            ReloadBehind(file);
            Type(u"q");
            Press(way);
        });
        ExpectOnlyTheDialogEnded();
        const auto listed = ListedPeople();
        const bool bobLeft = std::any_of(listed.begin(), listed.end(), [](const Person& p) { return p.name == u"Bob"; });
        EXPECT_EQ(bobLeft, way == Way::Escape);
        EXPECT_EQ(listed.size(), way == Way::Escape ? 4u : 3u);
        if (way == Way::Escape) {
            ASSERT_TRUE(WriteDataFile(dataFile, People({u"Ana", u"Bob", u"Carl"})));
            ASSERT_TRUE(SetWriteTime(dataFile, 1'690'000'000 + ++rewrites));
            ASSERT_TRUE(WaitForPeople(People({u"Ana", u"Bob", u"Carl"})));
        }
    }
}

} // namespace
