// Start-up of the window system: the application, the device screen
// window at its scale, the device font and the look, and the hand-over of
// tasks to the user-interface thread.
#include "platform/ui/host/HostShared.h"
#include "platform/ui/Host.h"
#include "platform/core/System.h"
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyleFactory>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace ce::impl {

void CreateInputPanel();

QWidget* g_screen = nullptr;

namespace {

constexpr int DevicePixelSize = 12;

std::atomic<QThread*> g_uiThread{nullptr};
int g_scale = 1;
bool g_fullScreen = false;
QFont* g_deviceFont = nullptr;
std::function<void()> g_closeHandler;

class TaskEvent : public QEvent {
public:
    static QEvent::Type Kind()
    {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }
    explicit TaskEvent(std::function<void()> task) : QEvent(Kind()), pending(std::move(task)) {}
    void Run()
    {
        auto task = std::move(pending);
        pending = nullptr;
        if (task)
            task();
    }

private:
    std::function<void()> pending;
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
        setFixedSize(ScreenWidth, ScreenHeight);
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
    g_deviceFont->setPixelSize(DevicePixelSize);
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
    app.setWheelScrollLines(WheelLines);
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
        fullScreen = fullScreen || (whole.width() == ScreenWidth && whole.height() == ScreenHeight);
        // A window leaves room for its frame and title.
        const QRect area = fullScreen ? whole : screen->availableGeometry().adjusted(0, 0, 0, -40);
        scale = std::max(1, std::min(area.width() / ScreenWidth, area.height() / ScreenHeight));
    }
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

void Start(const HostOptions& options)
{
    if (g_uiThread.load())
        return;
    if (!QCoreApplication::instance()) {
        ChooseRuntimeFolder();
        bool fullScreen = options.fullScreen;
        int scale = options.scale;
        if (scale <= 0)
            scale = HasDisplay() ? FitScale(fullScreen) : 1;
        g_fullScreen = fullScreen;
        g_scale = std::min(scale, 16);
        if (g_scale != 1)
            qputenv("QT_SCALE_FACTOR", QByteArray::number(g_scale));
        static int argc = 1;
        static char name[] = "contacts";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    g_uiThread = QCoreApplication::instance()->thread();
    g_dispatcher = new Dispatcher;
    LoadDeviceFonts();
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        ApplyLook(*app);
    InstallKeyFilter();
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
    if (!g_uiThread.load())
        Start(HostOptions());
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

void InitPlatform(const HostOptions& options)
{
    Start(options);
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

void SetHostCloseHandler(std::function<void()> handler)
{
    g_closeHandler = std::move(handler);
}

} // namespace ce
