// Window handles, classes, creation and destruction, geometry, text,
// visibility and focus.
#include "platform/ui/Host.h"
#include "platform/ui/WindowImpl.h"
#include "platform/ui/Wnd.h"
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace ce::impl {
namespace {

constexpr int kCaptionHeight = 18;
constexpr int kCloseBoxWidth = 18;

// The registries live until the process ends: nothing is torn down while
// static destructors run.
struct Registry {
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevels; // bottom to top
    std::uintptr_t nextHandle = 0x10000;
    HWND focus = nullptr;
    HWND capture = nullptr;
};

Registry& Reg()
{
    static auto* registry = new Registry;
    return *registry;
}

// Handles alive, for IsWindow and PostMessageW from other threads.
std::mutex& LiveMutex()
{
    static auto* m = new std::mutex;
    return *m;
}
std::unordered_set<HWND>& LiveSet()
{
    static auto* live = new std::unordered_set<HWND>;
    return *live;
}

std::map<std::u16string, std::unique_ptr<WindowClass>>& Classes()
{
    static auto* classes = new std::map<std::u16string, std::unique_ptr<WindowClass>>;
    return *classes;
}
std::mutex& ClassesMutex()
{
    static auto* m = new std::mutex;
    return *m;
}

std::u16string Upper(std::u16string s)
{
    for (auto& c : s)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    return s;
}

thread_local CWnd* t_attachOnCreate = nullptr;
thread_local std::function<void(HWND)> t_beforeCreate;

QWidget* ParentWidgetOf(const Window& w)
{
    if (w.parent)
        if (Window* p = FindWindow(w.parent))
            return p->widget;
    return ScreenWidget();
}

QPoint ClientOriginInParentWidget(const Window& w)
{
    if (w.parent)
        if (Window* p = FindWindow(w.parent))
            return ClientRectInWidget(*p).topLeft();
    return QPoint(0, 0);
}

void PlaceWidget(Window& w)
{
    if (w.widget)
        w.widget->setGeometry(w.rect.translated(ClientOriginInParentWidget(w)));
}

// Topmost windows (the input panel) stay above the others.
void RestackTopmost()
{
    auto& tops = Reg().topLevels;
    for (HWND h : std::vector<HWND>(tops))
        if (Window* t = FindWindow(h); t && (t->exStyle & WS_EX_TOPMOST)) {
            tops.erase(std::find(tops.begin(), tops.end(), h));
            tops.push_back(h);
            if (t->widget)
                t->widget->raise();
        }
}

void RaiseTopLevel(Window& w)
{
    auto& tops = Reg().topLevels;
    tops.erase(std::remove(tops.begin(), tops.end(), w.hwnd), tops.end());
    tops.push_back(w.hwnd);
    if (w.widget)
        w.widget->raise();
    RestackTopmost();
}


int ClientWidth(const Window& w)
{
    return std::max(0, w.rect.width() - 2 * BorderWidth(w));
}

int ClientHeight(const Window& w)
{
    return std::max(0, w.rect.height() - 2 * BorderWidth(w) - CaptionHeight(w));
}

void ResizeBacking(Window& w)
{
    QSize size(std::max(1, w.rect.width()), std::max(1, w.rect.height()));
    if (w.backing.size() == size)
        return;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!w.backing.isNull()) {
        QPainter p(&image);
        p.drawImage(0, 0, w.backing);
    }
    w.backing = image;
}

} // namespace

// ---------------------------------------------------------------------------
// Classes

void RegisterWindowClass(WindowClass cls)
{
    std::lock_guard lock(ClassesMutex());
    auto key = Upper(cls.name);
    if (!Classes().count(key))
        Classes()[key] = std::make_unique<WindowClass>(std::move(cls));
}

const WindowClass* FindWindowClass(const std::u16string& name)
{
    std::lock_guard lock(ClassesMutex());
    auto it = Classes().find(Upper(name));
    return it == Classes().end() ? nullptr : it->second.get();
}

// ---------------------------------------------------------------------------
// Lookup and geometry helpers

Window* FindWindow(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    auto& windows = Reg().windows;
    auto it = windows.find(hwnd);
    return it == windows.end() ? nullptr : it->second.get();
}

