// The host side: the application object, the device screen window, the
// device font, the event loop, keyboard input, and the screen grab.
#include "platform/ui/Host.h"
#include "platform/core/System.h"
#include "platform/ui/WindowImpl.h"
#include "platform/ui/Wnd.h"
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleFactory>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace ce::impl {

void CreateInputPanel();

namespace {

// Qt's event queue hands a posted task to the user-interface thread through
// code that ThreadSanitizer does not see; these mark that hand-over.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
void MarkHandOver(void* event) { __tsan_release(event); }
void MarkTakeOver(void* event) { __tsan_acquire(event); }
#else
void MarkHandOver(void*) {}
void MarkTakeOver(void*) {}
#endif

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
constexpr int kDevicePixelSize = 12;

std::atomic<QThread*> g_uiThread{nullptr};
int g_scale = 1;
bool g_fullScreen = false;
QFont* g_deviceFont = nullptr;
std::function<void()> g_closeHandler;
std::vector<QEventLoop*> g_messageLoops;
int g_quitCode = 0;
std::array<bool, 256> g_keysDown{}; // by virtual key

void RecordKey(UINT vk, bool down)
{
    if (vk < g_keysDown.size())
        g_keysDown[vk] = down;
}

class TaskEvent : public QEvent {
public:
    static QEvent::Type Kind()
    {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }
    explicit TaskEvent(std::function<void()> task) : QEvent(Kind()), task_(std::move(task)) {}
    void Run()
    {
        auto task = std::move(task_);
        task_ = nullptr;
        if (task)
            task();
    }

private:
    std::function<void()> task_;
};

class Dispatcher : public QObject {
public:
    bool event(QEvent* e) override
    {
        MarkTakeOver(e);
        if (e->type() == TaskEvent::Kind()) {
            static_cast<TaskEvent*>(e)->Run();
            return true;
        }
        return QObject::event(e);
    }
};
Dispatcher* g_dispatcher = nullptr;

// Closing the host window asks the program to end; the window stays until it does.
void CloseHost(QCloseEvent* event)
{
    event->ignore();
    if (g_closeHandler)
        g_closeHandler();
    else
        PostQuitMessage(0);
}

class HostScreen : public QWidget {
public:
    HostScreen()
    {
        setFixedSize(kScreenWidth, kScreenHeight);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        setWindowTitle(QStringLiteral("Contactos"));
    }
    void setVisible(bool visible) override
    {
        QWidget::setVisible(visible);
        // Inside a backdrop, showing the device screen shows the backdrop.
        if (visible && parentWidget())
            parentWidget()->show();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
    }
    void closeEvent(QCloseEvent* event) override { CloseHost(event); }
};
HostScreen* g_screen = nullptr;

// Full screen on a display larger than the enlarged device screen: a black
// window over the whole display with the device screen in its middle.
class Backdrop : public QWidget {
public:
    explicit Backdrop(QWidget* screen)
    {
        setWindowTitle(screen->windowTitle());
        auto* layout = new QGridLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(screen, 0, 0, Qt::AlignCenter);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
    }
    void closeEvent(QCloseEvent* event) override { CloseHost(event); }
};

UINT VirtualKeyOf(const QKeyEvent& e)
{
    int key = e.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return UINT('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return UINT('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F11)
        return VK_F1 + UINT(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_F12:
        return VK_DEVICE_KEY;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Semicolon:
        return 0xBA;
    case Qt::Key_Equal:
        return 0xBB;
    case Qt::Key_Comma:
        return 0xBC;
    case Qt::Key_Minus:
        return 0xBD;
    case Qt::Key_Period:
        return 0xBE;
    case Qt::Key_Slash:
        return 0xBF;
    case Qt::Key_QuoteLeft:
        return 0xC0;
    case Qt::Key_BracketLeft:
        return 0xDB;
    case Qt::Key_Backslash:
        return 0xDC;
    case Qt::Key_BracketRight:
        return 0xDD;
    case Qt::Key_Apostrophe:
        return 0xDE;
    default:
        return 0xE5; // a key known only by its character
    }
}

WCHAR CharacterOf(const QKeyEvent& e, UINT vk)
{
    switch (vk) {
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    case VK_DEVICE_KEY:
    case VK_DELETE:
        return 0;
    default:
        break;
    }
    QString text = e.text();
    if (text.size() != 1)
        return 0;
    char16_t c = text.at(0).unicode();
    return (c >= 0x20 && c != 0x7F) ? c : 0;
}

bool InDeviceScreen(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && g_screen && (widget == g_screen || g_screen->isAncestorOf(widget));
}

// Every key typed on the device screen becomes WM_KEYDOWN/WM_CHAR/WM_KEYUP
// for the focused window, and so does what an input method commits.
class KeyFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        MarkTakeOver(event);
        if (event->type() == QEvent::InputMethod || event->type() == QEvent::InputMethodQuery)
            return InDeviceScreen(watched) && FilterInputMethod(watched, event);
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease &&
            event->type() != QEvent::ShortcutOverride)
            return false;
        if (!InDeviceScreen(watched))
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        UINT vk = VirtualKeyOf(*key);
        // Shift+Tab comes as its own key with the modifier held.
        if (vk == VK_SHIFT)
            RecordKey(VK_SHIFT, event->type() == QEvent::KeyPress);
        else
            RecordKey(VK_SHIFT, key->modifiers() & Qt::ShiftModifier);
        HWND target = KeyTarget();
        if (!target)
            return true;
        // F10 and keys pressed with Alt are the menus' and type nothing.
        const bool menuKey = vk == VK_F10 || vk == VK_MENU || (key->modifiers() & Qt::AltModifier);
        if (menuKey) {
            MSG msg;
            msg.hwnd = target;
            msg.message = event->type() == QEvent::KeyRelease ? WM_SYSKEYUP : WM_SYSKEYDOWN;
            msg.wParam = vk;
            msg.lParam = event->type() == QEvent::KeyRelease ? LPARAM(0xE0000001) : LPARAM(0x20000001);
            DeliverInput(msg);
            return true;
        }
        if (event->type() == QEvent::KeyRelease) {
            MSG up;
            up.hwnd = target;
            up.message = WM_KEYUP;
            up.wParam = vk;
            up.lParam = LPARAM(0xC0000001);
            DeliverInput(up);
            return true;
        }
        if (RememberDeadKey(key->key()))
            return true;
        const std::u16string typed = ApplyDeadKey(CharacterOf(*key, vk));
        SimulateKeyStroke(vk, typed.empty() ? 0 : typed.front());
        if (typed.size() > 1)
            TypeCharacter(typed.back());
        return true;
    }
};

