// The toolbar ("ToolbarWindow32") and its framework class CToolBar: a
// control bar docked at the top of a frame, holding a row of buttons by
// command id, style and image index. The bar has no bitmap of its own: it
// shows its background, and windows placed on it show over that.
#pragma once
#include "platform/ui/FrameWnd.h"

namespace ce {

inline constexpr const WCHAR* TOOLBARCLASSNAMEW = u"ToolbarWindow32";

constexpr DWORD TBSTYLE_BUTTON = 0x0000;
constexpr DWORD TBSTYLE_SEP = 0x0001;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr BYTE TBSTATE_ENABLED = 0x04;

constexpr UINT TB_DELETEBUTTON = WM_USER + 22;
constexpr UINT TB_GETBUTTON = WM_USER + 23;
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_INSERTBUTTONW = WM_USER + 67;

struct TBBUTTON {
    int iBitmap = 0; // image index; a separator's width
    int idCommand = 0;
    BYTE fsState = TBSTATE_ENABLED;
    BYTE fsStyle = 0;
    UINT_PTR dwData = 0;
    LONG_PTR iString = 0;
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    // The client height of a docked toolbar without borders.
    static constexpr int BarHeight = 22;

    using CControlBar::Create;
    using CControlBar::CreateEx;

    // ctrlStyle: TBSTYLE_*; style: window and CBRS_ styles; borders: extra
    // space around the buttons, added to the bar's height.
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect borders = CRect(0, 0, 0, 0),
                  UINT id = AFX_IDW_TOOLBAR);
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);

    int GetCount() const;
    // Sets button `index`; an index one past the last adds a button.
    // image is the image index, or a separator's width.
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    // FALSE for an index out of range.
    BOOL GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    UINT GetItemID(int index) const;

    // The full width of the parent's client area, and BarHeight plus the
    // top and bottom borders.
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;

private:
    CRect barBorders;
};

} // namespace ce
