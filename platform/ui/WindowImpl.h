// Internal header of the window system (Qt inside): only platform/ui/*.cpp
// include it, never program code.
//
// How to extend the window system
// ===============================
// A control class ("SysListView32", "BUTTON", "ToolbarWindow32", ...) is a
// registered window class with a class procedure and, optionally, per-window
// state. Every window, whatever its class, gets a generic QWidget from the
// platform (WindowWidget) placed in device coordinates, with a backing image
// that every HDC of the window draws into; the platform turns Qt's mouse
// events on it into WM_LBUTTONDOWN/UP/DBLCLK/MOUSEMOVE (client coordinates,
// through pre-translation), sends WM_PAINT when the window was invalidated,
// and turns all key presses into WM_KEYDOWN/WM_CHAR for the focused window.
//
// 1. Register the class before the first window of it is created, e.g. from
//    your framework class's Create (RegisterWindowClass ignores repeats). A
//    static registrar (impl::ClassRegistrar) alone is not enough in a static
//    library: the linker drops its .cpp unless something else there is used.
//
//        static LRESULT ListViewProc(HWND, UINT, WPARAM, LPARAM);
//        struct ListViewState : impl::ControlState { int count = 0; QScrollBar* bar = nullptr; };
//        void RegisterListViewClass()
//        {
//            impl::RegisterWindowClass({u"SysListView32", CS_DBLCLKS, nullptr, &ListViewProc,
//                [](impl::Window& w) { auto s = std::make_unique<ListViewState>(); /* inner widgets */ return s; }});
//        }
//
//    The state factory runs after the window and its widget exist and before
//    WM_CREATE. Inner Qt widgets (a scroll bar, a line edit) are children of
//    w.widget placed inside impl::ClientRectInWidget(w) (place them again on
//    WM_SIZE); give them Qt::NoFocus, and WA_TransparentForMouseEvents when
//    the control handles the mouse itself. Qt deletes them with the window's
//    widget; the state must not.
// 2. The class procedure handles the control's own messages (LVM_*, BM_*,
//    WM_PAINT, WM_LBUTTONDOWN, ...) and passes every other message to
//    DefWindowProcW. Get the state with impl::State<ListViewState>(hwnd).
//    A framework class (CListCtrl) attached to such a window gets the messages
//    first; its CWnd::DefWindowProc ends in this class procedure.
// 3. Paint in WM_PAINT through BeginPaint/EndPaint (or a CPaintDC) with the
//    GDI functions; BeginPaint sends WM_ERASEBKGND. Drawing with GetDC
//    outside WM_PAINT shows at once as well. impl::PainterOf(hdc) gives the
//    QPainter of a context for what GDI lacks (images: impl::BitmapResource).
// 4. Notify the parent with WM_COMMAND (impl::CommandToParent(hwnd, code))
//    or WM_NOTIFY with an NMHDR (impl::NotifyParent);
//    owner drawing sends WM_DRAWITEM to the parent, whose default handling
//    reflects it to the control's CWnd::DrawItem.
// 5. Qt signals of inner widgets may arrive after the window is gone: look
//    the window up again with impl::FindWindow(hwnd) and do nothing when it
//    is null.
// Everything here runs on the user-interface thread.
#pragma once
#include "platform/ui/Gdi.h"
#include "platform/ui/WinDef.h"
#include "platform/ui/WinUser.h"
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ce {
class CWnd;
}

