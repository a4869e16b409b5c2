// The scroll bar of a form view taller than the part of it its parent shows.
// It lives beside the form, in the parent's widget, and follows the form's
// widget and its parent's as they are shown, hidden, moved and resized.
#include "platform/ui/DeviceScrollBar.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/WindowImpl.h"
#include <QEvent>
#include <QSignalBlocker>

namespace ce::impl {
namespace {

class FormScrollBar : public DeviceScrollBar {
public:
    FormScrollBar(HWND form, QWidget* parent) : DeviceScrollBar(parent), scrolledForm(form)
    {
        hide();
        connect(this, &QAbstractSlider::valueChanged, this, [form](int value) {
            if (Window* w = FindWindow(form))
                ScrollFormTo(*w, QPoint(0, value));
        });
    }
    HWND Form() const { return scrolledForm; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Move:
        case QEvent::Resize:
            SyncFormScrollBar(scrolledForm);
            break;
        default:
            break;
        }
        return false;
    }

private:
    HWND scrolledForm;
};

FormScrollBar* BarOf(const Window& form)
{
    Window* parent = FindWindow(form.parent);
    if (!parent || !parent->widget)
        return nullptr;
    for (QObject* child : parent->widget->children())
        if (auto* bar = dynamic_cast<FormScrollBar*>(child); bar && bar->Form() == form.hwnd)
            return bar;
    return nullptr;
}

} // namespace

void AttachFormScrollBar(HWND formWindow)
{
    Window* form = FindWindow(formWindow);
    Window* parent = form ? FindWindow(form->parent) : nullptr;
    if (!form || !form->widget || !parent || !parent->widget || BarOf(*form))
        return;
    auto* bar = new FormScrollBar(formWindow, parent->widget);
    form->widget->installEventFilter(bar);
    parent->widget->installEventFilter(bar);
    QObject::connect(form->widget, &QObject::destroyed, bar, &QObject::deleteLater);
    SyncFormScrollBar(formWindow);
}

void SyncFormScrollBar(HWND formWindow)
{
    Window* form = FindWindow(formWindow);
    FormScrollBar* bar = form ? BarOf(*form) : nullptr;
    if (!bar)
        return;
    const Window& parent = *FindWindow(form->parent);
    const FormScroll range = FormScrollRange(*form);
    const QRect client = ClientRectInWidget(parent);
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    const QSignalBlocker block(bar);
    bar->setGeometry(client.right() + 1 - width, client.top(), width, client.height());
    bar->setRange(0, range.maxY);
    bar->setPageStep(std::max(1, range.visible));
    bar->setSingleStep(GetDialogBaseUnits().cy);
    bar->setValue(form->scroll.y());
    bar->setVisible(range.maxY > 0 && (form->style & WS_VISIBLE) && client.width() > width);
    bar->raise();
}

} // namespace ce::impl
