#include "listwnd/LetterSearch.h"

#include "data/ContactList.h"
#include "listwnd/LetterGroup.h"

int FindLetterGroup(const ContactListBase& list, int group)
{
    if (group < 0 || group >= LetterGroupCount)
        return -1;
    const LetterGroup& letters = LetterGroups[group];
    auto guard = list.Lock();
    int index = -1;
    if (group == 0 && list.FirstIsNonLetter(index))
        return index;
    int fallback = -1;
    if (list.ScanGroup(&ContactField::LatinInitialTest, letters.lo, letters.hi, fallback))
        return fallback;
    if (list.ScanGroup(&ContactField::PinyinInitialTest, letters.lo, letters.hi, index))
        return index;
    return group == 0 ? -1 : fallback;
}
