// The device's system metrics and colours.
#include "platform/ui/WindowImpl.h"
#include "platform/ui/Wnd.h"

namespace ce {

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
        return 320;
    case SM_CYSCREEN:
        return 240;
    case SM_CYFULLSCREEN:
        return 240 - GetSystemMetrics(SM_CYCAPTION);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CXHSCROLL:
        return 16;
    case SM_CYCAPTION: {
        impl::Window captioned;
        captioned.style = WS_CAPTION;
        return impl::CaptionHeight(captioned);
    }
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 1;
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return 24;
    default:
        return 0;
    }
}

COLORREF GetSysColor(int index)
{
    switch (index) {
    case COLOR_WINDOW:
    case COLOR_BTNHIGHLIGHT:
    case COLOR_CAPTIONTEXT:
    case COLOR_HIGHLIGHTTEXT:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_MENUTEXT:
    case COLOR_BTNTEXT:
    case COLOR_WINDOWFRAME:
        return RGB(0, 0, 0);
    case COLOR_ACTIVECAPTION:
    case COLOR_HIGHLIGHT:
        return RGB(0, 0, 128);
    case COLOR_INACTIVECAPTION:
    case COLOR_BTNSHADOW:
    case COLOR_GRAYTEXT:
        return RGB(128, 128, 128);
    case COLOR_MENU:
    case COLOR_BTNFACE:
        return RGB(192, 192, 192);
    case COLOR_SCROLLBAR:
        return RGB(224, 224, 224);
    case COLOR_BACKGROUND:
        return RGB(0, 128, 128);
    default:
        return RGB(192, 192, 192);
    }
}

} // namespace ce
