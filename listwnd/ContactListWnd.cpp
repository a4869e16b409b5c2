#include "listwnd/ContactListWnd.h"
#include "data/ContactList.h"
#include "dialogs/ContactEditDlg.h"
#include "dialogs/ContactShowDlg.h"
#include "listwnd/LetterGroup.h"
#include "listwnd/LetterSearch.h"
#include "platform/core/Resources.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/MessageBox.h"
#include "res/resource.h"
#include <algorithm>
#include <memory>
#include <new>

namespace {

constexpr ce::UINT DeviceKey = 0xC3;

struct ColumnSpec {
    ce::UINT title;
    FieldId field;
};
constexpr ColumnSpec Columns[] = {
    {IDS_COLUMN_NAME, FieldName},
    {IDS_COLUMN_TELEPHONE, FieldTelephone},
    {IDS_COLUMN_MOBILE, FieldMobile},
};

FieldId FieldOfColumn(int subItem)
{
    return subItem == 0 ? FieldName : subItem == 1 ? FieldTelephone : FieldMobile;
}

// Copies text with its terminating zero into a buffer of `capacity` units,
// cutting it to fit and never splitting a surrogate pair.
void CopyToBuffer(const std::u16string& text, ce::WCHAR* buffer, int capacity)
{
    if (!buffer || capacity <= 0)
        return;
    std::size_t n = std::min(text.size(), std::size_t(capacity - 1));
    if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
        --n;
    std::copy_n(text.begin(), n, buffer);
    buffer[n] = 0;
}

// A copy of contact `row`, or null when the row is not in the list (or
// the copy cannot be made).
std::unique_ptr<ContactRecord> CopyOfRow(int row)
{
    auto guard = g_contactList.Lock();
    const ContactRecord* stored = row >= 0 && row < g_contactList.GetCount() ? g_contactList.GetAt(row) : nullptr;
    if (!stored)
        return nullptr;
    std::unique_ptr<ContactRecord> copy(new (std::nothrow) ContactRecord);
    if (copy)
        copy->CopyFrom(*stored);
    return copy;
}

// Where the contact that was `original` at `row` stands now: a reload may
// have replaced the list while a dialog or the question was open. Row
// `row` when it still holds those values, else the first contact that
// does, else -1. The caller holds the list's lock.
int FindContact(int row, const ContactRecord& original)
{
    const int count = g_contactList.GetCount();
    if (row >= 0 && row < count && g_contactList.GetAt(row)->HasSameValues(original))
        return row;
    for (int i = 0; i < count; ++i)
        if (g_contactList.GetAt(i)->HasSameValues(original))
            return i;
    return -1;
}

} // namespace

BEGIN_MESSAGE_MAP(CContactListWnd, ce::CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_CONTACT_OPEN, OnOpen)
    ON_COMMAND(ID_CONTACT_NEW, OnNew)
    ON_COMMAND(ID_CONTACT_EDIT, OnEdit)
    ON_COMMAND(ID_CONTACT_DELETE, OnDelete)
    ON_COMMAND_RANGE(ID_LETTERS_AB, ID_LETTERS_AB, OnLetterGroup)
    ON_COMMAND_RANGE(ID_LETTERS_FGH, ID_LETTERS_CDE, OnLetterGroup)
    ON_MESSAGE(WM_CONTACTS_LOADED, OnContactsLoaded)
END_MESSAGE_MAP()

CContactListWnd::~CContactListWnd() = default;

ce::BOOL CContactListWnd::PreCreateWindow(ce::CREATESTRUCT& cs)
{
    if (!ce::CWnd::PreCreateWindow(cs))
        return ce::FALSE;
    cs.style &= ~ce::LONG(ce::WS_BORDER);
    cs.lpszClass = ce::AfxRegisterWndClass(ce::CS_VREDRAW | ce::CS_HREDRAW | ce::CS_DBLCLKS, nullptr,
                                           reinterpret_cast<ce::HBRUSH>(ce::COLOR_WINDOW + 1), nullptr);
    return ce::TRUE;
}

