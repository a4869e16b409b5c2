// The command bar: the strip at the top of a frame that carries its menu,
// one button per pop-up, and the close box.
#pragma once
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"

namespace ce {

class CMenuPopup;

class CCommandBar : public CControlBar {
    DECLARE_DYNAMIC(CCommandBar)
public:
    static constexpr int BarHeight = 24;
    static constexpr int CloseBoxSize = 20;

    CCommandBar() = default;
    ~CCommandBar() override;

    using CControlBar::Create;
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    // Shows menu resource `menuId`, one button per pop-up; `button` is the
    // position among the bar's buttons, 0xFFFF behind the last.
    BOOL InsertMenuBar(UINT menuId, WORD button = 0xFFFF);
    // The close box at the right end, which closes the frame. Flags 0 give
    // the close box only.
    BOOL AddAdornments(DWORD flags = 0);

    HMENU GetMenu() const { return barMenu.GetSafeHmenu(); }
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;

    // What a tap on pop-up button `index` does: WM_INITMENUPOPUP to the
    // parent, then the pop-up below the button (a second tap closes it).
    // The pop-up takes the keys and taps while it is open and posts the
    // chosen item's WM_COMMAND to the parent; a grayed item cannot be chosen.
    // Opened from the keyboard, its first item is highlighted.
    void TrackPopup(int index, BOOL fromKeyboard = FALSE);
    // F10 opens the first pop-up, Alt with a pop-up's mnemonic that pop-up.
    BOOL OnMenuKey(UINT key) override;
    // The open pop-up's window, or null.
    HWND GetPopupWindow() const;
    // The position of the open pop-up's highlighted item, or -1.
    int GetHighlightedItem() const;
    // The button areas in the bar's client coordinates.
    CRect GetMenuButtonRect(int index) const;
    CRect GetCloseBoxRect() const;

protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    friend class CMenuPopup;
    void PopupClosed();
    // From the open pop-up to its neighbour (step +1 or -1), wrapping.
    void SwitchPopup(int step);

    CMenu barMenu;
    bool hasCloseBox = false;
    CMenuPopup* openPopup = nullptr;
    int openIndex = -1;
};

} // namespace ce
