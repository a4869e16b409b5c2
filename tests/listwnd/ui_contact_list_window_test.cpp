// The contact list window over the process-wide contact list: its virtual
// list view, the commands with their dialogs and question, and the keys.
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/listwnd/support/ListWndTestSupport.h"

namespace {

using ListWindowTest = ListWndTest;
using uiharness::RunWithDialog;
using testdata::Names;
using testdata::NamesOf;

// `each` names of every initial from A to Z, in order.
Names Alphabet(int each)
{
    Names names;
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        names.insert(names.end(), std::size_t(each), std::u16string(1, c) + u"name");
    return names;
}

TEST_F(ListWindowTest, TheVirtualViewFollowsTheList)
{
    EXPECT_EQ(view().GetItemCount(), 0);
    Load({u"Ana", u"Bob"});
    EXPECT_EQ(view().GetItemCount(), 2);
    EXPECT_EQ(view().GetItemText(1, 0), u"Bob");
    EXPECT_EQ(view().GetItemText(1, 2), u"mov Bob");
    // The view keeps no copy: a changed contact shows at once.
    g_contactList.GetAt(1)->GetField(FieldTelephone)->SetValue(u"555", 0.0);
    EXPECT_EQ(view().GetItemText(1, 1), u"555");

    // The view is never taller than 190.
    for (auto [height, shown] : {std::pair{240, 190}, {150, 150}}) {
        ce::CRect rect;
        list().MoveWindow(0, 0, 300, height);
        view().GetWindowRect(&rect);
        EXPECT_EQ(rect, ce::CRect(0, 0, 300, shown));
    }
}

TEST_F(ListWindowTest, CellRequestsAreBoundedByListAndBuffer)
{
    Load({u"Ana", std::u16string(400, u'x'), u"abcd\U00020000"});
    ce::WCHAR buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    auto request = [&](int row, int capacity) {
        ce::NMLVDISPINFOW info{};
        info.hdr = {view().m_hWnd, 1, ce::LVN_GETDISPINFOW};
        info.item.mask = ce::LVIF_TEXT;
        info.item.iItem = row;
        info.item.pszText = buffer;
        info.item.cchTextMax = capacity;
        ce::LRESULT result = 7;
        EXPECT_TRUE(list().OnNotify(1, reinterpret_cast<ce::LPARAM>(&info), &result));
        EXPECT_EQ(result, 0);
        return std::u16string(buffer, std::find(buffer, buffer + 16, u'\0'));
    };
    // Beyond the list: answered, nothing written.
    EXPECT_EQ(request(3, 16), std::u16string(16, u'#'));
    EXPECT_EQ(request(-1, 16), std::u16string(16, u'#'));
    // Cut to the buffer, never past it nor in half a surrogate pair.
    EXPECT_EQ(request(1, 8), u"xxxxxxx");
    EXPECT_EQ(buffer[8], u'#');
    EXPECT_EQ(request(2, 6), u"abcd");
    EXPECT_EQ(view().GetItemText(1, 0), std::u16string(259, u'x'));
}

TEST_F(ListWindowTest, LoadedSelectsFirstRowAndALetterGroupSelectsItsRowInSight)
{
    Load(Alphabet(3));
    list().SendMessage(WM_CONTACTS_LOADED);
    EXPECT_EQ(Current(), 0);
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);
    Command(ID_LETTERS_XYZ);
    EXPECT_EQ(Current(), 69);
    EXPECT_EQ(view().GetNextItem(-1, ce::LVNI_SELECTED), 69);
    EXPECT_EQ(view().GetNextItem(69, ce::LVNI_SELECTED), -1) << "row 0 is no longer selected";
    EXPECT_LE(view().GetTopIndex(), 69);
    EXPECT_GT(view().GetTopIndex() + view().GetCountPerPage(), 69);
}

TEST_F(ListWindowTest, NewAddsTheContactInNameOrderEvenIfNothingWasTyped)
{
    // Closed without typing: the empty contact is kept.
    EXPECT_EQ(RunWithDialog([&] { Command(ID_CONTACT_NEW); }), u"Nuevo");
    EXPECT_EQ(NamesOf(g_contactList), Names{u""});
    EXPECT_EQ(view().GetItemCount(), 1);

    Load({u"Ana", u"Bob"});
    RunWithDialog([&] { Command(ID_CONTACT_NEW); }, Type(u"Berta", u"600"));
    EXPECT_EQ(NamesOf(g_contactList), (Names{u"Ana", u"Berta", u"Bob"}));
    EXPECT_EQ(view().GetItemText(1, 1), u"600");
}

