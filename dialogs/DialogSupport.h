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
