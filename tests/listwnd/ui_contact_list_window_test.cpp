// The contact list window over the process-wide contact list: its virtual
// list view, the commands with their dialogs and question, and the keys.
#include "tests/listwnd/support/ListWndTestSupport.h"

namespace {

constexpr ce::UINT kDeviceKey = 0xC3;

using ListWindowTest = ListWndTest;

TEST_F(ListWindowTest, ViewIsVirtualWithThreeColumnsAndFollowsTheList)
{
    const char16_t* titles[] = {u"Nombre", u"Telefono", u"Movil"};
    const int widths[] = {76, 114, 114};
    for (int i = 0; i < 3; ++i) {
        ce::WCHAR title[32] = {};
        ce::LVCOLUMNW column;
        column.mask = ce::LVCF_TEXT | ce::LVCF_WIDTH | ce::LVCF_SUBITEM | ce::LVCF_ORDER;
        column.pszText = title;
        column.cchTextMax = 32;
        ASSERT_TRUE(view().SendMessage(ce::LVM_GETCOLUMNW, ce::WPARAM(i), reinterpret_cast<ce::LPARAM>(&column)));
        EXPECT_EQ(std::u16string(title), titles[i]);
        EXPECT_EQ(column.cx, widths[i]);
        EXPECT_EQ(column.iSubItem, i);
        EXPECT_EQ(column.iOrder, i);
    }
    EXPECT_EQ(view().GetExtendedStyle(), ce::LVS_EX_FULLROWSELECT);
    EXPECT_EQ(view().GetDlgCtrlID(), 1);
    EXPECT_EQ(view().GetItemCount(), 0);

    Load({u"Ana", u"Bob"});
    EXPECT_EQ(view().GetItemCount(), 2);
    EXPECT_EQ(view().GetItemText(1, 0), u"Bob");
    EXPECT_EQ(view().GetItemText(1, 1), u"tel Bob");
    EXPECT_EQ(view().GetItemText(1, 2), u"mov Bob");
    // The view keeps no copy: a changed contact shows at once.
    {
        auto guard = g_contactList.Lock();
        g_contactList.GetAt(1)->GetField(FieldTelephone)->SetValue(u"555", 0.0);
    }
    EXPECT_EQ(view().GetItemText(1, 1), u"555");
}

TEST_F(ListWindowTest, ViewIsNeverTallerThan190)
{
    ce::CRect rect;
    list().MoveWindow(0, 0, 320, 240);
    view().GetWindowRect(&rect);
    EXPECT_EQ(rect.Height(), 190);
    EXPECT_EQ(rect.Width(), 320);
    list().MoveWindow(0, 0, 320, 191);
    view().GetWindowRect(&rect);
    EXPECT_EQ(rect.Height(), 190);
    list().MoveWindow(0, 0, 300, 150);
    view().GetWindowRect(&rect);
    EXPECT_EQ(rect.Height(), 150);
    EXPECT_EQ(rect.Width(), 300);
}

TEST_F(ListWindowTest, CellRequestsAreBoundedByListAndBuffer)
{
    Load({u"Ana", std::u16string(400, u'x'), u"abcd\U00020000"});
    auto request = [&](int row, int subItem, ce::WCHAR* buffer, int capacity, ce::LRESULT& result) {
        ce::NMLVDISPINFOW info;
        info.hdr.hwndFrom = view().m_hWnd;
        info.hdr.idFrom = 1;
        info.hdr.code = ce::LVN_GETDISPINFOW;
        info.item.mask = ce::LVIF_TEXT | ce::LVIF_IMAGE;
        info.item.iItem = row;
        info.item.iSubItem = subItem;
        info.item.pszText = buffer;
        info.item.cchTextMax = capacity;
        info.item.iImage = -1;
        result = 7;
        const ce::BOOL handled = list().OnNotify(1, reinterpret_cast<ce::LPARAM>(&info), &result);
        EXPECT_TRUE(handled);
        EXPECT_EQ(result, 0);
        return info.item.iImage;
    };

    ce::WCHAR buffer[16];
    ce::LRESULT result = 0;
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(request(3, 0, buffer, 16, result), -1);
    EXPECT_EQ(request(-1, 0, buffer, 16, result), -1);
    EXPECT_TRUE(std::all_of(std::begin(buffer), std::end(buffer), [](ce::WCHAR c) { return c == u'#'; }));

    // A long name is cut to the buffer: 7 units and the terminator, nothing past it.
    EXPECT_EQ(request(1, 0, buffer, 8, result), 0);
    EXPECT_EQ(std::u16string(buffer), u"xxxxxxx");
    EXPECT_EQ(buffer[8], u'#');
    // A sub-item past the last column shows the mobile number.
    EXPECT_EQ(request(0, 5, buffer, 16, result), 0);
    EXPECT_EQ(std::u16string(buffer), u"mov Ana");
    // A cut never ends in half a surrogate pair.
    EXPECT_EQ(request(2, 0, buffer, 6, result), 0);
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    // Through the view, which offers 260 units.
    EXPECT_EQ(view().GetItemText(1, 0), std::u16string(259, u'x'));
}

TEST_F(ListWindowTest, LoadedSelectsFirstRowAndLetterGroupsSelectTheirRow)
{
    list().SendMessage(WM_CONTACTS_LOADED);
    EXPECT_EQ(Current(), -1);
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);

