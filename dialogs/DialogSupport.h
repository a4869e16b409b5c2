// Pieces the detail and edit dialogs share.
#pragma once
#include "platform/ui/Dialog.h"

// Enter, Escape and the device key 195, as a key press or as a typed character.
bool IsDialogEndKey(const ce::MSG& msg);

// Creates the form of `viewClass` as the first pane (id 0xE900) of `dialog`.
ce::CWnd* CreateDialogPane(ce::CDialog& dialog, const ce::CRuntimeClass* viewClass);

// Stretches the dialog's pane, when it has one, over a client area of cx by cy.
void FitPane(ce::CDialog& dialog, int cx, int cy);

// Forms and their labels are drawn on white.
ce::HBRUSH WhiteFormBrush(ce::CDC* dc);

// The dialog's pane as a form view, null without one.
ce::CFormView* DialogForm(const ce::CDialog& dialog);

// Arrow keys scroll the form by a step, page keys by a screenful less a step.
// Other keys do nothing.
void ScrollFormForKey(const ce::CDialog& dialog, ce::UINT key);

// Lets the stylus drag a dialog's form that is taller than the screen. It
// sees the mouse messages on their way through the dialog, whichever control
// lies under the stylus; a move of a few pixels is still a tap.
class FormDrag {
public:
    void Filter(const ce::CDialog& dialog, const ce::MSG& msg);

private:
    bool pressed = false;
    bool dragging = false;
    int startY = 0;      // on the screen
    int startScroll = 0; // the form's scroll position then
};
