// The strip of nine letter-group buttons under the command bar. A click on
// a button sends its group's command to the frame.
#pragma once
#include "platform/ui/Button.h"
#include "platform/ui/ToolBar.h"

// The bar's background and every button face without the focus.
constexpr ce::COLORREF FaceColor = 0x00C6CFDE;
// The face of the button that has the keyboard focus.
constexpr ce::COLORREF FocusColor = 0x007F0000;

// Widths in pixels of the nine buttons, which touch from x = 1 to 301.
constexpr int LetterButtonWidths[9] = {33, 33, 34, 33, 33, 34, 33, 33, 34};

class CLetterButton : public ce::CButton {
    DECLARE_MESSAGE_MAP()
public:
    CLetterButton() = default;
    ~CLetterButton() override;

    void DrawItem(ce::LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // The label's colour when the button does not have the focus.
    ce::COLORREF textColor = 0;

protected:
    ce::BOOL OnEraseBkgnd(ce::CDC* pDC);
    void OnLButtonDown(ce::UINT nFlags, ce::CPoint point);
    void OnPaint();

private:
    void DrawFace(ce::CDC& dc);
};

class CLetterBar : public ce::CToolBar {
    DECLARE_MESSAGE_MAP()
public:
    static constexpr int ButtonCount = 15;

    CLetterBar() = default;
    ~CLetterBar() override;

    // Creates one button per letter group, left to right from x = 1, y 3 to
    // 19, until one cannot be created. Returns the number created.
    int CreateLetterButtons();

    CLetterButton buttons[ButtonCount];

protected:
    ce::BOOL OnEraseBkgnd(ce::CDC* pDC);
    int OnCreate(ce::LPCREATESTRUCT cs);
};