int CaptionHeight(const Window& w)
{
    return (w.style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
}

int BorderWidth(const Window& w)
{
    return (w.style & WS_BORDER) ? 1 : 0;
}

QRect ClientRectInWidget(const Window& w)
{
    int b = BorderWidth(w);
    return QRect(b, b + CaptionHeight(w), ClientWidth(w), ClientHeight(w));
}

static QPoint WindowOriginOnScreen(const Window& w)
{
    QPoint origin = w.rect.topLeft();
    for (const Window* p = FindWindow(w.parent); p; p = FindWindow(p->parent))
        origin += p->rect.topLeft() + ClientRectInWidget(*p).topLeft();
    return origin;
}

QPoint ClientOriginOnScreen(const Window& w)
{
    return WindowOriginOnScreen(w) + ClientRectInWidget(w).topLeft();
}

void Invalidate(Window& w, bool erase)
{
    w.invalid = true;
    w.erase = w.erase || erase;
    if (w.widget)
        w.widget->update();
}

void Refresh(Window& w)
{
    if (w.widget)
        w.widget->update();
}

void AttachOnCreate(CWnd* wnd)
{
    t_attachOnCreate = wnd;
}

void BeforeCreate(std::function<void(HWND)> hook)
{
    t_beforeCreate = std::move(hook);
}

void ScrollChildren(Window& w, int dx, int dy)
{
    for (HWND h : w.children)
        if (Window* c = FindWindow(h)) {
            c->rect.translate(dx, dy);
            PlaceWidget(*c);
        }
    Invalidate(w);
}

void PaintNonClient(Window& w)
{
    int b = BorderWidth(w);
    int cap = CaptionHeight(w);
    if (!b && !cap)
        return;
    QPainter p(&w.backing);
    QRect r(0, 0, w.rect.width(), w.rect.height());
    if (b) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (!cap)
        return;
    QRect bar(b, b, r.width() - 2 * b, cap);
    p.fillRect(bar, ToQColor(GetSysColor(COLOR_ACTIVECAPTION)));
    QFont font = DeviceFont();
    font.setBold(true);
    p.setFont(font);
    p.setPen(ToQColor(GetSysColor(COLOR_CAPTIONTEXT)));
    QRect textRect = bar.adjusted(4, 0, (w.style & WS_SYSMENU) ? -kCloseBoxWidth - 2 : -2, 0);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QFontMetrics(font).elidedText(DisplayText(w.text), Qt::ElideRight, textRect.width()));
    if (w.style & WS_SYSMENU) {
        QRect box(bar.right() - kCloseBoxWidth + 2, bar.top() + 2, kCloseBoxWidth - 4, cap - 4);
        p.fillRect(box, ToQColor(GetSysColor(COLOR_BTNFACE)));
        p.setPen(Qt::black);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        QRect x = box.adjusted(4, 3, -5, -4);
        p.drawLine(x.topLeft(), x.bottomRight());
        p.drawLine(x.topRight(), x.bottomLeft());
    }
}

static QRect CloseBoxInWidget(const Window& w)
{
    if (!(w.style & WS_SYSMENU) || !CaptionHeight(w))
        return QRect();
    int b = BorderWidth(w);
    return QRect(w.rect.width() - b - kCloseBoxWidth, b, kCloseBoxWidth, CaptionHeight(w));
}

void PaintWindow(Window& w)
{
    if (!w.invalid)
        return;
    PaintNonClient(w);
    SendMessageW(w.hwnd, WM_PAINT, 0, 0);
    if (Window* again = FindWindow(w.hwnd))
        again->invalid = false;
}

// ---------------------------------------------------------------------------
// The window's widget