void LoadDeviceFonts()
{
    static const char* const files[] = {
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
        "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    };
    for (const char* file : files)
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    g_deviceFont = new QFont(QStringLiteral("DejaVu Sans"));
    g_deviceFont->setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
    g_deviceFont->setPixelSize(kDevicePixelSize);
    // The font's full hinting puts every glyph on whole pixels: its advance
    // is a whole number, so a string drawn whole, a prefix measured on its
    // own and each glyph alone fall on the same pixels. Unhinted, each glyph
    // landed on a fractional position that the rasteriser rounded one by
    // one (uneven gaps, touching neighbours) with stems straddling pixel
    // centres (a "1" two pixels wide). Grey edges: hinted for black and
    // white only, the glyphs grow wider than the widths the layouts are made
    // for, and a label such as "Cumpleanios:" no longer fits its column.
    // Grey only, whatever colour smoothing the desktop asks for.
    g_deviceFont->setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    g_deviceFont->setHintingPreference(QFont::PreferFullHinting);
}

void ApplyLook(QApplication& app)
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(style);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Button, QColor(192, 192, 192));
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    app.setPalette(palette);
    app.setFont(*g_deviceFont);
    app.setCursorFlashTime(0);
    app.setWheelScrollLines(kWheelLines);
}

bool HasDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && (std::strcmp(platform, "offscreen") == 0 || std::strcmp(platform, "minimal") == 0))
        return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

// The largest whole factor at which the device screen fits the desktop, or
// the whole display in full screen, learnt from a short-lived application
// before the real one exists. A display of exactly the device screen's size
// is always used in full screen.
int FitScale(bool& fullScreen)
{
    int argc = 1;
    char name[] = "contacts";
    char* argv[] = {name, nullptr};
    int scale = 1;
    QGuiApplication probe(argc, argv);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect whole = screen->geometry();
        fullScreen = fullScreen || (whole.width() == kScreenWidth && whole.height() == kScreenHeight);
        // A window leaves room for its frame and title.
        const QRect area = fullScreen ? whole : screen->availableGeometry().adjusted(0, 0, 0, -40);
        scale = std::max(1, std::min(area.width() / kScreenWidth, area.height() / kScreenHeight));
    }
    return scale;
}

