// Text: line breaking, drawing and measuring.
#include "platform/ui/gdi/GdiTables.h"
#include "platform/core/CodePage.h"
#include <algorithm>

namespace ce::impl {

namespace {

QString StripPrefix(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

// Greedy word wrapping of one paragraph into lines no wider than width; a
// word wider than the line stays whole on its own line.
QStringList WrapParagraph(const QString& paragraph, const QFontMetrics& fm, int width)
{
    QStringList lines;
    QString line;
    qsizetype i = 0;
    while (i < paragraph.size()) {
        qsizetype end = i;
        while (end < paragraph.size() && paragraph[end] != u' ')
            ++end;
        while (end < paragraph.size() && paragraph[end] == u' ')
            ++end;
        QString word = paragraph.mid(i, end - i);
        QString candidate = line + word;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate.trimmed()) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
        i = end;
    }
    lines << line;
    return lines;
}

} // namespace

int DrawTextIn(QPainter& p, const std::u16string& utf16, QRect& rect, UINT format, const QColor* background)
{
    QFontMetrics fm(p.font());
    QString text = DisplayText(utf16);
    if (!(format & DT_NOPREFIX))
        text = StripPrefix(text);
    if (format & DT_EXPANDTABS)
        text.replace(u'\t', QStringLiteral("        "));
    QStringList lines;
    if (format & DT_SINGLELINE) {
        text.remove(u'\r');
        text.replace(u'\n', u' ');
        if ((format & DT_END_ELLIPSIS) && !(format & DT_CALCRECT))
            text = fm.elidedText(text, Qt::ElideRight, rect.width());
        lines << text;
    } else {
        text.remove(u'\r');
        for (const QString& paragraph : text.split(u'\n')) {
            if (format & DT_WORDBREAK)
                lines << WrapParagraph(paragraph, fm, rect.width());
            else
                lines << paragraph;
        }
    }
    int lineHeight = fm.height();
    int height = lineHeight * int(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, fm.horizontalAdvance(line));
        rect.setWidth(widest);
        rect.setHeight(height);
        return height;
    }
    int y = rect.top();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect.top() + (rect.height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect.bottom() + 1 - lineHeight;
    }
    p.save();
    if (!(format & DT_NOCLIP))
        p.setClipRect(rect, Qt::IntersectClip);
    for (const QString& line : lines) {
        int width = fm.horizontalAdvance(line);
        int x = rect.left();
        if (format & DT_CENTER)
            x = rect.left() + (rect.width() - width) / 2;
        else if (format & DT_RIGHT)
            x = rect.right() + 1 - width;
        if (background)
            p.fillRect(QRect(x, y, width, lineHeight), *background);
        p.drawText(QPoint(x, y + fm.ascent()), line);
        y += lineHeight;
    }
    p.restore();
    return height;
}

int AverageCharWidth(const QFontMetrics& fm)
{
    static const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (fm.horizontalAdvance(alphabet) / 26 + 1) / 2;
}

QString DisplayText(std::u16string_view text)
{
    QString shown = QString::fromUtf16(text.data(), qsizetype(text.size()));
    for (QChar& c : shown) {
        if (IsUndecodableByte(c.unicode()))
            c = QChar(QChar::ReplacementCharacter);
    }
    return shown;
}

} // namespace ce::impl

namespace ce {

using namespace impl;

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
    if (!text || !rect)
        return 0;
    std::u16string s = count < 0 ? std::u16string(text) : std::u16string(text, std::size_t(count));
    int height = 0;
    if (format & DT_CALCRECT) {
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter p(&scratch);
        p.setFont(FontOfDC(hdc));
        QRect r(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
        height = DrawTextIn(p, s, r, format, nullptr);
        rect->right = rect->left + r.width();
        rect->bottom = rect->top + r.height();
        return height;
    }
    Draw(hdc, [&](QPainter& p, DeviceContext& dc) {
        p.setPen(ToQColor(dc.textColor));
        QColor bk = ToQColor(dc.bkColor);
        QRect r(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
        height = DrawTextIn(p, s, r, format, dc.bkMode == OPAQUE ? &bk : nullptr);
    });
    return height;
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT, const RECT*, LPCWSTR text, UINT count, const int*)
{
    if (!text)
        return FALSE;
    std::u16string s(text, count);
    return Draw(hdc, [&](QPainter& p, DeviceContext& dc) {
        QFontMetrics fm(p.font());
        QString line = DisplayText(s);
        if (dc.bkMode == OPAQUE)
            p.fillRect(QRect(x, y, fm.horizontalAdvance(line), fm.height()), ToQColor(dc.bkColor));
        p.setPen(ToQColor(dc.textColor));
        p.drawText(QPoint(x, y + fm.ascent()), line);
    });
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size)
{
    return GetTextExtentExPointW(hdc, text, count, -1, nullptr, nullptr, size);
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx, LPSIZE size)
{
    if (!text || count < 0 || !size)
        return FALSE;
    {
        std::lock_guard lock(GdiMutex());
        if (!Context(hdc))
            return FALSE;
    }
    QFontMetrics fm(FontOfDC(hdc));
    QString s = DisplayText(std::u16string_view(text, std::size_t(count)));
    size->cx = fm.horizontalAdvance(s);
    size->cy = fm.height();
    if (fit || dx) {
        int fitted = 0;
        for (int i = 1; i <= count; ++i) {
            int w = fm.horizontalAdvance(s.left(i));
            if (dx)
                dx[i - 1] = w;
            if (maxExtent >= 0 && w <= maxExtent)
                fitted = i;
        }
        if (fit)
            *fit = maxExtent < 0 ? count : fitted;
    }
    return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm)
{
    if (!tm)
        return FALSE;
    {
        std::lock_guard lock(GdiMutex());
        if (!Context(hdc))
            return FALSE;
    }
    QFont font = FontOfDC(hdc);
    QFontMetrics fm(font);
    tm->tmHeight = fm.height();
    tm->tmAscent = fm.ascent();
    tm->tmDescent = fm.descent();
    tm->tmInternalLeading = 0;
    tm->tmExternalLeading = fm.leading();
    tm->tmAveCharWidth = AverageCharWidth(fm);
    tm->tmMaxCharWidth = fm.maxWidth();
    tm->tmWeight = font.bold() ? FW_BOLD : FW_NORMAL;
    return TRUE;
}

SIZE GetDialogBaseUnits()
{
    QFontMetrics fm(DeviceFont());
    return SIZE{AverageCharWidth(fm), fm.height()};
}

} // namespace ce
