// The owner-data report list view: states, cells, scrolling, stylus, keys, painting.
#include "platform/ui/ListView.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/common/UiHarness.h"
#include "tests/platform/ui/support/UiTest.h"
#include <algorithm>

namespace {

using namespace ce;

// Answers every cell with "r<row>c<sub-item>" (or with its own text) and records the notifications.
class CListParent : public CWnd {
public:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override
    {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        codes.push_back(hdr->code);
        if (hdr->code == LVN_GETDISPINFOW) {
            auto& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
            item.iImage = 0;
            std::string text = "r" + std::to_string(item.iItem) + "c" + std::to_string(item.iSubItem);
            if ((item.mask & LVIF_TEXT) && !answer.empty())
                item.pszText = answer.data();
            else if (item.mask & LVIF_TEXT)
                *std::copy(text.begin(), text.end(), item.pszText) = 0;
        } else if (hdr->code == NM_DBLCLK || hdr->code == NM_CLICK) {
            activated.push_back(reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem);
        } else if (hdr->code == LVN_KEYDOWN) {
            keys.push_back(reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey);
        }
        *result = 0;
        return TRUE;
    }

    int Count(UINT code) const { return int(std::count(codes.begin(), codes.end(), code)); }
    std::vector<UINT> codes;
    std::vector<int> activated;
    std::vector<WORD> keys;
    std::u16string answer;
};

class ListViewTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(uiharness::CreateScreenWindow(parent));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, CRect(0, 0, 320, 200), &parent, 7));
        char16_t title[] = u"Col";
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNW column;
            column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            column.cx = 100, column.pszText = title, column.iSubItem = i;
            EXPECT_EQ(list.InsertColumn(i, &column), i);
        }
    }

    CRect Row(int item)
    {
        CRect rect;
        EXPECT_TRUE(list.GetItemRect(item, &rect, LVIR_BOUNDS));
        return rect;
    }

    std::vector<int> Selected() // rows selected, in order
    {
        std::vector<int> rows;
        for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list.GetNextItem(i, LVNI_SELECTED))
            rows.push_back(i);
        return rows;
    }

    CListParent parent;
    CListCtrl list;
};

TEST_F(ListViewTest, FocusAndSelectionFollowCountAndDeletedRows)
{
    ASSERT_TRUE(list.SetItemCountEx(10, LVSICF_NOINVALIDATEALL));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED), -1);

    list.SetItemState(3, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    list.SetItemState(5, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED), 3);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 5})) << "several rows may be selected";
    EXPECT_EQ(list.GetItemState(5, LVIS_FOCUSED | LVIS_SELECTED), UINT(LVIS_SELECTED));

    // Focused but not selected is no current row.
    list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED), -1);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 3);
    EXPECT_TRUE(Selected().empty());

    // Deleting a row moves the later states down; deleting the focused row leaves no focus.
    list.SetItemState(6, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_TRUE(list.DeleteItem(1));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 2);
    EXPECT_EQ(Selected(), std::vector<int>{5});
    ASSERT_TRUE(list.DeleteItem(2));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), -1);

    // A smaller count drops the states beyond it.
    list.SetItemState(7, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    list.SetItemCountEx(4);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), -1);
    EXPECT_TRUE(Selected().empty());
}

TEST_F(ListViewTest, CellsAreAskedOfTheParentAndCutToTheBuffer)
{
    list.SetItemCountEx(3);
    EXPECT_EQ(list.GetItemText(2, 1), u"r2c1");
    parent.codes.clear();
    EXPECT_EQ(list.GetItemText(3, 0), u"");
    EXPECT_TRUE(parent.codes.empty()) << "no request beyond the count";

    // A parent may answer with text of its own instead of filling the buffer.
    parent.answer = std::u16string(300, u'z');
    EXPECT_EQ(list.GetItemText(0, 0), std::u16string(259, u'z'));
    WCHAR small[5] = {u'#', u'#', u'#', u'#', u'#'};
    LVITEMW item;
    item.pszText = small, item.cchTextMax = 4;
    EXPECT_EQ(list.SendMessage(LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item)), 3);
    EXPECT_EQ(std::u16string(small), u"zzz");
    EXPECT_EQ(small[4], u'#');

    // Painting asks only for the rows on screen.
    parent.answer.clear();
    list.SetItemCountEx(100000);
    parent.codes.clear();
    list.Invalidate();
    GrabWindow(list.m_hWnd);
    EXPECT_GT(parent.Count(LVN_GETDISPINFOW), 0);
    EXPECT_LE(parent.Count(LVN_GETDISPINFOW), 3 * (list.GetCountPerPage() + 1));
}