// Takes the window system's own options out of argv: --scale N (else
// $CONTACTS_SCALE; 0 when neither) and --fullscreen.
int TakeHostArguments(int& argc, char** argv, bool& fullScreen)
{
    int scale = 0;
    for (int i = 1; argv && i < argc; ++i) {
        const char* arg = argv[i];
        int consumed = 0;
        if (std::strcmp(arg, "--scale") == 0 && i + 1 < argc) {
            scale = std::atoi(argv[i + 1]);
            consumed = 2;
        } else if (std::strncmp(arg, "--scale=", 8) == 0) {
            scale = std::atoi(arg + 8);
            consumed = 1;
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            fullScreen = true;
            consumed = 1;
        }
        if (consumed) {
            for (int j = i; j + consumed <= argc; ++j)
                argv[j] = argv[j + consumed];
            argc -= consumed;
            --i;
        }
    }
    if (scale <= 0)
        if (const char* env = std::getenv("CONTACTS_SCALE"))
            scale = std::atoi(env);
    return scale;
}

// Qt warns when XDG_RUNTIME_DIR is unset and then picks a folder of its
// own; it gets the folder that also holds the instance marker instead.
void ChooseRuntimeFolder()
{
    const std::string folder = RuntimeFolder();
    if (!folder.empty())
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

void Start(int& argc, char** argv)
{
    if (g_uiThread.load())
        return;
    if (!QCoreApplication::instance()) {
        ChooseRuntimeFolder();
        bool fullScreen = false;
        int scale = TakeHostArguments(argc, argv, fullScreen);
        if (scale <= 0)
            scale = HasDisplay() ? FitScale(fullScreen) : 1;
        g_fullScreen = fullScreen;
        g_scale = std::min(scale, 16);
        if (g_scale != 1)
            qputenv("QT_SCALE_FACTOR", QByteArray::number(g_scale));
        new QApplication(argc, argv);
    }
    g_uiThread = QCoreApplication::instance()->thread();
    g_dispatcher = new Dispatcher;
    LoadDeviceFonts();
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        ApplyLook(*app);
    QCoreApplication::instance()->installEventFilter(new KeyFilter);
    g_screen = new HostScreen;
    if (g_fullScreen) {
        QWidget* window = g_screen;
        const QScreen* display = QGuiApplication::primaryScreen();
        if (display && display->geometry().size() != g_screen->size()) {
            window = new Backdrop(g_screen);
            // Also where no window manager acts on the full-screen state.
            window->setGeometry(display->geometry());
        }
        window->setWindowState(Qt::WindowFullScreen);
    }
    RegisterDialogClass();
    RegisterStaticClass();
    RegisterEditClass();
    RegisterDateTimeClass();
    RegisterInputPanelClass();
    CreateInputPanel();
}

} // namespace

void EnsureApplication()
{
    if (g_uiThread.load())
        return;
    static int argc = 1;
    static char name[] = "contacts";
    static char* argv[] = {name, nullptr};
    Start(argc, argv);
}

void PostToUiThread(std::function<void()> task, bool urgent)
{
    if (!g_dispatcher)
        return;
    auto* event = new TaskEvent(std::move(task));
    MarkHandOver(event);
    QCoreApplication::postEvent(g_dispatcher, event, urgent ? Qt::HighEventPriority : Qt::NormalEventPriority);
}

QWidget* ScreenWidget()
{
    EnsureApplication();
    return g_screen;
}

QFont DeviceFont()
{
    EnsureApplication();
    return *g_deviceFont;
}

} // namespace ce::impl

