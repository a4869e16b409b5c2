// Window classes by name, temporary wrappers, the caption drawn by the
// platform, input to disabled windows, and the screen grab.
#include "tests/platform/ui/support/UiTest.h"
#include <cstdio>
#include <fstream>

using namespace ce;
using uitest::CRecordingWnd;
using uitest::UiTest;

namespace {

class WindowsTest : public UiTest {};

std::vector<UINT> g_procMessages;

LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    g_procMessages.push_back(msg);
    if (msg == uitest::WM_TEST)
        return 7;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

TEST_F(WindowsTest, ClassesRegisteredByNameGetTheirMessages)
{
    WNDCLASSW wc;
    wc.lpfnWndProc = &RecordingProc;
    wc.lpszClassName = u"TestProcClass";
    ASSERT_TRUE(RegisterClassW(&wc));
    g_procMessages.clear();
    HWND hwnd = CreateWindowExW(0, u"testprocclass", u"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    ASSERT_GE(g_procMessages.size(), 2u);
    EXPECT_EQ(g_procMessages[0], WM_CREATE);
    EXPECT_EQ(g_procMessages[1], WM_SIZE);
    EXPECT_EQ(SendMessageW(hwnd, uitest::WM_TEST, 0, 0), 7);
    EXPECT_EQ(FindWindowW(u"TestProcClass", nullptr), hwnd);
    EXPECT_EQ(FindWindowW(u"TestProcClass", u"y"), nullptr);

    // A window without a framework object gets a temporary wrapper that
    // stays the same while the window lives.
    CWnd* wrapper = CWnd::FromHandle(hwnd);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(wrapper->m_hWnd, hwnd);
    EXPECT_EQ(CWnd::FromHandle(hwnd), wrapper);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    DestroyWindow(hwnd);
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
    EXPECT_EQ(g_procMessages.back(), WM_NCDESTROY);

    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    // The generated framework class names are stable per argument set.
    EXPECT_EQ(std::u16string(AfxRegisterWndClass(CS_DBLCLKS)), std::u16string(AfxRegisterWndClass(CS_DBLCLKS)));
    EXPECT_NE(std::u16string(AfxRegisterWndClass(0)), std::u16string(AfxRegisterWndClass(CS_DBLCLKS)));
}

TEST_F(WindowsTest, CaptionShowsTheTextOnTheCaptionColour)
{
    CRecordingWnd dialog;
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, u"Contactos", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                                RECT{0, 0, 320, 240}, nullptr, 0));
    ScreenImage shot = GrabScreen();
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    EXPECT_EQ(shot.Pixel(0, 0), RGB(0, 0, 0)); // the border
    EXPECT_EQ(shot.Pixel(200, 2), GetSysColor(COLOR_ACTIVECAPTION));
    int text = 0;
    for (int y = 1; y <= caption; ++y)
        for (int x = 1; x < 120; ++x)
            if (shot.Pixel(x, y) == GetSysColor(COLOR_CAPTIONTEXT))
                ++text;
    EXPECT_GT(text, 20);
    // Renaming redraws it.
    dialog.SetWindowText(u"");
    shot = GrabScreen();
    for (int y = 1; y <= caption; ++y)
        for (int x = 1; x < 120; ++x)
            ASSERT_EQ(shot.Pixel(x, y), GetSysColor(COLOR_ACTIVECAPTION)) << x << "," << y;
}

TEST_F(WindowsTest, DisabledWindowsAndTheirChildrenGetNoInput)
{
    CRecordingWnd top;
    ASSERT_TRUE(top.Make(nullptr, RECT{0, 0, 320, 240}));
    CRecordingWnd child;
    ASSERT_TRUE(child.Make(&top, RECT{10, 10, 110, 60}, 1));
    SimulateTap(20, 20);
    EXPECT_EQ(child.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(child.Count(WM_LBUTTONUP), 1);
    top.EnableWindow(FALSE);
    SimulateTap(20, 20);
    EXPECT_EQ(child.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(top.Count(WM_LBUTTONDOWN), 0);
    top.EnableWindow(TRUE);
    EXPECT_TRUE(top.IsWindowEnabled());
}

TEST_F(WindowsTest, GrabsAreDeviceSizedAndSaveAsPng)
{
    CRecordingWnd top;
    ASSERT_TRUE(top.Make(nullptr, RECT{40, 30, 140, 80}));
    {
        CClientDC dc(&top);
        RECT all{0, 0, 100, 50};
        dc.FillSolidRect(&all, RGB(10, 200, 30));
    }
    ScreenImage window = GrabWindow(top.m_hWnd);
    EXPECT_EQ(window.width, 100);
    EXPECT_EQ(window.height, 50);
    EXPECT_EQ(window.Pixel(0, 0), RGB(10, 200, 30));
    EXPECT_EQ(GrabScreen().Pixel(40, 30), RGB(10, 200, 30));

    std::string path = ::testing::TempDir() + "grab.png";
    ASSERT_TRUE(window.SavePng(path));
    std::ifstream file(path, std::ios::binary);
    char signature[4] = {};
    file.read(signature, 4);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    std::remove(path.c_str());
    EXPECT_FALSE(WaitWhilePumping([] { return false; }, 20));
}
