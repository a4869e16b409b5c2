// The initial-letter search behind the letter bar.
#include "data/ContactList.h"
#include "data/NameCollation.h"

namespace {

// Bounds given in upper case count as lower case.
char16_t LowerBound(char16_t bound)
{
    return bound < u'a' ? char16_t(bound + 32) : bound;
}

int PlaceInRange(char16_t letter, char16_t lo, char16_t hi)
{
    if (letter < LowerBound(lo))
        return -1;
    return letter <= LowerBound(hi) ? 0 : 1;
}

} // namespace

int ContactField::InitialClass() const
{
    if (fieldId != FieldName || TextValue().empty())
        return InitialNone;
    const char16_t u = TextValue()[0];
    if (u >= u'A' && u <= u'Z')
        return InitialUpper;
    if (u >= u'a' && u <= u'z')
        return InitialLower;
    if (u >= ChineseInitialFirst)
        return InitialIdeograph;
    return InitialNone;
}

int ContactField::LatinInitialTest(char16_t lo, char16_t hi) const
{
    const int initial = InitialClass();
    if (initial == InitialNone)
        return -2;
    if (initial == InitialIdeograph)
        return 2;
    const char16_t letter = initial == InitialUpper ? char16_t(TextValue()[0] + 32) : TextValue()[0];
    return PlaceInRange(letter, lo, hi);
}

int ContactField::PinyinInitialTest(char16_t lo, char16_t hi) const
{
    const int initial = InitialClass();
    if (initial == InitialNone)
        return -3;
    if (initial != InitialIdeograph)
        return -2;
    const std::u16string_view syllable = GetPinyinSyllable(TextValue()[0]);
    if (syllable.empty())
        return -1;
    return PlaceInRange(syllable[0], lo, hi);
}

int ContactListBase::FirstIsNonLetter(int& index) const
{
    auto guard = Lock();
    index = -1;
    if (records.empty() || !records[0] || records[0]->GetField(FieldName)->InitialClass() != InitialNone)
        return 0;
    index = 0;
    return 1;
}

int ContactListBase::ScanGroup(InitialTest test, char16_t lo, char16_t hi, int& index) const
{
    auto guard = Lock();
    index = -1;
    bool letterSeen = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        FetchAhead(i);
        if (!records[i])
            continue;
        const ContactField& name = *records[i]->GetField(FieldName);
        const int place = (name.*test)(lo, hi);
        if (place == 0) {
            index = int(i);
            return 1;
        }
        if (place > 0)
            return 0;
        // Behind the letter names, a name without a letter initial (an
        // accented capital, a sign above 'z') sorts after every range: it
        // is never the contact before the group.
        const bool letter = name.InitialClass() != InitialNone;
        if (letter || !letterSeen)
            index = int(i);
        letterSeen = letterSeen || letter;
    }
    return 0;
}
