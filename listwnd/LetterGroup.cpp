#include "listwnd/LetterGroup.h"

#include "res/resource.h"

const LetterGroup LetterGroups[LetterGroupCount] = {
    {u"#ab", ID_LETTERS_AB, u'a', u'b'},  {u"cde", ID_LETTERS_CDE, u'c', u'e'},
    {u"fgh", ID_LETTERS_FGH, u'f', u'h'}, {u"ijk", ID_LETTERS_IJK, u'i', u'k'},
    {u"lmn", ID_LETTERS_LMN, u'l', u'n'}, {u"opq", ID_LETTERS_OPQ, u'o', u'q'},
    {u"rst", ID_LETTERS_RST, u'r', u't'}, {u"uvw", ID_LETTERS_UVW, u'u', u'w'},
    {u"xyz", ID_LETTERS_XYZ, u'x', u'z'},
};

int LetterGroupFromCommand(unsigned commandId)
{
    for (int group = 0; group < LetterGroupCount; ++group) {
        if (LetterGroups[group].commandId == commandId)
            return group;
    }
    return -1;
}