    std::vector<std::u16string> names;
    for (char c = 'A'; c <= 'Z'; ++c)
        for (int i = 0; i < 3; ++i)
            names.push_back(std::u16string(1, char16_t(c)) + u"name" + char16_t(u'0' + i));
    Load(names);
    list().SendMessage(WM_CONTACTS_LOADED);
    EXPECT_EQ(Current(), 0);

    Command(ID_LETTERS_XYZ);
    EXPECT_EQ(Current(), 23 * 3);
    EXPECT_EQ(view().GetNextItem(-1, ce::LVNI_SELECTED), 23 * 3);
    EXPECT_EQ(view().GetNextItem(23 * 3, ce::LVNI_SELECTED), -1) << "the previous row is no longer selected";
    // The row is scrolled into view, whole.
    const int top = view().GetTopIndex();
    EXPECT_LE(top, 69);
    EXPECT_GT(top + view().GetCountPerPage(), 69);

    Command(ID_LETTERS_CDE);
    EXPECT_EQ(Current(), 6);
    EXPECT_EQ(view().GetTopIndex(), 6);

    // A group that finds nothing leaves the selection as it was.
    Load({u"Bob", u"Carl"});
    list().SendMessage(WM_CONTACTS_LOADED);
    Command(ID_LETTERS_AB);
    EXPECT_EQ(Current(), 0);
    Command(ID_LETTERS_CDE);
    EXPECT_EQ(Current(), 1);
    Load({u"Zoe"});
    Command(ID_LETTERS_AB);
    EXPECT_EQ(view().GetNextItem(-1, ce::LVNI_SELECTED), -1);
    EXPECT_EQ(frame.commands, (std::vector<ce::UINT>{ID_LETTERS_XYZ, ID_LETTERS_CDE, ID_LETTERS_AB, ID_LETTERS_CDE,
                                                      ID_LETTERS_AB}));
}

