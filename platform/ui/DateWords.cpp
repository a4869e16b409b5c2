#include "platform/ui/DateWords.h"
#include "platform/core/Resources.h"
#include <algorithm>
#include <array>

namespace ce::impl {

namespace {

// English, for a resource module without the date words.
constexpr std::array<const char16_t*, 12> EnglishMonths = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<const char16_t*, 7> EnglishWeekdays = {u"Su", u"Mo", u"Tu", u"We", u"Th", u"Fr", u"Sa"};

QString Word(UINT id, const char16_t* english)
{
    const std::u16string word = LoadStringW(id);
    return QString::fromStdU16String(word.empty() ? std::u16string(english) : word);
}

QString Pattern(UINT id)
{
    switch (id) {
    case IDS_LONG_DATE: return Word(id, u"MMMM d, yyyy");
    case IDS_SHORT_DATE: return Word(id, u"M/d/yyyy");
    default: return Word(id, u"MMMM yyyy");
    }
}

DatePiece Field(const QDate& date, QChar letter, int repeat)
{
    switch (letter.unicode()) {
    case u'd':
        return {DatePart::Day, QString::number(date.day()).rightJustified(repeat >= 2 ? 2 : 1, u'0')};
    case u'M':
        if (repeat >= 3)
            return {DatePart::Month, MonthName(date.month())};
        return {DatePart::Month, QString::number(date.month()).rightJustified(repeat >= 2 ? 2 : 1, u'0')};
    default:
        return {DatePart::Year, QString::number(date.year()).rightJustified(4, u'0')};
    }
}

} // namespace

std::vector<DatePiece> WriteDate(const QDate& date, UINT pattern)
{
    const QString text = Pattern(pattern);
    std::vector<DatePiece> pieces;
    auto literal = [&](QChar c) {
        if (pieces.empty() || pieces.back().part != DatePart::Literal)
            pieces.push_back({DatePart::Literal, QString()});
        pieces.back().text += c;
    };
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c == u'\'') {
            // Quoted text up to the next quote; '' is one quote.
            const qsizetype end = text.indexOf(u'\'', i + 1);
            if (end == i + 1)
                literal(u'\'');
            for (qsizetype k = i + 1; k < (end < 0 ? text.size() : end); ++k)
                literal(text[k]);
            i = end < 0 ? text.size() : end + 1;
        } else if (c == u'd' || c == u'M' || c == u'y') {
            int repeat = 0;
            while (i < text.size() && text[i] == c) {
                ++repeat;
                ++i;
            }
            pieces.push_back(Field(date, c, repeat));
        } else {
            literal(c);
            ++i;
        }
    }
    return pieces;
}

QString DateText(const QDate& date, UINT pattern)
{
    QString text;
    for (const DatePiece& piece : WriteDate(date, pattern))
        text += piece.text;
    return text;
}

QString MonthName(int month)
{
    const int index = std::clamp(month, 1, 12) - 1;
    return Word(IDS_MONTH_FIRST + UINT(index), EnglishMonths[std::size_t(index)]);
}

QString WeekdayName(int dayOfWeek)
{
    const int sundayFirst = dayOfWeek % 7;
    return Word(IDS_WEEKDAY_FIRST + UINT(sundayFirst), EnglishWeekdays[std::size_t(sundayFirst)]);
}

int FirstWeekday()
{
    bool ok = false;
    const int monday0 = Word(IDS_FIRST_WEEKDAY, u"6").toInt(&ok);
    return ok && monday0 >= 0 && monday0 <= 6 ? monday0 + 1 : 7;
}

} // namespace ce::impl