namespace ce::impl {

struct Window;

// Per-window data of a control class.
struct ControlState {
    virtual ~ControlState() = default;
};

struct WindowClass {
    std::u16string name;
    UINT style = 0;              // CS_DBLCLKS, ...
    HBRUSH background = nullptr; // erased by DefWindowProcW on WM_ERASEBKGND
    WNDPROC proc = nullptr;      // null: DefWindowProcW
    std::function<std::unique_ptr<ControlState>(Window&)> createState;
};

void RegisterWindowClass(WindowClass cls);
const WindowClass* FindWindowClass(const std::u16string& name);

struct ClassRegistrar {
    explicit ClassRegistrar(WindowClass cls) { RegisterWindowClass(std::move(cls)); }
};

// The platform's own classes ("#32770", "STATIC", "EDIT",
// "SysDateTimePick32", "SipWndClass"), registered at start-up.
void RegisterDialogClass();
void RegisterStaticClass();
void RegisterEditClass();
void RegisterDateTimeClass();
void RegisterInputPanelClass();

class WindowWidget;

struct Window {
    HWND hwnd = nullptr;
    const WindowClass* cls = nullptr;
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT id = 0;
    HWND parent = nullptr; // null for a top-level window
    HWND owner = nullptr;  // a top-level window's owner
    std::vector<HWND> children; // in creation order (tab order)
    QRect rect;                 // in the parent's client coordinates, or the device screen's
    HFONT font = nullptr;       // null: the device font
    CWnd* wnd = nullptr;        // the attached framework object
    std::unique_ptr<CWnd> temporary; // CWnd::FromHandle's wrapper when none is attached
    WindowWidget* widget = nullptr;
    QImage backing;             // window-sized; every HDC of the window draws here
    bool invalid = true;        // needs WM_PAINT
    bool erase = true;          // BeginPaint sends WM_ERASEBKGND
    bool destroying = false;
    bool fromTemplate = false;  // a dialog or form view made from a template
    QPoint scroll;              // a form view's scroll position
    std::unique_ptr<ControlState> state;
};

// The live window, or null.
Window* FindWindow(HWND hwnd);
template <class T>
T* State(HWND hwnd)
{
    Window* w = FindWindow(hwnd);
    return w ? dynamic_cast<T*>(w->state.get()) : nullptr;
}

// Non-client frame: caption height and border width by style.
int CaptionHeight(const Window& w);
int BorderWidth(const Window& w);
// The client area inside the window's widget.
QRect ClientRectInWidget(const Window& w);
// Top left of the window's client area on the device screen.
QPoint ClientOriginOnScreen(const Window& w);

// Whether keys and clicks may reach the window: neither it nor a parent is
// disabled (a modal dialog or message box disables its owner).
bool InputAllowed(HWND hwnd);
// The top-level window of a window (itself when it has no parent).
HWND TopLevelOf(HWND hwnd);

// Marks the window for WM_PAINT and schedules it.
void Invalidate(Window& w, bool erase = true);
// Repaints the widget from the backing image (after drawing into it).
void Refresh(Window& w);

// Fonts: the device font, or what CreateFontIndirectW made.
QFont DeviceFont();
QFont FontOf(HFONT font);
QFont WindowFont(const Window& w);

QColor ToQColor(COLORREF c);
COLORREF ToColorRef(const QColor& c);

// Text as the screen shows it: a byte kept undecodable from a file shows as
// the replacement character.
QString DisplayText(std::u16string_view text);

// A painter on the context's window, set up as the context draws: origin at
// the client area, clipped to it, with the selected font, pen and brush.
// Null for a context without a window. Release it before other GDI calls on
// the same window; the window shows the result afterwards.
std::unique_ptr<QPainter> PainterOf(HDC hdc);
// The bitmap resource `id` of the current resource module; null image when missing.
QImage BitmapResource(UINT id);
// What a brush handle paints with; an invalid QColor for the null brush.
QColor BrushColor(HBRUSH brush);
// The context's selected font and colours.
QFont FontOfDC(HDC hdc);
COLORREF TextColorOfDC(HDC hdc);

// Sends WM_NOTIFY to the window's parent with hdr's hwndFrom, idFrom filled in.
LRESULT NotifyParent(HWND hwnd, NMHDR& hdr);
// Sends WM_COMMAND (id, code) to the window's parent.
void CommandToParent(HWND hwnd, UINT code);

// Input: pre-translation up the parent chain, then dispatch unless
// swallowed. False when swallowed or the window is gone.
bool DeliverInput(MSG& msg);
// Where typed keys go: the window that grabbed the input, else the focused
// window, else the active top-level one.
HWND KeyTarget();
// An open menu or drop-down calendar takes every key and every click (in its
// own client coordinates, wherever on the screen) until it releases them;
// the focus stays where it was. One window at a time.
void GrabInput(HWND popup);
void ReleaseInput(HWND popup);
// The window that grabbed the input, or null.
HWND InputOwner();
// A tap on an inner Qt widget of a control (a scroll bar) goes to the window
// that grabbed the input as well; true when it went there.
bool TapToInputOwner(QObject* watched, QEvent* event);
// The window follows the pointer without a button held too: WM_MOUSEMOVE
// while over it, WM_MOUSELEAVE when it leaves.
void FollowPointer(HWND hwnd);
// The top-level host widget that shows the device screen.
QWidget* ScreenWidget();
// The host window shows icon `id` of the current resource module.
void ShowProgramIcon(UINT id);
// One WM_CHAR for the focused window, through pre-translation.
void TypeCharacter(char16_t unit);
// A key message for a window as the keyboard sends it (WM_KEYDOWN and
// WM_KEYUP also record the key's state), through pre-translation.
void DeliverKey(HWND hwnd, UINT message, WPARAM wParam);

// Input methods: an input method's events to any widget of the device screen
// (commit, composition, queries); true when handled.
bool FilterInputMethod(QObject* watched, QEvent* event);
// Dead keys without an input method: RememberDeadKey takes a Qt::Key_Dead_*
// key (true) and holds its accent for the next character; ApplyDeadKey gives
// what that character types then (nothing for 0, which keeps the accent).
bool RememberDeadKey(int key);
std::u16string ApplyDeadKey(char16_t ch);
// The Qt::Key_Dead_* key that puts a combining accent (0: none).
int DeadKeyOf(char16_t combining);
// What the device screen shows, 320 x 240, after painting what needs it.
QImage GrabScreenImage();
// The edit control's side: whether the window takes composed text (an
// enabled, writable edit control), the composition shown at its caret (not
// part of its text; empty ends it), and the caret on the device screen
// (an invalid rectangle for other windows).
bool AcceptsComposition(HWND hwnd);
void SetComposition(HWND hwnd, const QString& text, int cursor);
QRect CaretRectOnScreen(HWND hwnd);

// Below: the window system's own plumbing between its source files.

// Creates the application, fonts, host screen and input panel once.
void EnsureApplication();
// The object in the user-interface thread that runs posted tasks.
void PostToUiThread(std::function<void()> task, bool urgent = false);
// The one nested message loop of modal windows (dialogs, message boxes):
// Run processes every event of the user-interface thread until End, and
// returns at once when End came first.
class ModalLoop {
public:
    void Run();
    void End();

private:
    void* running = nullptr; // the event loop while Run runs
    bool ended = false;
};
// Runs what other threads' SendMessageW handed to the user-interface thread.
void ServeSentMessages();
// The answer MessageBoxW gives instead of showing a box, when a test set one
// (testing/MessageBoxAnswer.h).
std::function<int(HWND owner, const std::u16string& text, const std::u16string& caption, UINT type)>&
MessageBoxAnswer();
// Attaches `wnd` to the next window created on this thread, before WM_CREATE.
void AttachOnCreate(CWnd* wnd);
// Runs `hook` for the next window created on this thread after its widget
// and state exist, before WM_CREATE (a template's controls).
void BeforeCreate(std::function<void(HWND)> hook);
// Sends WM_PAINT (and through BeginPaint WM_ERASEBKGND) when invalid.
void PaintWindow(Window& w);
// Draws caption and border into the backing image.
void PaintNonClient(Window& w);
// The framework side of message dispatch and of WM_NCDESTROY.
LRESULT CallFrameworkProc(CWnd* wnd, UINT msg, WPARAM wParam, LPARAM lParam);
void DetachAfterNcDestroy(Window& w);
void KillWindowTimers(HWND hwnd);
// Moves the window's children by (dx, dy) without WM_SIZE.
void ScrollChildren(Window& w, int dx, int dy);
// A form view's scrolling (CFormView::ScrollToPosition).
void ScrollFormTo(Window& w, QPoint position);
// How much of a form view its parent shows, and how far it can scroll.
struct FormScroll {
    int visible = 0;
    int maxY = 0;
};
FormScroll FormScrollRange(const Window& w);
// The form view that holds the window, or null.
Window* FormOf(HWND hwnd);
// Before a control of a form view takes the focus: the form scrolls it into
// sight, 10 pixels below the top of the part shown, when it is not.
void ScrollIntoFormView(HWND control);
// Rows of a list, or lines of a form, that one notch of the wheel scrolls.
constexpr int WheelLines = 3;
// DrawTextW's layout with the painter's font and pen; background behind the
// text when given (OPAQUE). Returns the text's height; DT_CALCRECT only
// measures into rect.
int DrawTextIn(QPainter& p, const std::u16string& text, QRect& rect, UINT format, const QColor* background);

// A window's widget: paints the backing image, turns mouse events into
// messages.
class WindowWidget : public QWidget {
public:
    WindowWidget(HWND hwnd, QWidget* parent);
    HWND hwnd() const { return ownHwnd; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Mouse(QMouseEvent* event, UINT message);
    HWND ownHwnd;
    bool closePressed = false;
};

} // namespace ce::impl