WindowWidget::WindowWidget(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void WindowWidget::paintEvent(QPaintEvent*)
{
    Window* w = FindWindow(hwnd_);
    if (!w)
        return;
    PaintWindow(*w);
    if ((w = FindWindow(hwnd_)) == nullptr)
        return;
    QPainter p(this);
    p.drawImage(0, 0, w->backing);
}

// An open menu or calendar gets every click and move, in its own client
// coordinates, wherever on the screen they are.
static bool ToInputOwner(const Window& w, QPoint pos, UINT message, Qt::MouseButtons buttons)
{
    Window* owner = FindWindow(InputOwner());
    if (!owner || owner == &w)
        return false;
    const QPoint c = pos - ClientRectInWidget(w).topLeft() + ClientOriginOnScreen(w) - ClientOriginOnScreen(*owner);
    MSG msg;
    msg.hwnd = owner->hwnd;
    msg.message = message;
    msg.wParam = (buttons & Qt::LeftButton) ? MK_LBUTTON : 0;
    msg.lParam = MAKELPARAM(WORD(short(c.x())), WORD(short(c.y())));
    msg.pt = POINT{c.x(), c.y()};
    DeliverInput(msg);
    return true;
}

void FollowPointer(HWND hwnd)
{
    if (Window* w = FindWindow(hwnd); w && w->widget)
        w->widget->setMouseTracking(true);
}

void WindowWidget::Mouse(QMouseEvent* event, UINT message)
{
    Window* w = FindWindow(hwnd_);
    if (!w || ToInputOwner(*w, event->position().toPoint(), message, event->buttons()) || !InputAllowed(hwnd_))
        return;
    QPoint pos = event->position().toPoint();
    QRect close = CloseBoxInWidget(*w);
    if (close.contains(pos) || (closePressed_ && message != WM_MOUSEMOVE)) {
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)
            closePressed_ = true;
        else if (message == WM_LBUTTONUP) {
            bool inside = close.contains(pos) && closePressed_;
            closePressed_ = false;
            if (inside)
                SendMessageW(hwnd_, WM_CLOSE, 0, 0);
        }
        return;
    }
    QRect client = ClientRectInWidget(*w);
    if (!client.contains(pos) && message != WM_LBUTTONUP && message != WM_MOUSEMOVE)
        return;
    QPoint c = pos - client.topLeft();
    MSG msg;
    msg.hwnd = hwnd_;
    msg.message = message;
    msg.wParam = (event->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0;
    msg.lParam = MAKELPARAM(WORD(short(c.x())), WORD(short(c.y())));
    msg.pt = POINT{c.x(), c.y()};
    DeliverInput(msg);
}

void WindowWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Mouse(event, WM_LBUTTONDOWN);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Mouse(event, WM_LBUTTONUP);
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Window* w = FindWindow(hwnd_);
    bool dbl = w && w->cls && (w->cls->style & CS_DBLCLKS);
    Mouse(event, dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) || hasMouseTracking())
        Mouse(event, WM_MOUSEMOVE);
}

void WindowWidget::leaveEvent(QEvent*)
{
    if (hasMouseTracking())
        SendMessageW(hwnd_, WM_MOUSELEAVE, 0, 0);
}

void WindowWidget::wheelEvent(QWheelEvent* event)
{
    // WM_MOUSEWHEEL for the window under the pointer, as a desktop has it;
    // what that window leaves unhandled goes on to its parent.
    const int delta = event->angleDelta().y();
    Window* w = FindWindow(hwnd_);
    if (!w || !delta || !InputAllowed(hwnd_)) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint screen = event->position().toPoint() - ClientRectInWidget(*w).topLeft() + ClientOriginOnScreen(*w);
    MSG msg;
    msg.hwnd = hwnd_;
    msg.message = WM_MOUSEWHEEL;
    msg.wParam = MAKEWPARAM(WORD((event->buttons() & Qt::LeftButton) ? MK_LBUTTON : 0), WORD(short(delta)));
    msg.lParam = MAKELPARAM(WORD(short(screen.x())), WORD(short(screen.y())));
    msg.pt = POINT{screen.x(), screen.y()};
    DeliverInput(msg);
}

bool InputAllowed(HWND hwnd)
{
    for (Window* w = FindWindow(hwnd); w; w = FindWindow(w->parent))
        if (w->style & WS_DISABLED)
            return false;
    return true;
}

HWND TopLevelOf(HWND hwnd)
{
    Window* w = FindWindow(hwnd);
    while (w && w->parent)
        w = FindWindow(w->parent);
    return w ? w->hwnd : nullptr;
}

} // namespace ce::impl

// ---------------------------------------------------------------------------
// Public window functions

