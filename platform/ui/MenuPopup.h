// Internal header of the command bar: the open pop-up of its menu and the
// drawing of menu texts with their mnemonics. Only platform/ui/*.cpp include it.
#pragma once
#include "platform/ui/CommandBar.h"
#include <string>

namespace ce {

namespace impl {

// "A&brir" shows as "Abrir"; "&&" stands for one ampersand.
std::u16string WithoutMnemonic(const std::u16string& text);
// The character after the single '&' ("A&brir": 'B', "文件(&F)": 'F'),
// upper case for a Latin letter; 0 when the text has none.
char16_t MnemonicOf(const std::u16string& text);
// Whether a key (WM_KEYDOWN's virtual key) or a typed character answers
// that mnemonic.
bool AnswersMnemonic(char16_t mnemonic, UINT key);
// Draws a menu text in one line inside rect with its mnemonic underlined.
void DrawMenuText(HDC dc, const std::u16string& text, const RECT& rect, COLORREF color, bool centred);
int MenuTextWidth(HWND hwnd, const std::u16string& text);

} // namespace impl

// The open pop-up of a command bar: a top-level window below its button
// that takes every key and tap until an item is chosen or it is dismissed.
// Up, Down, Home and End move the highlight over the items that can be
// chosen, Return or an item's mnemonic chooses, Escape dismisses, Left and
// Right go to the neighbouring pop-up; the item under the pointer is
// highlighted and a tap on it chooses it; a tap outside only dismisses.
class CMenuPopup : public CWnd {
public:
    CMenuPopup(CCommandBar& bar, HMENU menu) : commandBar(bar), popupMenu(menu) {}

    // Shows the pop-up with its top left at the screen point; a pop-up
    // opened from the keyboard highlights its first item.
    BOOL Open(POINT topLeft, bool fromKeyboard);
    // Closes without a choice.
    void Dismiss() { Finish(0); }
    // The highlighted item's position, or -1.
    int Highlighted() const { return highlightedItem; }

protected:
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int Count() const;
    int RowHeight(int index) const;
    CRect RowRect(int index) const;
    // An enabled command item, not a separator or a grayed item.
    bool Choosable(int index) const;
    // The item row under a client point, or -1.
    int RowAt(CPoint point) const;
    void Highlight(int index);
    // The next choosable item from `from` in direction step (+1, -1), wrapping.
    int NextChoosable(int from, int step) const;
    void OnKey(UINT key);
    void OnMnemonic(UINT key);
    void OnPress(CPoint point);
    void Choose(int index);
    void Paint();
    void Finish(UINT command);

    CCommandBar& commandBar;
    HMENU popupMenu;
    int highlightedItem = -1;
    bool opening = false;
};

} // namespace ce