int CContactListWnd::OnCreate(ce::LPCREATESTRUCT cs)
{
    if (ce::CWnd::OnCreate(cs) == -1)
        return -1;
    ce::CRect client;
    GetClientRect(&client);
    const ce::DWORD style = ce::WS_CHILD | ce::WS_VISIBLE | ce::WS_BORDER | ce::LVS_OWNERDATA | ce::LVS_REPORT;
    if (!listView.Create(style, client, this, ListViewId))
        return -1;
    listView.SetExtendedStyle(ce::LVS_EX_FULLROWSELECT);
    smallImages.Create(IDB_ROW_ICON, 16, 1, 0x00FFFFFF);
    listView.SetImageList(&smallImages, ce::LVSIL_SMALL);

    const int w = ce::GetSystemMetrics(ce::SM_CXSCREEN) - ce::GetSystemMetrics(ce::SM_CXHSCROLL);
    const int widths[] = {w / 4, 3 * w / 8, w - w / 4 - 3 * w / 8};
    for (int i = 0; i < 3; ++i) {
        std::u16string title = ce::LoadStringW(Columns[i].title);
        ce::LVCOLUMNW column;
        column.mask = ce::LVCF_FMT | ce::LVCF_WIDTH | ce::LVCF_TEXT | ce::LVCF_SUBITEM | ce::LVCF_ORDER;
        column.fmt = ce::LVCFMT_LEFT;
        column.cx = widths[i];
        column.pszText = title.data();
        column.iSubItem = i;
        column.iOrder = i;
        listView.InsertColumn(i, &column);
    }
    listView.SetItemCountEx(g_contactList.GetCount(), ce::LVSICF_NOINVALIDATEALL);
    return 0;
}

void CContactListWnd::OnSize(ce::UINT type, int cx, int cy)
{
    ce::CWnd::OnSize(type, cx, cy);
    if (listView.m_hWnd)
        listView.MoveWindow(0, 0, cx, std::min(cy, MaxListHeight), ce::TRUE);
}

void CContactListWnd::OnDestroy()
{
    listView.DestroyWindow();
    smallImages.DeleteImageList();
    ce::CWnd::OnDestroy();
}

int CContactListWnd::GetCurrentRow() const
{
    if (!listView.m_hWnd)
        return -1;
    return listView.GetNextItem(-1, ce::LVNI_FOCUSED | ce::LVNI_SELECTED);
}

void CContactListWnd::SelectItem(int index)
{
    if (index < 0 || !listView.m_hWnd)
        return;
    // While a dialog or message box runs over the program (after a reload),
    // the focus stays in it; the list view gets it back when it ends.
    if (ce::CWnd* frame = GetParent(); !frame || frame->IsWindowEnabled())
        listView.SetFocus();
    const int current = GetCurrentRow();
    if (current >= 0) {
        listView.SetItemState(current, 0, ce::LVIS_FOCUSED);
        listView.SetItemState(current, 0, ce::LVIS_SELECTED);
    }
    listView.SetItemState(index, ce::LVIS_FOCUSED | ce::LVIS_SELECTED, ce::LVIS_FOCUSED | ce::LVIS_SELECTED);
    if (listView.EnsureVisible(index, ce::FALSE))
        return;
    const int top = listView.GetTopIndex();
    ce::CRect bounds;
    if (listView.GetItemRect(top, &bounds, ce::LVIR_BOUNDS))
        listView.Scroll(ce::CSize(0, (index - top) * bounds.Height()));
}

void CContactListWnd::RemoveRow(int index)
{
    if (index >= 0 && index < listView.GetItemCount())
        listView.DeleteItem(index);
    if (index >= g_contactList.GetCount())
        --index;
    SelectItem(index);
}

void CContactListWnd::OnGetDispInfo(ce::NMLVDISPINFOW& info) const
{
    ce::LVITEMW& item = info.item;
    auto guard = g_contactList.Lock();
    if (item.iItem < 0 || item.iItem >= g_contactList.GetCount())
        return;
    const ContactRecord* contact = g_contactList.GetAt(item.iItem);
    if (!contact)
        return;
    if (item.mask & ce::LVIF_IMAGE)
        item.iImage = 0;
    if (item.mask & ce::LVIF_TEXT) {
        std::u16string text;
        contact->GetField(FieldOfColumn(item.iSubItem))->GetText(text);
        CopyToBuffer(text, item.pszText, item.cchTextMax);
    }
}

ce::BOOL CContactListWnd::OnNotify(ce::WPARAM wParam, ce::LPARAM lParam, ce::LRESULT* pResult)
{
    auto* header = reinterpret_cast<ce::NMHDR*>(lParam);
    if (!header || !listView.m_hWnd || header->hwndFrom != listView.m_hWnd)
        return ce::CWnd::OnNotify(wParam, lParam, pResult);
    switch (header->code) {
    case ce::LVN_GETDISPINFOW:
        OnGetDispInfo(*reinterpret_cast<ce::NMLVDISPINFOW*>(lParam));
        if (pResult)
            *pResult = 0;
        return ce::TRUE;
    case ce::NM_DBLCLK:
        OnOpen();
        break;
    case ce::LVN_KEYDOWN:
        if (reinterpret_cast<ce::NMLVKEYDOWN*>(lParam)->wVKey == ce::VK_RETURN)
            OnOpen();
        break;
    default:
        break;
    }
    return ce::CWnd::OnNotify(wParam, lParam, pResult);
}

