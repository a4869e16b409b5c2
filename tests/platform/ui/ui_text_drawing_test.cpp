// Text drawn through a device context keeps the font engine's (Qt's) whole
// pixels: a repeated letter keeps one shape at one pitch, and letters stand on
// the font's baseline.
#include "platform/ui/testing/ScreenGrab.h"
#include "tests/platform/ui/support/UiTest.h"
#include <QFontMetrics>
#include <QGuiApplication>

using namespace ce;

namespace {

constexpr int Width = 320, Height = 20;
constexpr int Left = 2, Top = 3;

using TextDrawingTest = uitest::UiTest;

} // namespace

TEST_F(TextDrawingTest, ARepeatedLetterKeepsOneShapeAtOnePitchOnTheBaseline)
{
    uitest::CRecordingWnd canvas;
    ASSERT_TRUE(canvas.Make(nullptr, RECT{0, 0, Width, Height}));
    canvas.UpdateWindow();
    const int baseline = Top + QFontMetrics(QGuiApplication::font()).ascent();
    // Uneven rounding shows as alternating gaps, unhinted stems as columns two pixels wide now and then.
    for (const std::u16string text : {u"llllllll", u"11111111", u"iiiiiiii"}) {
        {
            CClientDC dc(&canvas);
            RECT all{0, 0, Width, Height}, rect{Left, Top, Width, Height};
            dc.FillSolidRect(&all, RGB(255, 255, 255));
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(RGB(0, 0, 0));
            DrawTextW(dc, text.c_str(), int(text.size()), &rect, DT_LEFT | DT_SINGLELINE);
        }
        const ScreenImage image = GrabWindow(canvas.m_hWnd);
        auto dark = [&](int x, int y) {
            const COLORREF c = image.Pixel(x, y);
            return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
        };
        std::vector<int> starts, widths;
        int lowest = -1;
        bool inStem = false;
        for (int x = 0; x < Width; ++x) {
            bool ink = false;
            for (int y = 0; y < Height; ++y)
                if (dark(x, y))
                    ink = true, lowest = std::max(lowest, y);
            if (ink && !inStem) {
                starts.push_back(x);
                widths.push_back(0);
            }
            if (ink)
                ++widths.back();
            inStem = ink;
        }
        const std::string name(text.begin(), text.end());
        EXPECT_EQ(lowest, baseline - 1) << name << " stands on the baseline";
        ASSERT_EQ(starts.size(), text.size()) << name << ": letters touch";
        for (std::size_t i = 1; i < starts.size(); ++i) {
            EXPECT_EQ(widths[i], widths[0]) << name << " letter " << i;
            EXPECT_EQ(starts[i] - starts[i - 1], starts[1] - starts[0]) << name << " letter " << i;
        }
    }
}
