// The device's scroll bar look over Qt's slider behaviour.
#include "platform/ui/DeviceScrollBar.h"
#include "platform/ui/WindowImpl.h"
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionSlider>

namespace ce::impl {
namespace {

// Square arrow buttons, as wide as the bar: the system metric.
class DeviceScrollBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_ScrollBarExtent)
            return GetSystemMetrics(SM_CXVSCROLL);
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle* Style()
{
    static auto* style = new DeviceScrollBarStyle;
    return style;
}

// Face with a white edge at the top and left, a gray one inside the bottom
// and right, and a black one outside them.
void DrawRaisedBox(QPainter& p, const QRect& r)
{
    if (r.width() < 3 || r.height() < 3)
        return;
    p.fillRect(r, ToQColor(GetSysColor(COLOR_BTNFACE)));
    const QColor light = ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT));
    const QColor shadow = ToQColor(GetSysColor(COLOR_BTNSHADOW));
    const QColor dark = ToQColor(GetSysColor(COLOR_WINDOWFRAME));
    p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), light);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), light);
    p.fillRect(QRect(r.left() + 1, r.bottom() - 1, r.width() - 2, 1), shadow);
    p.fillRect(QRect(r.right() - 1, r.top() + 1, 1, r.height() - 2), shadow);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dark);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), dark);
}

// A solid triangle seven pixels wide, pointing up or down.
void DrawArrow(QPainter& p, const QRect& box, bool up)
{
    constexpr int rows = 4;
    const QColor color = ToQColor(GetSysColor(COLOR_BTNTEXT));
    const int centre = box.left() + (box.width() - 1) / 2;
    const int top = box.top() + (box.height() - rows) / 2;
    for (int i = 0; i < rows; ++i) {
        const int half = up ? i : rows - 1 - i;
        p.fillRect(QRect(centre - half, top + i, 2 * half + 1, 1), color);
    }
}

} // namespace

DeviceScrollBar::DeviceScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent)
{
    setStyle(Style());
    setFocusPolicy(Qt::NoFocus);
}

void DeviceScrollBar::paintEvent(QPaintEvent*)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const auto part = [&](QStyle::SubControl control) {
        return style()->subControlRect(QStyle::CC_ScrollBar, &option, control, this);
    };
    QPainter p(this);
    p.fillRect(rect(), ToQColor(GetSysColor(COLOR_SCROLLBAR)));
    const QRect up = part(QStyle::SC_ScrollBarSubLine), down = part(QStyle::SC_ScrollBarAddLine);
    DrawRaisedBox(p, up);
    DrawArrow(p, up, true);
    DrawRaisedBox(p, down);
    DrawArrow(p, down, false);
    if (maximum() > minimum())
        DrawRaisedBox(p, part(QStyle::SC_ScrollBarSlider));
}

} // namespace ce::impl
