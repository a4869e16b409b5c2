// Drawing: text metrics of the device font, rectangles with and without
// outline, lines, text placement, and drawing outside WM_PAINT.
#include "platform/ui/testing/ScreenGrab.h"
#include "tests/platform/ui/support/UiTest.h"

using namespace ce;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class GdiTest : public uitest::UiTest {
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

    static SIZE Extent(HDC hdc, const std::u16string& text)
    {
        SIZE size;
        EXPECT_TRUE(GetTextExtentExPointW(hdc, text.c_str(), int(text.size()), -1, nullptr, nullptr, &size));
        return size;
    }

    uitest::CRecordingWnd canvas;
};

} // namespace

TEST_F(GdiTest, DeviceFontMetricsAreFixed)
{
    // The ideographs come from the fallback family, as wide as the em.
    HDC screen = GetDC(nullptr);
    SIZE latin = Extent(screen, u"Nombre:");
    EXPECT_EQ(Extent(screen, u"张伟").cx, 24);
    ReleaseDC(nullptr, screen);

    CClientDC dc(&canvas);
    EXPECT_EQ(Extent(dc, u"Nombre:").cx, latin.cx);
    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(dc, &tm));
    EXPECT_EQ(tm.tmHeight, latin.cy);
    EXPECT_EQ(GetDialogBaseUnits().cx, tm.tmAveCharWidth);

    // Per-character extents and the fit count agree with the whole.
    std::u16string text = u"Telefono oficina:";
    std::vector<int> dx(text.size());
    int fit = -1;
    SIZE whole;
    ASSERT_TRUE(GetTextExtentExPointW(dc, text.c_str(), int(text.size()), 60, &fit, dx.data(), &whole));
    EXPECT_EQ(dx.back(), whole.cx);
    ASSERT_GT(fit, 0);
    ASSERT_LT(fit, int(text.size()));
    EXPECT_LE(dx[std::size_t(fit - 1)], 60);
    EXPECT_GT(dx[std::size_t(fit)], 60);
}

TEST_F(GdiTest, RectanglesOutlineOnlyWithAPenAndLinesLeaveOutTheirEnd)
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
        dc.MoveTo(5, 70);
        dc.LineTo(15, 70);
        RECT r{100, 60, 110, 70};
        FillRect(dc, &r, reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_WINDOW + 1)));
    }
    ScreenImage shot = GrabScreen();
    // Null pen: the whole rectangle is filled, right and bottom exclusive.
    EXPECT_EQ(shot.Pixel(10, 10), kRed);
    EXPECT_EQ(shot.Pixel(29, 19), kRed);
    EXPECT_EQ(shot.Pixel(30, 15), kBlue);
    EXPECT_EQ(shot.Pixel(20, 20), kBlue);
    // Black pen: a 1-pixel outline on the edges around the fill.
    EXPECT_EQ(shot.Pixel(50, 10), kBlack);
    EXPECT_EQ(shot.Pixel(69, 19), kBlack);
    EXPECT_EQ(shot.Pixel(51, 11), kRed);
    EXPECT_EQ(shot.Pixel(70, 15), kBlue);
    EXPECT_EQ(shot.Pixel(5, 70), kBlack);
    EXPECT_EQ(shot.Pixel(14, 70), kBlack);
    EXPECT_EQ(shot.Pixel(15, 70), kBlue);
    EXPECT_EQ(shot.Pixel(105, 65), RGB(255, 255, 255));
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
    const int left = (120 - size.cx) / 2, top = 30 + (30 - size.cy) / 2;
    // Transparent mode leaves the ground around the (grey-edged) letters.
    int inked = 0;
    for (int y = 30; y < 60; ++y)
        for (int x = 0; x < 120; ++x) {
            if (shot.Pixel(x, y) == kBlue)
                continue;
            ++inked;
            ASSERT_TRUE(x >= left && x < left + size.cx && y >= top && y < top + size.cy) << x << "," << y;
        }
    EXPECT_GT(inked, 10);
}