TEST_F(ListWindowTest, NewAddsTheContactAndSelectsItsRow)
{
    // Closed without typing: an empty contact becomes the first row.
    const std::u16string caption = RunWithDialog([&] { Command(ID_CONTACT_NEW); }, [] {});
    EXPECT_EQ(caption, u"Nuevo");
    ASSERT_EQ(g_contactList.GetCount(), 1);
    EXPECT_EQ(view().GetItemCount(), 1);
    EXPECT_EQ(Current(), 0);
    {
        auto guard = g_contactList.Lock();
        for (FieldId id = 0; id < FieldCount; ++id)
            EXPECT_EQ(FieldText(g_contactList.GetAt(0), id), u"") << id;
        std::u16string label;
        g_contactList.GetAt(0)->GetField(FieldName)->GetLabel(label);
        EXPECT_EQ(label, u"Nombre:");
    }

    Load({u"Ana", u"Bob"});
    RunWithDialog([&] { Command(ID_CONTACT_NEW); },
                  [] {
                      ce::SetWindowText(EditField(FieldName), u"Berta");
                      ce::SetWindowText(EditField(FieldMobile), u"600");
                      ce::SimulateKey(EditField(FieldName), ce::WM_KEYDOWN, ce::VK_RETURN);
                  });
    ASSERT_EQ(g_contactList.GetCount(), 3);
    EXPECT_EQ(view().GetItemCount(), 3);
    EXPECT_EQ(NameAt(2), u"Bob");
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(view().GetItemText(1, 2), u"600");
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);
}

TEST_F(ListWindowTest, EditKeepsTheRowForACaseChangeAndMovesARenamedContact)
{
    Load({u"Ana", u"bob", u"Carl"});
    list().SelectItem(1);
    const ContactRecord* stored = g_contactList.GetAt(1);
    const std::u16string caption = RunWithDialog([&] { Command(ID_CONTACT_EDIT); },
                                                 [] {
                                                     ce::SetWindowText(EditField(FieldName), u"BOB");
                                                     ce::SetWindowText(EditField(FieldTelephone), u"911");
                                                     ce::SimulateKey(EditField(FieldName), ce::WM_KEYDOWN, ce::VK_RETURN);
                                                 });
    EXPECT_EQ(caption, u"bob");
    EXPECT_EQ(g_contactList.GetAt(1), stored) << "the stored contact takes the values in place";
    EXPECT_EQ(NameAt(1), u"BOB");
    EXPECT_EQ(view().GetItemText(1, 1), u"911");
    EXPECT_EQ(Current(), 1);

    RunWithDialog([&] { Command(ID_CONTACT_EDIT); },
                  [] {
                      ce::SetWindowText(EditField(FieldName), u"Zed");
                      ce::SimulateKey(EditField(FieldName), ce::WM_KEYDOWN, ce::VK_RETURN);
                  });
    ASSERT_EQ(g_contactList.GetCount(), 3);
    EXPECT_EQ(NameAt(0), u"Ana");
    EXPECT_EQ(NameAt(1), u"Carl");
    EXPECT_EQ(NameAt(2), u"Zed");
    EXPECT_EQ(view().GetItemText(2, 1), u"911");
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(view().GetItemCount(), 3);

    // Without changes the same values stay in place.
    RunWithDialog([&] { Command(ID_CONTACT_EDIT); }, [] {});
    EXPECT_EQ(NameAt(2), u"Zed");
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(g_contactList.GetCount(), 3);
}

TEST_F(ListWindowTest, EditNeverChangesAnotherContactAfterTheListWasReplaced)
{
    // The file was reloaded with another contact before the edited one:
    // the input goes to the same contact at its new row.
    Load({u"Ana", u"Bob", u"Carl"});
    list().SelectItem(1);
    RunWithDialog([&] { Command(ID_CONTACT_EDIT); },
                  [&] {
                      Load({u"Aaron", u"Ana", u"Bob", u"Carl"});
                      ce::SetWindowText(EditField(FieldTelephone), u"777");
                      ce::SimulateKey(EditField(FieldName), ce::WM_KEYDOWN, ce::VK_RETURN);
                  });
    ASSERT_EQ(g_contactList.GetCount(), 4);
    EXPECT_EQ(FieldText(g_contactList.GetAt(1), FieldTelephone), u"tel Ana");
    EXPECT_EQ(FieldText(g_contactList.GetAt(2), FieldTelephone), u"777");
    EXPECT_EQ(Current(), 2);

    // The edited contact is gone from the new list, which is shorter: the
    // input is kept as a contact of its own.
    list().SelectItem(3);
    RunWithDialog([&] { Command(ID_CONTACT_EDIT); },
                  [&] {
                      Load({u"Dora"});
                      ce::SetWindowText(EditField(FieldName), u"Carla");
                      ce::SimulateKey(EditField(FieldName), ce::WM_KEYDOWN, ce::VK_RETURN);
                  });
    ASSERT_EQ(g_contactList.GetCount(), 2);
    EXPECT_EQ(NameAt(0), u"Carla");
    EXPECT_EQ(FieldText(g_contactList.GetAt(0), FieldTelephone), u"tel Carl");
    EXPECT_EQ(NameAt(1), u"Dora");
    EXPECT_EQ(view().GetItemCount(), 2);
    EXPECT_EQ(Current(), 0);
}

