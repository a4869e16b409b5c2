// The pane of the main frame that lists every contact, and the commands
// that act on them: Open, New, Edit, Delete and the nine letter groups.
#pragma once
#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Wnd.h"

class ContactRecord;

// Posted by the background load to the list window when it has finished.
constexpr ce::UINT WM_CONTACTS_LOADED = ce::WM_USER + 7;

class CContactListWnd : public ce::CWnd {
    DECLARE_MESSAGE_MAP()
public:
    // The list view's control id and its height limit.
    static constexpr ce::UINT ListViewId = 1;
    static constexpr int MaxListHeight = 190;

    CContactListWnd() = default;
    ~CContactListWnd() override;

    // Makes the row current (focused and selected) and scrolls it into view;
    // also gives the list view the keyboard focus. A negative index does nothing.
    void SelectItem(int index);
    // Takes a row out of the view after its contact has left the list, and
    // makes its successor (or, for the last row, its predecessor) current.
    void RemoveRow(int index);
    // The focused and selected row, or -1.
    int GetCurrentRow() const;

    ce::CListCtrl& GetListView() { return listView; }

    ce::BOOL PreCreateWindow(ce::CREATESTRUCT& cs) override;
    ce::BOOL OnNotify(ce::WPARAM wParam, ce::LPARAM lParam, ce::LRESULT* pResult) override;
    ce::BOOL PreTranslateMessage(ce::MSG* pMsg) override;

protected:
    int OnCreate(ce::LPCREATESTRUCT cs);
    void OnSize(ce::UINT type, int cx, int cy);
    void OnDestroy();
    void OnOpen();
    void OnNew();
    void OnEdit();
    void OnDelete();
    void OnLetterGroup(ce::UINT commandId);
    ce::LRESULT OnContactsLoaded(ce::WPARAM, ce::LPARAM);

private:
    void OnGetDispInfo(ce::NMLVDISPINFOW& info) const;

    ce::CListCtrl listView;
    ce::CImageList smallImages;
};
