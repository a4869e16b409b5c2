// Text drawn through a device context keeps the font engine's (Qt's) whole
// pixels: a repeated letter keeps one shape at one pitch, letters stand on the
// font's baseline, and a centred label sits in the middle of its rectangle.
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

TEST_F(TextDrawingTest, ARepeatedLetterKeepsOneShapeAtOnePitchOnTheBaselineAndACentredLabelItsPlace)
{
    uitest::CRecordingWnd canvas;
    ASSERT_TRUE(canvas.Make(nullptr, RECT{0, 0, Width, Height}));
    canvas.UpdateWindow();
    const QFontMetrics metrics(QGuiApplication::font());
    // The columns with ink of the text drawn black on white, and its lowest inked row.
    auto draw = [&](const std::u16string& text, RECT rect, UINT format, int& lowest) {
        {
            CClientDC dc(&canvas);
            RECT all{0, 0, Width, Height};
            dc.FillSolidRect(&all, RGB(255, 255, 255));
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(RGB(0, 0, 0));
            DrawTextW(dc, text.c_str(), int(text.size()), &rect, format);
        }
        const ScreenImage image = GrabWindow(canvas.m_hWnd);
        std::vector<bool> inked(Width, false);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const COLORREF c = image.Pixel(x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128)
                    inked[std::size_t(x)] = true, lowest = std::max(lowest, y);
            }
        return inked;
    };
    // Uneven rounding shows as alternating gaps, unhinted stems as columns two pixels wide now and then.
    for (const std::u16string text : {u"llllllll", u"11111111", u"iiiiiiii"}) {
        int lowest = -1;
        const std::vector<bool> inked = draw(text, RECT{Left, Top, Width, Height}, DT_LEFT | DT_SINGLELINE, lowest);
        std::vector<int> starts, widths;
        for (int x = 0; x < Width; ++x) {
            if (inked[std::size_t(x)] && (x == 0 || !inked[std::size_t(x - 1)])) {
                starts.push_back(x);
                widths.push_back(0);
            }
            if (inked[std::size_t(x)])
                ++widths.back();
        }
        const std::string name(text.begin(), text.end());
        EXPECT_EQ(lowest, Top + metrics.ascent() - 1) << name << " stands on the baseline";
        ASSERT_EQ(starts.size(), text.size()) << name << ": letters touch";
        for (std::size_t i = 1; i < starts.size(); ++i) {
            EXPECT_EQ(widths[i], widths[0]) << name << " letter " << i;
            EXPECT_EQ(starts[i] - starts[i - 1], starts[1] - starts[0]) << name << " letter " << i;
        }
    }

    // Centred in a letter button's width, as the letter bar draws its labels.
    int lowest = -1;
    const std::vector<bool> inked = draw(u"cde", RECT{34, Top, 67, Height}, DT_CENTER | DT_NOPREFIX, lowest);
    const int first = int(std::find(inked.begin(), inked.end(), true) - inked.begin());
    EXPECT_LE(std::abs(first - (34 + (33 - metrics.horizontalAdvance(QStringLiteral("cde"))) / 2)), 2);
}
