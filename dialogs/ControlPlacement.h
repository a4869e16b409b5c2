// Placement of one text control in a form, shared by the detail and edit views.
#pragma once
#include "platform/ui/Wnd.h"
#include <string>

// How PlaceControl finds a control's height.
enum PlaceKind {
    PlaceText = 0,  // detail view: measured, broken into lines; 1 pixel when empty
    PlaceLabel = 1, // edit view label: measured like PlaceText; keeps its height when empty
    PlaceEdit = 2,  // edit field or picker: keeps its template height, text never measured
    PlaceLine = 3,  // picture line: 1 pixel; its text names its bitmap and is left alone
};

// Breaks `text` into lines no wider than `available` on `dc`, between any two
// characters. A character wider than `available` by itself takes a line of
// its own; a surrogate pair is never split.
void BreakLines(ce::HDC dc, std::u16string& text, int available);

// Moves control `id` of `form` to [left, right) at `y`, shows it and, unless
// it is a line, sets its text (possibly rebroken). On return `y` is the next free y, 10 pixels below
// the control. A missing control leaves `text` and `y` alone.
void PlaceControl(ce::CWnd& form, int id, std::u16string& text, int left, int right, int& y,
                  PlaceKind kind, ce::HFONT font);