TEST_F(ListWindowTest, DeleteAsksAndSelectsTheNeighbour)
{
    std::vector<std::u16string> questions;
    ce::SetMessageBoxHook([&](ce::HWND owner, const std::u16string& text, const std::u16string& caption, ce::UINT type) {
        EXPECT_EQ(owner, list().m_hWnd);
        EXPECT_EQ(caption, u"Contactos");
        EXPECT_EQ(type, ce::MB_OKCANCEL | ce::MB_ICONQUESTION);
        questions.push_back(text);
        return questions.size() == 2 ? ce::IDCANCEL : ce::IDOK;
    });
    Load({u"Ana", u"Bob", u"Carl"});
    list().SelectItem(2);
    Command(ID_CONTACT_DELETE);
    ASSERT_EQ(g_contactList.GetCount(), 2);
    EXPECT_EQ(view().GetItemCount(), 2);
    EXPECT_EQ(Current(), 1) << "the new last row";
    EXPECT_EQ(questions.back(), u"Borrar definitivamente el contacto?");

    // Cancelled: the same row is current again and has the focus back.
    ce::SetFocus(frame.m_hWnd);
    Command(ID_CONTACT_DELETE);
    EXPECT_EQ(g_contactList.GetCount(), 2);
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);

    list().SelectItem(0);
    Command(ID_CONTACT_DELETE);
    EXPECT_EQ(NameAt(0), u"Bob");
    EXPECT_EQ(Current(), 0) << "the row that moved up";
    Command(ID_CONTACT_DELETE);
    EXPECT_EQ(g_contactList.GetCount(), 0);
    EXPECT_EQ(view().GetItemCount(), 0);
    EXPECT_EQ(Current(), -1);
    EXPECT_EQ(view().GetNextItem(-1, ce::LVNI_SELECTED), -1);
    EXPECT_EQ(questions.size(), 4u);
}

TEST_F(ListWindowTest, DeleteRemovesTheContactThatWasAskedAbout)
{
    Load({u"Ana", u"Bob", u"Carl"});
    list().SelectItem(1);
    ce::SetMessageBoxHook([&](ce::HWND, const std::u16string&, const std::u16string&, ce::UINT) {
        Load({u"Aaron", u"Ana", u"Bob", u"Carl"});
        return ce::IDOK;
    });
    Command(ID_CONTACT_DELETE);
    ASSERT_EQ(g_contactList.GetCount(), 3);
    EXPECT_EQ(NameAt(0), u"Aaron");
    EXPECT_EQ(NameAt(1), u"Ana");
    EXPECT_EQ(NameAt(2), u"Carl");
    EXPECT_EQ(Current(), 2);

    // Gone from the reloaded list: nothing is removed.
    ce::SetMessageBoxHook([&](ce::HWND, const std::u16string&, const std::u16string&, ce::UINT) {
        Load({u"Dora", u"Eva"});
        return ce::IDOK;
    });
    Command(ID_CONTACT_DELETE);
    EXPECT_EQ(g_contactList.GetCount(), 2);
    EXPECT_EQ(view().GetItemCount(), 2);
}