namespace ce {

using namespace impl;

namespace {

Window* Live(HWND hwnd)
{
    if (!IsUiThread())
        return nullptr;
    return FindWindow(hwnd);
}

bool IsSysColorBrushValue(HBRUSH brush)
{
    auto v = reinterpret_cast<std::uintptr_t>(brush);
    return v >= 1 && v <= 31;
}

} // namespace

ATOM RegisterClassW(const WNDCLASSW* wc)
{
    if (!wc || !wc->lpszClassName)
        return 0;
    WindowClass cls;
    cls.name = wc->lpszClassName;
    cls.style = wc->style;
    cls.background = wc->hbrBackground;
    cls.proc = wc->lpfnWndProc;
    RegisterWindowClass(std::move(cls));
    return 1;
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "Afx:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    std::u16string name(buffer, buffer + std::strlen(buffer));
    if (!FindWindowClass(name)) {
        WindowClass cls;
        cls.name = name;
        cls.style = classStyle;
        cls.background = background;
        RegisterWindowClass(std::move(cls));
    }
    return FindWindowClass(name)->name.c_str();
}

// The program's main window names the host window, in the program's language.
static void NameHostWindow(const Window& w)
{
    if (!w.parent && !w.owner && !(w.exStyle & WS_EX_TOPMOST) && !w.text.empty())
        ScreenWidget()->window()->setWindowTitle(DisplayText(w.text));
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU hMenu, HINSTANCE, void* param)
{
    // Taken before the platform starts: its own start-up windows (the input
    // panel) must not take over the object being created.
    CWnd* attach = std::exchange(t_attachOnCreate, nullptr);
    auto beforeCreate = std::exchange(t_beforeCreate, nullptr);
    EnsureApplication();
    if (!IsUiThread() || !className)
        return nullptr;
    const WindowClass* cls = FindWindowClass(className);
    if (!cls)
        return nullptr;
    Window* parentWindow = FindWindow(parent);
    if ((style & WS_CHILD) && !parentWindow)
        return nullptr;

    auto& reg = Reg();
    auto owned = std::make_unique<Window>();
    Window& w = *owned;
    w.hwnd = reinterpret_cast<HWND>(reg.nextHandle);
    reg.nextHandle += 0x10;
    w.cls = cls;
    w.text = windowName ? windowName : u"";
    w.style = style & ~WS_VISIBLE;
    w.exStyle = exStyle;
    if (style & WS_CHILD) {
        w.parent = parent;
        w.id = UINT(reinterpret_cast<std::uintptr_t>(hMenu));
    } else {
        w.owner = parent;
    }
    w.rect = QRect(x, y, std::max(0, width), std::max(0, height));
    HWND hwnd = w.hwnd;
    NameHostWindow(w);
    reg.windows.emplace(hwnd, std::move(owned));
    {
        std::lock_guard lock(LiveMutex());
        LiveSet().insert(hwnd);
    }
    if (parentWindow)
        parentWindow->children.push_back(hwnd);
    else
        reg.topLevels.push_back(hwnd);

    w.widget = new WindowWidget(hwnd, ParentWidgetOf(w));
    w.widget->hide();
    PlaceWidget(w);
    if (!parentWindow)
        RestackTopmost();
    ResizeBacking(w);
    if (attach) {
        attach->m_hWnd = hwnd;
        w.wnd = attach;
    }
    if (cls->createState)
        w.state = cls->createState(w);
    if (beforeCreate)
        beforeCreate(hwnd);

    CREATESTRUCTW cs;
    cs.lpCreateParams = param;
    cs.hMenu = hMenu;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = LONG(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    Window* created = FindWindow(hwnd);
    if (!created)
        return nullptr;
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(WORD(ClientWidth(*created)), WORD(ClientHeight(*created))));
    if ((style & WS_VISIBLE) && IsWindow(hwnd))
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd)
{
    Window* w = Live(hwnd);
    if (!w || w->destroying)
        return FALSE;
    w->destroying = true;
    auto& reg = Reg();
    if (!w->parent)
        for (HWND top : std::vector<HWND>(reg.topLevels))
            if (Window* t = FindWindow(top); t && t->owner == hwnd)
                DestroyWindow(top);
    if (reg.capture == hwnd)
        reg.capture = nullptr;
    if (w->widget)
        w->widget->hide();
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    if ((w = FindWindow(hwnd)) == nullptr)
        return TRUE;
    for (HWND child : std::vector<HWND>(w->children))
        DestroyWindow(child);
    KillWindowTimers(hwnd);
    if (reg.focus == hwnd)
        reg.focus = nullptr;
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    if ((w = FindWindow(hwnd)) == nullptr)
        return TRUE;
    CWnd* wnd = w->wnd;
    DetachAfterNcDestroy(*w);
    if (Window* p = FindWindow(w->parent))
        p->children.erase(std::remove(p->children.begin(), p->children.end(), hwnd), p->children.end());
    reg.topLevels.erase(std::remove(reg.topLevels.begin(), reg.topLevels.end(), hwnd), reg.topLevels.end());
    if (w->widget)
        w->widget->deleteLater();
    {
        std::lock_guard lock(LiveMutex());
        LiveSet().erase(hwnd);
    }
    auto node = reg.windows.extract(hwnd);
    node.mapped().reset();
    if (wnd)
        wnd->PostNcDestroy();
    return TRUE;
}

BOOL IsWindow(HWND hwnd)
{
    if (!hwnd)
        return FALSE;
    std::lock_guard lock(LiveMutex());
    return LiveSet().count(hwnd) ? TRUE : FALSE;
}

HWND GetParent(HWND hwnd)
{
    Window* w = Live(hwnd);
    if (!w)
        return nullptr;
    return w->parent ? w->parent : w->owner;
}

HWND GetDlgItem(HWND parent, int id)
{
    Window* p = Live(parent);
    if (!p)
        return nullptr;
    for (HWND h : p->children)
        if (Window* c = FindWindow(h); c && int(c->id) == id)
            return h;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    Window* w = Live(hwnd);
    return w ? int(w->id) : 0;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    EnsureApplication();
    if (!IsUiThread())
        return nullptr;
    std::u16string cls = className ? Upper(className) : u"";
    for (auto it = Reg().topLevels.rbegin(); it != Reg().topLevels.rend(); ++it) {
        Window* w = FindWindow(*it);
        if (!w || w->destroying)
            continue;
        if (className && Upper(w->cls->name) != cls)
            continue;
        if (windowName && w->text != windowName)
            continue;
        return *it;
    }
    return nullptr;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount)
{
    Window* w = Live(hwnd);
    if (!w || !buffer || maxCount <= 0)
        return 0;
    int n = std::min<int>(maxCount - 1, int(w->cls->name.size()));
    std::copy_n(w->cls->name.begin(), n, buffer);
    buffer[n] = 0;
    return n;
}

HWND GetWindow(HWND hwnd, UINT cmd)
{
    Window* w = Live(hwnd);
    if (!w)
        return nullptr;
    if (cmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (cmd == GW_OWNER)
        return w->owner;
    const std::vector<HWND>* siblings = &Reg().topLevels;
    if (Window* p = FindWindow(w->parent))
        siblings = &p->children;
    if (siblings->empty())
        return nullptr;
    auto it = std::find(siblings->begin(), siblings->end(), hwnd);
    switch (cmd) {
    case GW_HWNDFIRST:
        return siblings->front();
    case GW_HWNDLAST:
        return siblings->back();
    case GW_HWNDNEXT:
        return (it == siblings->end() || it + 1 == siblings->end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
        return (it == siblings->begin() || it == siblings->end()) ? nullptr : *(it - 1);
    default:
        return nullptr;
    }
}

LONG GetWindowLongW(HWND hwnd, int index)
{
    Window* w = Live(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return LONG(w->style);
    case GWL_EXSTYLE:
        return LONG(w->exStyle);
    case GWL_ID:
        return LONG(w->id);
    default:
        return 0;
    }
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value)
{
    Window* w = Live(hwnd);
    if (!w)
        return 0;
    LONG old = GetWindowLongW(hwnd, index);
    switch (index) {
    case GWL_STYLE: {
        DWORD visible = w->style & WS_VISIBLE;
        w->style = (DWORD(value) & ~WS_VISIBLE) | visible;
        PlaceWidget(*w);
        for (HWND h : w->children)
            if (Window* c = FindWindow(h))
                PlaceWidget(*c);
        Invalidate(*w);
        break;
    }
    case GWL_EXSTYLE:
        w->exStyle = DWORD(value);
        break;
    case GWL_ID:
        w->id = UINT(value);
        break;
    default:
        break;
    }
    return old;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    QRect old = w->rect;
    w->rect = QRect(x, y, std::max(0, width), std::max(0, height));
    PlaceWidget(*w);
    bool resized = old.size() != w->rect.size();
    if (resized) {
        ResizeBacking(*w);
        for (HWND h : w->children)
            if (Window* c = FindWindow(h))
                PlaceWidget(*c);
    }
    if (resized || repaint)
        Invalidate(*w);
    if (resized)
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(WORD(ClientWidth(*w)), WORD(ClientHeight(*w))));
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
        QRect r = w->rect;
        if (!(flags & SWP_NOMOVE))
            r.moveTo(x, y);
        if (!(flags & SWP_NOSIZE))
            r.setSize(QSize(cx, cy));
        MoveWindow(hwnd, r.x(), r.y(), r.width(), r.height(), !(flags & SWP_NOREDRAW));
    }
    if ((w = FindWindow(hwnd)) == nullptr)
        return FALSE;
    if (!(flags & SWP_NOZORDER) && (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST)) {
        if (insertAfter == HWND_TOPMOST)
            w->exStyle |= WS_EX_TOPMOST;
        if (!w->parent)
            RaiseTopLevel(*w);
        else if (w->widget)
            w->widget->raise();
    }
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(hwnd, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int cmd)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    if (cmd == SW_HIDE) {
        w->style &= ~WS_VISIBLE;
        w->widget->hide();
        return wasVisible;
    }
    w->style |= WS_VISIBLE;
    bool activate = false;
    if (!w->parent) {
        ScreenWidget()->show();
        activate = cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && !(w->exStyle & WS_EX_TOPMOST);
        if (activate)
            RaiseTopLevel(*w);
        else
            RestackTopmost();
    }
    if (!wasVisible)
        Invalidate(*w);
    w->widget->show();
    // Activating a top-level window gives it the focus unless the focus is
    // already inside it; a topmost window (the input panel) never takes it.
    if (activate && !(w->style & WS_DISABLED)) {
        HWND focus = Reg().focus;
        while (focus && focus != hwnd)
            focus = FindWindow(focus) ? FindWindow(focus)->parent : nullptr;
        if (!focus)
            SetFocus(hwnd);
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd)
{
    for (Window* w = Live(hwnd); w; w = FindWindow(w->parent)) {
        if (!(w->style & WS_VISIBLE))
            return FALSE;
        if (!w->parent)
            return TRUE;
    }
    return FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (bool(enable) == !wasDisabled)
        return wasDisabled;
    if (enable)
        w->style &= ~WS_DISABLED;
    else
        w->style |= WS_DISABLED;
    SendMessageW(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    if (Window* again = FindWindow(hwnd))
        Invalidate(*again);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    Window* w = Live(hwnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
    Window* w = Live(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = RECT{0, 0, ClientWidth(*w), ClientHeight(*w)};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect)
{
    Window* w = Live(hwnd);
    if (!w || !rect)
        return FALSE;
    QPoint o = WindowOriginOnScreen(*w);
    *rect = RECT{o.x(), o.y(), o.x() + w->rect.width(), o.y() + w->rect.height()};
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt)
{
    Window* w = Live(hwnd);
    if (!w || !pt)
        return FALSE;
    QPoint o = ClientOriginOnScreen(*w);
    pt->x -= o.x();
    pt->y -= o.y();
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt)
{
    Window* w = Live(hwnd);
    if (!w || !pt)
        return FALSE;
    QPoint o = ClientOriginOnScreen(*w);
    pt->x += o.x();
    pt->y += o.y();
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count)
{
    QPoint a, b;
    if (Window* w = Live(from))
        a = ClientOriginOnScreen(*w);
    if (Window* w = Live(to))
        b = ClientOriginOnScreen(*w);
    QPoint d = a - b;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += d.x();
        points[i].y += d.y();
    }
    return MAKELONG(WORD(short(d.x())), WORD(short(d.y())));
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    if (!Live(hwnd))
        return FALSE;
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) ? TRUE : FALSE;
}

int GetWindowTextLengthW(HWND hwnd)
{
    return int(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount)
{
    if (!buffer || maxCount <= 0)
        return 0;
    buffer[0] = 0;
    return int(SendMessageW(hwnd, WM_GETTEXT, WPARAM(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

BOOL SetWindowText(HWND hwnd, const std::u16string& text)
{
    return SetWindowTextW(hwnd, text.c_str());
}

std::u16string GetWindowText(HWND hwnd)
{
    int n = GetWindowTextLengthW(hwnd);
    std::u16string text(std::size_t(n) + 1, u'\0');
    int got = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(std::size_t(std::max(0, got)));
    return text;
}

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL erase)
{
    if (!IsUiThread()) {
        if (!IsWindow(hwnd))
            return FALSE;
        PostToUiThread([hwnd, erase] { InvalidateRect(hwnd, nullptr, erase); });
        return TRUE;
    }
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    Invalidate(*w, erase);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT*)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    w->invalid = false;
    w->erase = false;
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    if (!IsUiThread()) {
        if (!IsWindow(hwnd))
            return FALSE;
        PostToUiThread([hwnd] { UpdateWindow(hwnd); });
        return TRUE;
    }
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    PaintWindow(*w);
    if ((w = FindWindow(hwnd)) != nullptr)
        Refresh(*w);
    return TRUE;
}

HWND SetFocus(HWND hwnd)
{
    auto& reg = Reg();
    if (!IsUiThread() || (hwnd && !FindWindow(hwnd)))
        return nullptr;
    // A window under a running modal dialog or message box (its top-level
    // window is disabled) cannot take the focus away from it.
    if (hwnd) {
        const Window* top = FindWindow(TopLevelOf(hwnd));
        if (top && (top->style & WS_DISABLED))
            return nullptr;
    }
    HWND old = reg.focus;
    if (old == hwnd)
        return old;
    ScrollIntoFormView(hwnd);
    reg.focus = hwnd;
    if (old && FindWindow(old))
        SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && reg.focus == hwnd && FindWindow(hwnd))
        SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus()
{
    return IsUiThread() ? Reg().focus : nullptr;
}

HWND SetCapture(HWND hwnd)
{
    if (!IsUiThread())
        return nullptr;
    return std::exchange(Reg().capture, FindWindow(hwnd) ? hwnd : nullptr);
}

BOOL ReleaseCapture()
{
    if (!IsUiThread())
        return FALSE;
    HWND old = std::exchange(Reg().capture, nullptr);
    if (old && FindWindow(old))
        SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    return IsUiThread() ? Reg().capture : nullptr;
}

HWND GetActiveWindow()
{
    if (!IsUiThread())
        return nullptr;
    const auto& tops = Reg().topLevels;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (Window* w = FindWindow(*it); w && (w->style & WS_VISIBLE) && !(w->exStyle & WS_EX_TOPMOST))
            return *it;
    return nullptr;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window* w = Live(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case WM_SETTEXT: {
        auto* text = reinterpret_cast<LPCWSTR>(lParam);
        w->text = text ? text : u"";
        Invalidate(*w);
        NameHostWindow(*w);
        return TRUE;
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(w->text.size());
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<LPWSTR>(lParam);
        if (!buffer || wParam == 0)
            return 0;
        std::size_t n = std::min<std::size_t>(wParam - 1, w->text.size());
        std::copy_n(w->text.begin(), n, buffer);
        buffer[n] = 0;
        return LRESULT(n);
    }
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        if (lParam)
            Invalidate(*w);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->font);
    case WM_ERASEBKGND: {
        HBRUSH brush = w->cls->background;
        if (!brush)
            return 0;
        if (IsSysColorBrushValue(brush))
            brush = GetSysColorBrush(int(reinterpret_cast<std::uintptr_t>(brush)) - 1);
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_MOUSEWHEEL:
        return w->parent ? SendMessageW(w->parent, msg, wParam, lParam) : 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (!dis)
            return FALSE;
        LRESULT result = 0;
        if (CWnd* control = CWnd::FromHandlePermanent(dis->hwndItem))
            return control->OnChildNotify(msg, wParam, lParam, &result);
        return FALSE;
    }
    default:
        return 0;
    }
}

} // namespace ce
