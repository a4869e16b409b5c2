// Internal header of the window system (Qt inside): the vertical scroll bar
// that controls and forms show, drawn as the device draws one (bevelled
// arrow buttons and thumb on a light track). Qt's slider underneath gives it
// the stylus, the page taps, the thumb drag and the wheel.
#pragma once
#include "platform/ui/WinDef.h"
#include <QScrollBar>

namespace ce::impl {

class DeviceScrollBar : public QScrollBar {
public:
    explicit DeviceScrollBar(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Keeps the scroll bar of a form view (a template child of a dialog) in the
// strip at the right of its parent's client area, shown while the form is
// taller than the part of it the parent shows, with the thumb at the form's
// scroll position. Made once, when the form is created.
void AttachFormScrollBar(HWND form);
// The thumb and the need follow the form again (after a scroll).
void SyncFormScrollBar(HWND form);

} // namespace ce::impl