TEST_F(ListViewTest, EnsureVisibleAndScrollMoveTheTopRow)
{
    list.SetItemCountEx(100);
    const int perPage = list.GetCountPerPage();
    ASSERT_GT(perPage, 3);
    const CRect first = Row(0);
    EXPECT_GT(first.top, 0) << "below the header";
    CRect client;
    list.GetClientRect(&client);
    EXPECT_GT(first.top + (perPage + 1) * first.Height(), client.bottom) << "whole rows only";

    EXPECT_TRUE(list.EnsureVisible(50, FALSE));
    EXPECT_EQ(list.GetTopIndex(), 50 - perPage + 1);
    EXPECT_LE(Row(50).bottom, client.bottom);
    EXPECT_TRUE(list.EnsureVisible(10, FALSE));
    EXPECT_FALSE(list.EnsureVisible(100, FALSE));
    EXPECT_EQ(list.GetTopIndex(), 10);

    EXPECT_TRUE(list.Scroll(CSize(0, 3 * first.Height())));
    EXPECT_EQ(list.GetTopIndex(), 13);
    list.Scroll(CSize(0, -first.Height() / 2 - 1));
    EXPECT_EQ(list.GetTopIndex(), 12) << "rounded to whole rows";
    list.Scroll(CSize(0, 1000 * first.Height()));
    EXPECT_EQ(list.GetTopIndex(), 100 - perPage);
    list.SetItemCountEx(2);
    EXPECT_EQ(list.GetTopIndex(), 0) << "fewer rows than fit";
}

TEST_F(ListViewTest, TapsAndKeysSelectOneRowAndNotifyTheParent)
{
    list.SetItemCountEx(5);
    const int y2 = Row(2).top + 2;
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP})
        SimulateMouse(list.m_hWnd, message, 150, y2);
    EXPECT_EQ(GetFocus(), list.m_hWnd);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED), 2);
    SimulateMouse(list.m_hWnd, WM_LBUTTONDBLCLK, 150, y2);
    EXPECT_EQ(parent.activated, (std::vector<int>{2, 2}));
    EXPECT_EQ(parent.Count(NM_DBLCLK), 1);

    // Down, End, Down again (stays on the last row), Enter.
    const std::pair<WORD, int> keys[] = {{VK_DOWN, 3}, {VK_END, 4}, {VK_DOWN, 4}, {VK_RETURN, 4}};
    for (auto [key, row] : keys) {
        SimulateKey(list.m_hWnd, WM_KEYDOWN, key);
        EXPECT_EQ(Selected(), std::vector<int>{row}) << key;
    }
    EXPECT_EQ(parent.keys, (std::vector<WORD>{VK_DOWN, VK_END, VK_DOWN, VK_RETURN}));

    // A tap below the last row selects nothing; one on the header changes nothing.
    SimulateMouse(list.m_hWnd, WM_LBUTTONDOWN, 150, Row(4).bottom + 5);
    EXPECT_TRUE(Selected().empty());
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    SimulateMouse(list.m_hWnd, WM_LBUTTONDOWN, 150, 2);
    EXPECT_EQ(Selected(), std::vector<int>{1});
}

TEST_F(ListViewTest, PaintsSelectionAndTransparentRowIcon)
{
    CImageList images;
    ASSERT_TRUE(images.Create(131, 16, 1, 0x00FFFFFF));
    list.SetImageList(&images, LVSIL_SMALL);
    list.SetItemCountEx(4);
    list.SetFocus();
    list.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);

    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), window = GetSysColor(COLOR_WINDOW);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT); // as the program's list
    const ScreenImage image = GrabWindow(list.m_hWnd);
    const CRect row0 = Row(0), row1 = Row(1);
    EXPECT_EQ(image.Pixel(295, row1.top + 2), highlight);
    EXPECT_EQ(image.Pixel(310, row1.top + 2), window) << "the columns end at 300";

    // The icon's white ground lets the row's colour through; the card shows.
    const int iconTop0 = row0.top + (row0.Height() - 16) / 2;
    const int iconTop1 = row1.top + (row1.Height() - 16) / 2;
    EXPECT_EQ(image.Pixel(2, iconTop0), window);
    EXPECT_EQ(image.Pixel(2, iconTop1), highlight);
    const CRect icon0(2, iconTop0, 18, iconTop0 + 16), icon1(2, iconTop1, 18, iconTop1 + 16);
    EXPECT_GT(uiharness::CountPixels(image, icon0, [&](COLORREF c) { return c != window; }), 20);
    EXPECT_GT(uiharness::CountPixels(image, icon1, [&](COLORREF c) { return c != highlight; }), 20)
        << "the selected row keeps its icon";
    // Cell text is drawn in the second column.
    EXPECT_GT(uiharness::PixelsOf(image, CRect(100, row0.top, 200, row0.bottom), GetSysColor(COLOR_WINDOWTEXT)), 5);
}

} // namespace