ce::BOOL CContactListWnd::PreTranslateMessage(ce::MSG* pMsg)
{
    const bool key = pMsg->message == ce::WM_KEYDOWN || pMsg->message == ce::WM_CHAR;
    if (key && (pMsg->wParam == ce::VK_ESCAPE || pMsg->wParam == DeviceKey)) {
        if (ce::CWnd* parent = GetParent())
            parent->PostMessage(ce::WM_COMMAND, ce::ID_APP_EXIT, 0);
    }
    return ce::CWnd::PreTranslateMessage(pMsg);
}

void CContactListWnd::OnOpen()
{
    const int row = GetCurrentRow();
    std::unique_ptr<ContactRecord> copy = CopyOfRow(row);
    if (!copy)
        return;
    {
        CContactShowDlg dialog(copy.get(), nullptr);
        dialog.DoModal();
    }
    copy.reset();
    SelectItem(row);
}

void CContactListWnd::OnNew()
{
    std::unique_ptr<ContactRecord> contact(new (std::nothrow) ContactRecord);
    if (!contact)
        return;
    contact->LoadLabels();
    {
        CContactEditDlg dialog(contact.get(), EditModeNew, nullptr);
        dialog.DoModal();
    }
    int row, count;
    {
        auto guard = g_contactList.Lock();
        row = g_contactList.InsertSorted(std::move(contact), FieldName);
        count = g_contactList.GetCount();
    }
    listView.SetItemCountEx(count, ce::LVSICF_NOINVALIDATEALL);
    SelectItem(row);
}

// The edited contact is looked up again after the dialog by its values
// before the edit (a reload may have replaced the list meanwhile). When it
// is gone, the input is kept as a contact of its own; when a running load
// has not read it yet, the input takes its place once the load is whole.
void CContactListWnd::OnEdit()
{
    const int row = GetCurrentRow();
    std::unique_ptr<ContactRecord> copy = CopyOfRow(row);
    if (!copy)
        return;
    const ContactRecord original(*copy);
    {
        CContactEditDlg dialog(copy.get(), EditModeEdit, nullptr);
        dialog.DoModal();
    }

    int selected, count;
    {
        auto guard = g_contactList.Lock();
        const int target = FindContact(row, original);
        ContactRecord* stored = target >= 0 ? g_contactList.GetAt(target) : nullptr;
        if (stored && !copy->GetField(FieldName)->DiffersFrom(*stored->GetField(FieldName))) {
            g_contactList.ReplaceAt(target, *copy);
            selected = target;
        } else if (stored) {
            g_contactList.RemoveAt(target);
            selected = g_contactList.InsertSorted(std::move(copy), FieldName);
        } else {
            selected = g_contactList.InsertSortedInstead(std::move(copy), original, FieldName);
        }
        count = g_contactList.GetCount();
    }
    if (count != listView.GetItemCount())
        listView.SetItemCountEx(count, ce::LVSICF_NOINVALIDATEALL);
    else
        listView.Invalidate(ce::FALSE);
    SelectItem(selected);
}

// The contact is looked up again after the question by its values, so a
// reload while the question was open never deletes another contact.
void CContactListWnd::OnDelete()
{
    const std::u16string caption = ce::LoadStringW(IDS_CONTACTS);
    const std::u16string question = ce::LoadStringW(IDS_DELETE_QUESTION);
    const int row = GetCurrentRow();
    if (row < 0)
        return;
    const std::unique_ptr<ContactRecord> original = CopyOfRow(row);
    if (MessageBox(question.c_str(), caption.c_str(), ce::MB_OKCANCEL | ce::MB_ICONQUESTION) != ce::IDOK) {
        SelectItem(row);
        return;
    }
    if (!original)
        return;
    int target;
    {
        auto guard = g_contactList.Lock();
        target = FindContact(row, *original);
        g_contactList.RemoveAt(target);
    }
    if (target >= 0)
        RemoveRow(target);
}

void CContactListWnd::OnLetterGroup(ce::UINT commandId)
{
    const int group = LetterGroupFromCommand(commandId);
    if (group >= 0)
        SelectItem(FindLetterGroup(g_contactList, group));
}

ce::LRESULT CContactListWnd::OnContactsLoaded(ce::WPARAM, ce::LPARAM)
{
    SelectItem(0);
    return 0;
}