TEST_F(ListWindowTest, EditKeepsTheRowForACaseChangeAndMovesARenamedContact)
{
    Load({u"Ana", u"bob", u"Carl"});
    list().SelectItem(1);
    const ContactRecord* stored = g_contactList.GetAt(1);
    EXPECT_EQ(RunWithDialog([&] { Command(ID_CONTACT_EDIT); }, Type(u"BOB", u"911")), u"bob");
    EXPECT_EQ(g_contactList.GetAt(1), stored) << "the stored contact takes the values in place";
    EXPECT_EQ(view().GetItemText(1, 0), u"BOB");
    EXPECT_EQ(view().GetItemText(1, 1), u"911");
    EXPECT_EQ(Current(), 1);

    RunWithDialog([&] { Command(ID_CONTACT_EDIT); }, Type(u"Zed"));
    EXPECT_EQ(NamesOf(g_contactList), (Names{u"Ana", u"Carl", u"Zed"}));
    EXPECT_EQ(view().GetItemText(2, 1), u"911");
    EXPECT_EQ(Current(), 2);
}

TEST_F(ListWindowTest, EditAndDeleteAfterAReloadNeverApplyToAnotherContact)
{
    // Gone from a shorter list: the input is kept as a contact of its own.
    Load({u"Ana", u"Bob", u"Carl"});
    list().SelectItem(2);
    RunWithDialog([&] { Command(ID_CONTACT_EDIT); },
                  [&] {
                      Load({u"Dora"});
                      Type(u"Carla")();
                  });
    EXPECT_EQ(NamesOf(g_contactList), (Names{u"Carla", u"Dora"}));
    EXPECT_EQ(testdata::TextOf(*g_contactList.GetAt(0), FieldTelephone), u"tel Carl");
    EXPECT_EQ(Current(), 0);

    // A delete of a contact a reload took away while it asked removes nothing.
    Load({u"Ana", u"Bob", u"Carl"});
    list().SelectItem(1);
    uiharness::AnsweredMessageBoxes reloadWhileAsking(ce::IDOK, [&] {
        Load({u"Dora", u"Eva"});
        return ce::IDOK;
    });
    Command(ID_CONTACT_DELETE);
    EXPECT_EQ(g_contactList.GetCount(), 2);
    EXPECT_EQ(view().GetItemCount(), 2);
}

TEST_F(ListWindowTest, DeleteAsksAndSelectsTheNeighbour)
{
    int asked = 0;
    ce::SetMessageBoxHook([&](ce::HWND owner, const std::u16string&, const std::u16string&, ce::UINT type) {
        EXPECT_EQ(owner, list().m_hWnd);
        EXPECT_EQ(type, ce::MB_OKCANCEL | ce::MB_ICONQUESTION);
        return ++asked == 2 ? ce::IDCANCEL : ce::IDOK;
    });
    Load({u"Ana", u"Bob", u"Carl"});
    list().SelectItem(2);
    Command(ID_CONTACT_DELETE);
    ASSERT_EQ(view().GetItemCount(), 2);
    EXPECT_EQ(Current(), 1) << "the new last row";

    // Cancelled: the same row is current again and has the focus back.
    ce::SetFocus(frame.m_hWnd);
    Command(ID_CONTACT_DELETE);
    EXPECT_EQ(g_contactList.GetCount(), 2);
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);

    Load({u"Ana"});
    list().SelectItem(0);
    Command(ID_CONTACT_DELETE);
    EXPECT_EQ(view().GetItemCount(), 0);
    EXPECT_EQ(Current(), -1);
    EXPECT_EQ(view().GetNextItem(-1, ce::LVNI_SELECTED), -1);
}

TEST_F(ListWindowTest, TheWheelScrollsThreeRowsANotchOverTheRowsAndTheScrollBar)
{
    Load(Alphabet(1));
    list().SendMessage(WM_CONTACTS_LOADED);
    ce::CRect rows;
    view().GetClientRect(&rows);
    view().ClientToScreen(&rows);
    const int x = rows.left + 100, y = rows.top + 80;
    ce::SimulateWheel(x, y, -ce::WHEEL_DELTA);
    EXPECT_EQ(view().GetTopIndex(), 3);
    // A fine-grained wheel: half a notch scrolls one row, the rest waits.
    ce::SimulateWheel(x, y, -ce::WHEEL_DELTA / 2);
    EXPECT_EQ(view().GetTopIndex(), 4);
    ce::SimulateWheel(x, y, -ce::WHEEL_DELTA / 2);
    EXPECT_EQ(view().GetTopIndex(), 6);
    ce::SimulateWheel(rows.right - 5, y, ce::WHEEL_DELTA);
    EXPECT_EQ(view().GetTopIndex(), 3) << "over the scroll bar";
    ce::SimulateWheel(x, y, 5 * ce::WHEEL_DELTA);
    EXPECT_EQ(view().GetTopIndex(), 0) << "no further than the first row";
    EXPECT_EQ(Current(), 0) << "the wheel moves no selection";
}

