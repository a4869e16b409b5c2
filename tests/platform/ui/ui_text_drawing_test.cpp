// Text drawn through a device context looks like the font engine's (Qt's)
// layout of the whole string: each glyph within a pixel of the engine's place
// and with the engine's own pixels, so gaps stay even and stems keep their width.
#include "platform/ui/testing/ScreenGrab.h"
#include "tests/platform/ui/support/UiTest.h"
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

using namespace ce;

namespace {

// The canvas, and where the text starts on it.
constexpr int Width = 320, Height = 20;
constexpr int Left = 2, Top = 3;

using Ink = std::vector<char>; // Width x Height, 1 where a pixel is dark

bool Dark(QRgb pixel)
{
    return qGray(pixel) < 128;
}

template <class IsDark>
Ink InkOf(IsDark isDark)
{
    Ink ink(std::size_t(Width * Height), 0);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            ink[std::size_t(y * Width + x)] = isDark(x, y) ? 1 : 0;
    return ink;
}

Ink Shifted(const Ink& ink, int dx)
{
    return InkOf([&](int x, int y) { return x - dx >= 0 && x - dx < Width && ink[std::size_t(y * Width + x - dx)]; });
}

bool Within(const Ink& part, const Ink& whole)
{
    for (std::size_t i = 0; i < part.size(); ++i)
        if (part[i] && !whole[i])
            return false;
    return true;
}

int Count(const Ink& ink)
{
    return int(std::count(ink.begin(), ink.end(), 1));
}

class TextDrawingTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(canvas.Make(nullptr, RECT{0, 0, Width, Height}));
        canvas.UpdateWindow();
    }

    // What DrawTextW puts on a white canvas, black on transparent.
    Ink Drawn(const std::u16string& text, UINT format, RECT rect)
    {
        {
            CClientDC dc(&canvas);
            RECT all{0, 0, Width, Height};
            dc.FillSolidRect(&all, RGB(255, 255, 255));
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(RGB(0, 0, 0));
            DrawTextW(dc, text.c_str(), int(text.size()), &rect, format);
        }
        const ScreenImage image = GrabWindow(canvas.m_hWnd);
        return InkOf([&](int x, int y) {
            const COLORREF c = image.Pixel(x, y);
            return Dark(qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        });
    }

    // Each glyph of the engine's layout of the whole string, drawn alone at its
    // place rounded to the pixel, the line starting at (x0, Top).
    static std::vector<Ink> EngineGlyphs(const std::u16string& text, int x0)
    {
        const QFont font = QGuiApplication::font();
        QTextLayout layout(QString::fromStdU16String(text), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const int baseline = Top + QFontMetrics(font).ascent();
        std::vector<Ink> glyphs;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            for (qsizetype i = 0; i < run.glyphIndexes().size(); ++i) {
                QImage image(Width, Height, QImage::Format_RGB32);
                image.fill(Qt::white);
                QGlyphRun one = run;
                one.setGlyphIndexes({run.glyphIndexes()[i]});
                one.setPositions({QPointF(0, 0)});
                QPainter painter(&image);
                painter.setPen(Qt::black);
                painter.drawGlyphRun(QPointF(x0 + qRound(run.positions()[i].x()), baseline), one);
                painter.end();
                glyphs.push_back(InkOf([&](int x, int y) { return Dark(image.pixel(x, y)); }));
            }
        }
        return glyphs;
    }

    static int EngineWidth(const std::u16string& text)
    {
        return QFontMetrics(QGuiApplication::font()).horizontalAdvance(QString::fromStdU16String(text));
    }

    // Every engine glyph shows whole in the drawing, at most a pixel aside, and
    // no drawn pixel is left that none of them explains.
    void ExpectDrawnAsLaidOut(const std::u16string& text, UINT format, RECT rect, int x0)
    {
        const Ink drawn = Drawn(text, format, rect);
        Ink explained(drawn.size(), 0);
        const std::string name = QString::fromStdU16String(text).toStdString();
        const std::vector<Ink> glyphs = EngineGlyphs(text, x0);
        for (std::size_t glyph = 0; glyph < glyphs.size(); ++glyph) {
            bool found = false;
            for (int dx : {0, -1, 1}) {
                const Ink placed = Shifted(glyphs[glyph], dx);
                if (!found && Within(placed, drawn)) {
                    std::transform(placed.begin(), placed.end(), explained.begin(), explained.begin(),
                                   [](char a, char b) { return char(a | b); });
                    found = true;
                }
            }
            EXPECT_TRUE(found) << "glyph " << glyph << " of \"" << name << "\" not placed or drawn as the engine does";
        }
        EXPECT_GT(Count(drawn), 0);
        EXPECT_EQ(Count(drawn), Count(explained)) << "\"" << name << "\" has pixels of no glyph (bold stems)";
    }

    uitest::CRecordingWnd canvas;
};

} // namespace

TEST_F(TextDrawingTest, GlyphsStandWhereTheFontEngineLaysOutTheWholeString)
{
    const UINT left = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX;
    for (const std::u16string text : {u"Telefono  Taxi  cde  Movil", u"#1 Taller 91 555 011 E-Mail:",
                                      u"Direccion oficina: www.example.com", u"\u738b\u5c0f\u660e Pagina web:"})
        ExpectDrawnAsLaidOut(text, left, RECT{Left, Top, Width, Height}, Left);

    // Centred in a letter button's width, as the letter bar draws its labels.
    const std::u16string label = u"cde";
    const RECT button{34, Top, 67, Height};
    ExpectDrawnAsLaidOut(label, DT_CENTER | DT_NOPREFIX, button, 34 + (33 - EngineWidth(label)) / 2);
}

TEST_F(TextDrawingTest, ARepeatedLetterKeepsOneShapeAtOnePitch)
{
    // Uneven rounding shows as alternating gaps, unhinted stems as columns two pixels wide now and then.
    for (const std::u16string text : {u"llllllll", u"11111111", u"iiiiiiii"}) {
        const Ink drawn = Drawn(text, DT_LEFT | DT_SINGLELINE, RECT{Left, Top, Width, Height});
        std::vector<int> starts, widths;
        bool inStem = false;
        for (int x = 0; x < Width; ++x) {
            bool ink = false;
            for (int y = 0; y < Height; ++y)
                ink = ink || drawn[std::size_t(y * Width + x)];
            if (ink && !inStem) {
                starts.push_back(x);
                widths.push_back(0);
            }
            if (ink)
                ++widths.back();
            inStem = ink;
        }
        const std::string name = QString::fromStdU16String(text).toStdString();
        ASSERT_EQ(starts.size(), text.size()) << name << ": letters touch";
        for (std::size_t i = 1; i < starts.size(); ++i) {
            EXPECT_EQ(widths[i], widths[0]) << name << " letter " << i;
            EXPECT_EQ(starts[i] - starts[i - 1], starts[1] - starts[0]) << name << " letter " << i;
        }
    }
}
