// Drawing: text metrics of the device font, rectangles with and without
// outline, text placement, and drawing outside WM_PAINT.
#include "tests/platform/ui/support/UiTest.h"

using namespace ce;
using uitest::CRecordingWnd;
using uitest::UiTest;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class GdiTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(canvas.Make(nullptr, RECT{0, 0, 120, 80}));
        canvas.UpdateWindow();
        CClientDC dc(&canvas);
        RECT all{0, 0, 120, 80};
        dc.FillSolidRect(&all, kBlue);
    }

    SIZE Extent(HDC hdc, const std::u16string& text)
    {
        SIZE size;
        EXPECT_TRUE(GetTextExtentExPointW(hdc, text.c_str(), int(text.size()), -1, nullptr, nullptr, &size));
        return size;
    }

    CRecordingWnd canvas;
};

} // namespace

TEST_F(GdiTest, DeviceFontMetricsAreFixed)
{
    HDC screen = GetDC(nullptr);
    HDC client = GetDC(canvas.m_hWnd);
    // The device font is one family at one pixel size on every machine:
    // these values change only when the font does.
    SIZE latin = Extent(screen, u"Nombre:");
    EXPECT_EQ(latin.cx, 52);
    EXPECT_EQ(latin.cy, 14);
    // Chinese names come from the fallback family, as wide as the em.
    SIZE chinese = Extent(screen, u"张伟");
    EXPECT_EQ(chinese.cx, 24);
    EXPECT_EQ(Extent(client, u"Nombre:").cx, latin.cx);

    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(client, &tm));
    EXPECT_EQ(tm.tmHeight, latin.cy);
    SIZE base = GetDialogBaseUnits();
    EXPECT_EQ(base.cx, tm.tmAveCharWidth);
    EXPECT_EQ(base.cy, tm.tmHeight);

    // Per-character extents and the fit count agree with the whole.
    std::u16string text = u"Telefono oficina:";
    std::vector<int> dx(text.size());
    int fit = -1;
    SIZE whole;
    ASSERT_TRUE(GetTextExtentExPointW(client, text.c_str(), int(text.size()), 60, &fit, dx.data(), &whole));
    EXPECT_EQ(dx.back(), whole.cx);
    ASSERT_GT(fit, 0);
    ASSERT_LT(fit, int(text.size()));
    EXPECT_LE(dx[std::size_t(fit - 1)], 60);
    EXPECT_GT(dx[std::size_t(fit)], 60);
    ReleaseDC(canvas.m_hWnd, client);
    ReleaseDC(nullptr, screen);
}

TEST_F(GdiTest, SelectedFontChangesMeasuringUntilThePreviousIsBack)
{
    CClientDC dc(&canvas);
    SIZE normal = Extent(dc, u"Maria Lopez");
    LOGFONTW lf;
    lf.lfHeight = 16;
    lf.lfWeight = FW_BOLD;
    CFont bold;
    ASSERT_TRUE(bold.CreateFontIndirect(&lf));
    CFont* previous = dc.SelectObject(&bold);
    ASSERT_NE(previous, nullptr);
    SIZE big = Extent(dc, u"Maria Lopez");
    EXPECT_GT(big.cx, normal.cx);
    EXPECT_GE(big.cy, 15);
    EXPECT_LE(big.cy, 17);
    // A font still selected is not deleted.
    EXPECT_FALSE(DeleteObject(bold.m_hObject));
    dc.SelectObject(previous);
    EXPECT_EQ(Extent(dc, u"Maria Lopez").cx, normal.cx);
}

TEST_F(GdiTest, RectangleFillsWithTheBrushAndOutlinesOnlyWithAPen)
{
    {
        CClientDC dc(&canvas);
        CBrush red(kRed);
        HGDIOBJ oldBrush = dc.SelectObject(red);
        dc.SelectStockObject(NULL_PEN);
        dc.Rectangle(10, 10, 30, 20);
        dc.SelectStockObject(BLACK_PEN);
        dc.Rectangle(50, 10, 70, 20);
        dc.SelectObject(oldBrush);
    }
    ScreenImage shot = GrabScreen();
    ASSERT_EQ(shot.width, 320);
    ASSERT_EQ(shot.height, 240);
    // Null pen: the whole rectangle is filled, right and bottom exclusive.
    EXPECT_EQ(shot.Pixel(10, 10), kRed);
    EXPECT_EQ(shot.Pixel(29, 19), kRed);
    EXPECT_EQ(shot.Pixel(30, 15), kBlue);
    EXPECT_EQ(shot.Pixel(20, 20), kBlue);
    EXPECT_EQ(shot.Pixel(9, 15), kBlue);
    // Black pen: a 1-pixel outline on the edges around the fill.
    EXPECT_EQ(shot.Pixel(50, 10), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(69, 19), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(60, 10), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(51, 11), kRed);
    EXPECT_EQ(shot.Pixel(68, 18), kRed);
    EXPECT_EQ(shot.Pixel(70, 15), kBlue);
}

TEST_F(GdiTest, TextIsDrawnWhereTheFormatPutsIt)
{
    RECT box{0, 30, 120, 60};
    SIZE size;
    {
        CClientDC dc(&canvas);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(255, 255, 255));
        size = Extent(dc, u"cde");
        dc.DrawText(u"cde", &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    ScreenImage shot = GrabScreen();
    int left = (120 - size.cx) / 2;
    int top = 30 + (30 - size.cy) / 2;
    int white = 0;
    for (int y = 30; y < 60; ++y)
        for (int x = 0; x < 120; ++x) {
            COLORREF c = shot.Pixel(x, y);
            if (c == RGB(255, 255, 255)) {
                ++white;
                EXPECT_GE(x, left);
                EXPECT_LT(x, left + size.cx);
                EXPECT_GE(y, top);
                EXPECT_LT(y, top + size.cy);
            } else {
                EXPECT_EQ(c, kBlue); // transparent mode leaves the ground
            }
        }
    EXPECT_GT(white, 10);
}

TEST_F(GdiTest, LinesLeaveOutTheirEndPointAndFillRectTakesSystemColours)
{
    {
        CClientDC dc(&canvas);
        dc.SelectStockObject(BLACK_PEN);
        dc.MoveTo(5, 70);
        dc.LineTo(15, 70);
        RECT r{100, 60, 110, 70};
        FillRect(dc, &r, reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_WINDOW + 1)));
    }
    ScreenImage shot = GrabScreen();
    EXPECT_EQ(shot.Pixel(5, 70), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(14, 70), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(15, 70), kBlue);
    EXPECT_EQ(shot.Pixel(105, 65), RGB(255, 255, 255));
}