TEST_F(ListWindowTest, WithoutCurrentRowOpenEditAndDeleteDoNothing)
{
    int asked = 0;
    ce::SetMessageBoxHook([&](ce::HWND, const std::u16string&, const std::u16string&, ce::UINT) {
        ++asked;
        return ce::IDOK;
    });
    for (bool empty : {true, false}) {
        if (!empty)
            Load({u"Ana", u"Bob"});
        for (ce::UINT id : {ID_CONTACT_OPEN, ID_CONTACT_EDIT, ID_CONTACT_DELETE}) {
            const std::u16string caption = RunWithDialog([&] { Command(id); }, [] {});
            EXPECT_EQ(caption, u"") << id;
        }
        EXPECT_EQ(asked, 0);
        EXPECT_EQ(g_contactList.GetCount(), empty ? 0 : 2);
        EXPECT_EQ(Current(), -1);
    }

    // A current row that a reload left beyond the list: Open and Edit do
    // nothing, Delete asks but removes nothing.
    list().SelectItem(1);
    g_contactList.RemoveAt(1);
    for (ce::UINT id : {ID_CONTACT_OPEN, ID_CONTACT_EDIT}) {
        const std::u16string caption = RunWithDialog([&] { Command(id); }, [] {});
        EXPECT_EQ(caption, u"") << id;
    }
    Command(ID_CONTACT_DELETE);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(g_contactList.GetCount(), 1);
}

TEST_F(ListWindowTest, DoubleTapAndEnterOpenTheRowReadOnly)
{
    Load({u"Ana", u"Bob"});
    list().SendMessage(WM_CONTACTS_LOADED);
    ce::CRect row;
    ASSERT_TRUE(view().GetItemRect(1, &row, ce::LVIR_BOUNDS));
    const int x = 20, y = (row.top + row.bottom) / 2;

    std::u16string caption = RunWithDialog(
        [&] {
            ce::SimulateMouse(view().m_hWnd, ce::WM_LBUTTONDOWN, x, y);
            ce::SimulateMouse(view().m_hWnd, ce::WM_LBUTTONUP, x, y);
            ce::SimulateMouse(view().m_hWnd, ce::WM_LBUTTONDBLCLK, x, y);
            ce::SimulateMouse(view().m_hWnd, ce::WM_LBUTTONUP, x, y);
        },
        [] {});
    EXPECT_EQ(caption, u"Bob");
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(g_contactList.GetCount(), 2);

    list().SelectItem(0);
    caption = RunWithDialog([&] { ce::SimulateKey(view().m_hWnd, ce::WM_KEYDOWN, ce::VK_RETURN); }, [] {});
    EXPECT_EQ(caption, u"Ana");
    EXPECT_EQ(Current(), 0);
    EXPECT_EQ(ce::GetFocus(), view().m_hWnd);
}

TEST_F(ListWindowTest, QuitKeysPostExitToTheParentAndGoOn)
{
    Load({u"Ana", u"Bob"});
    list().SendMessage(WM_CONTACTS_LOADED);
    for (ce::UINT message : {ce::WM_KEYDOWN, ce::WM_CHAR}) {
        for (ce::WPARAM key : {ce::WPARAM(ce::VK_ESCAPE), ce::WPARAM(kDeviceKey)}) {
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
    }
    // Other keys, and typing in the list, post nothing.
    frame.commands.clear();
    ce::SimulateKey(view().m_hWnd, ce::WM_KEYDOWN, ce::VK_DOWN);
    ce::SimulateKey(view().m_hWnd, ce::WM_CHAR, u'a');
    ce::PumpMessages();
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(Current(), 1) << "the list view still gets its keys";

    // A real key press on the list view reaches the frame as well.
    ce::SimulateKey(view().m_hWnd, ce::WM_KEYDOWN, ce::VK_ESCAPE);
    ce::PumpMessages();
    EXPECT_EQ(frame.commands, std::vector<ce::UINT>{ce::ID_APP_EXIT});
}

} // namespace