namespace ce {

using namespace impl;

void InitPlatform(int& argc, char** argv)
{
    Start(argc, argv);
}

void InitPlatform()
{
    EnsureApplication();
}

bool IsUiThread()
{
    QThread* ui = g_uiThread.load();
    return ui && QThread::currentThread() == ui;
}

int GetScreenScale()
{
    return g_scale;
}

int RunMessageLoop()
{
    EnsureApplication();
    QEventLoop loop;
    g_messageLoops.push_back(&loop);
    loop.exec();
    g_messageLoops.pop_back();
    return g_quitCode;
}

void PostQuitMessage(int exitCode)
{
    PostToUiThread([exitCode] {
        g_quitCode = exitCode;
        if (!g_messageLoops.empty())
            g_messageLoops.back()->exit(exitCode);
    });
}

void PumpMessages(int forMs)
{
    EnsureApplication();
    if (!IsUiThread())
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (forMs > 0) {
        QEventLoop loop;
        QTimer::singleShot(forMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

bool WaitWhilePumping(const std::function<bool()>& done, int timeoutMs)
{
    EnsureApplication();
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (timeoutMs >= 0 && clock.elapsed() >= timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void PostTask(std::function<void()> task)
{
    EnsureApplication();
    PostToUiThread(std::move(task));
}

void SetHostCloseHandler(std::function<void()> handler)
{
    g_closeHandler = std::move(handler);
}

std::int16_t GetKeyState(int virtualKey)
{
    return virtualKey >= 0 && std::size_t(virtualKey) < g_keysDown.size() && g_keysDown[std::size_t(virtualKey)]
               ? std::int16_t(-0x8000)
               : std::int16_t(0);
}

void SimulateKey(HWND hwnd, UINT message, WPARAM wParam)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP)
        RecordKey(UINT(wParam), message == WM_KEYDOWN);
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = message == WM_KEYUP ? LPARAM(0xC0000001) : 1;
    DeliverInput(msg);
}

void SimulateKeyStroke(UINT vk, WCHAR ch)
{
    HWND target = KeyTarget();
    if (!target)
        return;
    MSG down;
    down.hwnd = target;
    down.message = WM_KEYDOWN;
    down.wParam = vk;
    down.lParam = 1;
    if (!DeliverInput(down) || !ch)
        return;
    // As classic, the character goes to the window of the key down.
    MSG character;
    character.hwnd = target;
    character.message = WM_CHAR;
    character.wParam = ch;
    character.lParam = 1;
    DeliverInput(character);
}

void SimulateMouse(HWND hwnd, UINT message, int x, int y)
{
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = (message == WM_LBUTTONUP) ? 0 : MK_LBUTTON;
    msg.lParam = MAKELPARAM(WORD(short(x)), WORD(short(y)));
    msg.pt = POINT{x, y};
    DeliverInput(msg);
}

void SimulateTap(int x, int y)
{
    EnsureApplication();
    QPoint pos(x, y);
    QWidget* target = g_screen->childAt(pos);
    if (!target)
        target = g_screen;
    QPointer<QWidget> guard(target);
    QPointF local = target->mapFrom(g_screen, QPointF(pos));
    QPointF global = g_screen->mapToGlobal(QPointF(pos));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    if (!guard)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void SimulateWheel(int x, int y, int delta)
{
    EnsureApplication();
    QPoint pos(x, y);
    QWidget* target = g_screen->childAt(pos);
    if (!target)
        target = g_screen;
    QWheelEvent wheel(target->mapFrom(g_screen, QPointF(pos)), g_screen->mapToGlobal(QPointF(pos)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &wheel);
}

static ScreenImage FromQImage(const QImage& image)
{
    ScreenImage out;
    out.width = image.width();
    out.height = image.height();
    out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
    for (int y = 0; y < out.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < out.width; ++x)
            out.pixels[std::size_t(y) * std::size_t(out.width) + std::size_t(x)] =
                RGB(BYTE(qRed(line[x])), BYTE(qGreen(line[x])), BYTE(qBlue(line[x])));
    }
    return out;
}

static QImage GrabImage()
{
    EnsureApplication();
    QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    g_screen->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

ScreenImage GrabScreen()
{
    return FromQImage(GrabImage());
}

ScreenImage GrabWindow(HWND hwnd)
{
    RECT rc;
    if (!GetWindowRect(hwnd, &rc))
        return ScreenImage();
    return FromQImage(GrabImage().copy(QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top)));
}

bool ScreenImage::SavePng(const std::string& path) const
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = Pixel(x, y);
            image.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    return image.save(QString::fromStdString(path), "PNG");
}

} // namespace ce