TEST_F(ListWindowTest, TheRowToDeleteStaysSelectedWhileTheQuestionShows)
{
    Load({u"Ana", u"Bob", u"Carl"});
    list().SelectItem(0);
    ce::CRect row;
    ASSERT_TRUE(view().GetItemRect(0, &row, ce::LVIR_BOUNDS));
    view().ClientToScreen(&row);
    const std::u16string caption = RunWithDialog([&] { Command(ID_CONTACT_DELETE); }, [&] {
        EXPECT_NE(ce::GetFocus(), view().m_hWnd) << "the question has the focus";
        ce::CRect box;
        ce::GetWindowRect(ce::GetActiveWindow(), &box);
        // Beside the question: the band, and the name light on it.
        const ce::CRect beside(row.left + 18, row.top + 1, box.left, row.bottom - 1);
        ASSERT_GT(beside.Width(), 12);
        const ce::ScreenImage screen = ce::GrabScreen();
        const int band = uiharness::PixelsOf(screen, beside, ce::GetSysColor(ce::COLOR_HIGHLIGHT));
        EXPECT_GT(band, beside.Width() * beside.Height() / 2);
        const int light = uiharness::CountPixels(screen, beside, [](ce::COLORREF pixel) {
            return ce::GetRValue(pixel) > 160 && ce::GetBValue(pixel) > 160;
        });
        EXPECT_GT(light, 10) << "the name, light on the band";
    });
    EXPECT_EQ(caption, u"Contactos");
    EXPECT_EQ(g_contactList.GetCount(), 3) << "closed without an answer: cancelled";
    EXPECT_EQ(Current(), 0);
}

TEST_F(ListWindowTest, WithoutCurrentRowOpenEditAndDeleteDoNothing)
{
    uiharness::AnsweredMessageBoxes boxes;
    for (bool empty : {true, false}) {
        if (!empty)
            Load({u"Ana", u"Bob"});
        for (ce::UINT id : {ID_CONTACT_OPEN, ID_CONTACT_EDIT, ID_CONTACT_DELETE})
            EXPECT_EQ(RunWithDialog([&] { Command(id); }), u"") << id;
        EXPECT_TRUE(boxes.texts.empty());
        EXPECT_EQ(g_contactList.GetCount(), empty ? 0 : 2);
        EXPECT_EQ(Current(), -1);
    }
}

TEST_F(ListWindowTest, DoubleTapAndEnterOpenTheRowReadOnly)
{
    Load({u"Ana", u"Bob"});
    list().SendMessage(WM_CONTACTS_LOADED);
    ce::CRect row;
    ASSERT_TRUE(view().GetItemRect(1, &row, ce::LVIR_BOUNDS));
    const int x = 20, y = (row.top + row.bottom) / 2;
    EXPECT_EQ(RunWithDialog([&] {
                  for (ce::UINT message : {ce::WM_LBUTTONDOWN, ce::WM_LBUTTONUP, ce::WM_LBUTTONDBLCLK, ce::WM_LBUTTONUP})
                      ce::SimulateMouse(view().m_hWnd, message, x, y);
              }),
              u"Bob");
    EXPECT_EQ(Current(), 1);

    list().SelectItem(0);
    EXPECT_EQ(RunWithDialog([&] { ce::SimulateKey(view().m_hWnd, ce::WM_KEYDOWN, ce::VK_RETURN); }), u"Ana");
    EXPECT_EQ(Current(), 0);
    EXPECT_EQ(g_contactList.GetCount(), 2);
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);
}

TEST_F(ListWindowTest, EscapeAndDeviceKeyPostExitToTheParent)
{
    Load({u"Ana", u"Bob"});
    list().SendMessage(WM_CONTACTS_LOADED);
    for (ce::UINT message : {ce::WM_KEYDOWN, ce::WM_CHAR})
        for (ce::WPARAM key : {ce::WPARAM(ce::VK_ESCAPE), ce::WPARAM(0xC3)}) {
            frame.commands.clear();
            ce::MSG msg;
            msg.hwnd = view().m_hWnd;
            msg.message = message;
            msg.wParam = key;
            EXPECT_FALSE(list().PreTranslateMessage(&msg)) << "the key is not swallowed";
            EXPECT_TRUE(frame.commands.empty()) << "posted, not sent";
            ce::PumpMessages();
            EXPECT_EQ(frame.commands, std::vector<ce::UINT>{ce::ID_APP_EXIT}) << message << " " << key;
        }
    // Other keys post nothing and reach the list view.
    frame.commands.clear();
    ce::SimulateKey(view().m_hWnd, ce::WM_KEYDOWN, ce::VK_DOWN);
    ce::PumpMessages();
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(Current(), 1);
}

} // namespace
