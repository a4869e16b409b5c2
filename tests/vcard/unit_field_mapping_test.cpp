// Which value of a card fills which field, and which are counted for having none.
#include "support/VCardTestSupport.h"

using namespace vcardtest;
using vcard::MappedCard;

namespace {

MappedCard Card(const std::string& lines)
{
    return MapOne("BEGIN:VCARD\nVERSION:3.0\n" + lines + "END:VCARD\n");
}

using Counts = std::map<std::string, int>;

TEST(FieldMapping, NameFromFnElseComposedFromN)
{
    EXPECT_EQ(Card("N:Pérez;José;;;\nFN:Pepe\n").text[FieldName], u"Pepe");
    EXPECT_EQ(Card("N:Pérez;José;;;\n").text[FieldName], u"José Pérez");
    EXPECT_EQ(Card("N:王;小明;;;\n").text[FieldName], u"王小明");
    EXPECT_EQ(Card("N:Smith;John;Paul;Dr.;Jr.\n").text[FieldName], u"Dr. John Paul Smith Jr.");
    EXPECT_EQ(Card("FN:\nN:Lee;Ann;;;\n").text[FieldName], u"Ann Lee") << "an empty FN is no name";
    EXPECT_TRUE(Card("N:Pérez;José;;;\nFN:Pepe\n").unmapped.empty()) << "N is the name in parts";
    EXPECT_EQ(Card("FN:Pepe\nFN:José\n").unmapped, (Counts{{"FN", 1}}));
}

TEST(FieldMapping, HomeAddressThenFirstNotWorkAndOfficeAddress)
{
    const MappedCard typed = Card("ADR;TYPE=OTHER:;;Otra 3;;;;\n"
                                  "ADR;TYPE=WORK:;Planta 2;Gran Via 10;Madrid;;28013;\n"
                                  "ADR;TYPE=HOME:;;Calle Mayor 1;Malaga;;29001;Espana\n");
    EXPECT_EQ(typed.text[FieldAddress], u"Calle Mayor 1, Malaga, 29001, Espana");
    EXPECT_EQ(typed.text[FieldOfficeAddress], u"Planta 2, Gran Via 10, Madrid, 28013");
    EXPECT_EQ(typed.unmapped, (Counts{{"ADR", 1}}));

    const MappedCard untyped = Card("ADR;TYPE=WORK:;;Oficina;;;;\nADR:;;Casa,Portal 2;;;;\n");
    EXPECT_EQ(untyped.text[FieldAddress], u"Casa, Portal 2") << "a component that is a list joins like components";
    EXPECT_EQ(untyped.text[FieldOfficeAddress], u"Oficina");

    // Only a printed label: the 2.1/3.0 property (the 4.0 parameter is the webmail form's).
    const MappedCard labels = Card("LABEL;TYPE=WORK:Plaza 1\\nSevilla\nLABEL;TYPE=HOME:Calle 2\n");
    EXPECT_EQ(labels.text[FieldAddress], u"Calle 2");
    EXPECT_EQ(labels.text[FieldOfficeAddress], u"Plaza 1\nSevilla");
    EXPECT_TRUE(Card("ADR;TYPE=HOME:;;Calle 2;;;;\nLABEL;TYPE=HOME:Calle 2\n").unmapped.empty())
        << "a label beside its address repeats it";
}

TEST(FieldMapping, EachTelephoneGoesToTheFieldOfItsTypes)
{
    const MappedCard card = Card("TEL;TYPE=PAGER:100\n"
                                 "TEL;TYPE=WORK,FAX:101\n"
                                 "TEL;TYPE=CELL,WORK:102\n"
                                 "TEL;TYPE=FAX:103\n"
                                 "TEL;TYPE=WORK:104\n"
                                 "TEL;TYPE=VOICE:105\n"
                                 "TEL;TYPE=CELL:106\n"
                                 "TEL:107\n");
    EXPECT_EQ(card.text[FieldMobile], u"102");
    EXPECT_EQ(card.text[FieldFax], u"103");
    EXPECT_EQ(card.text[FieldOfficeTelephone], u"104");
    EXPECT_EQ(card.text[FieldTelephone], u"105");
    EXPECT_EQ(card.unmapped, (Counts{{"TEL", 3}})) << "a pager, a second mobile, a second telephone";

    // Types this program does not know are ignored: such a telephone is untyped, a voice telephone.
    for (const char* tel : {"TEL;X-CUSTOM:300\n", "TEL;TYPE=MAIN:300\n", "TEL;TYPE=x-privado:300\n",
                            "TEL;TYPE=m\xC3\xB3vil:300\n", "TEL;TYPE=X-SKYPE,PREF:300\n"}) {
        const MappedCard untyped = Card(tel);
        EXPECT_EQ(untyped.text[FieldTelephone], u"300") << tel;
        EXPECT_TRUE(untyped.unmapped.empty()) << tel;
    }
    EXPECT_EQ(Card("TEL;TYPE=X-CUSTOM,CELL:301\n").text[FieldMobile], u"301");
    EXPECT_EQ(Card("TEL;TYPE=PAGER,X-CUSTOM:302\n").unmapped, (Counts{{"TEL", 1}})) << "a pager has no field";

    // Typed only as preferred is the home telephone, and wins over another.
    EXPECT_EQ(Card("TEL;TYPE=HOME:200\nTEL;TYPE=PREF:201\n").text[FieldTelephone], u"201");
    const MappedCard homeFax = Card("TEL;TYPE=HOME,FAX:202\n");
    EXPECT_EQ(homeFax.text[FieldFax], u"202");
    EXPECT_EQ(homeFax.text[FieldTelephone], u"");
}

// (The place this program writes for an e-mail behind an empty one, the
// export's round trip checks.)
TEST(FieldMapping, EmailsInOrderWithThePreferredFirst)
{
    const MappedCard card = Card("EMAIL:a@x.es\nEMAIL:b@x.es\nEMAIL;TYPE=PREF:c@x.es\nEMAIL:d@x.es\n");
    EXPECT_EQ(card.text[FieldEmail], u"c@x.es");
    EXPECT_EQ(card.text[FieldEmail2], u"a@x.es");
    EXPECT_EQ(card.text[FieldEmail3], u"b@x.es");
    EXPECT_EQ(card.unmapped, (Counts{{"EMAIL", 1}}));
}

TEST(FieldMapping, BirthdayAsDateOrDateTimeAndOnlyWithAYear)
{
    const ce::DATE march7 = MakeDate(1975, 3, 7);
    for (const char* value : {"1975-03-07", "19750307", "1975-03-07T18:30:00Z", "19750307T183000"})
        EXPECT_EQ(Card(std::string("BDAY:") + value + "\n").birthday, march7) << value;
    for (const char* value : {"--0307", "--03-07", "1975-13-07", "1975-02-30", "1975", "sometime in March"}) {
        const MappedCard card = Card(std::string("BDAY:") + value + "\n");
        EXPECT_EQ(card.birthday, 0.0) << value;
        EXPECT_EQ(card.unmapped, (Counts{{"BDAY", 1}})) << value;
    }
    EXPECT_EQ(Card("BDAY;X-APPLE-OMIT-YEAR=1604:1604-03-07\n").birthday, 0.0) << "the year that stands for none";
}

TEST(FieldMapping, OrganisationTitleAndWebPage)
{
    const MappedCard card = Card("ORG:Acme;Ventas;Zona Sur\nTITLE:Jefa\nTITLE:Socia\nURL:http://a.es\nURL:http://b.es\n");
    EXPECT_EQ(card.text[FieldDepartment], u"Ventas");
    EXPECT_EQ(card.text[FieldJobTitle], u"Jefa");
    EXPECT_EQ(card.text[FieldWebPage], u"http://a.es");
    EXPECT_EQ(card.unmapped, (Counts{{"ORG", 1}, {"TITLE", 1}, {"URL", 1}}));
    EXPECT_EQ(Card("ORG:;Ventas\n").text[FieldDepartment], u"Ventas");
    EXPECT_EQ(Card("TITLE:Data: analista\n").text[FieldJobTitle], u"Data: analista") << "text, not a data: URI";
}

TEST(FieldMapping, ValuesWithoutFieldAreCountedByProperty)
{
    const MappedCard card = Card("FN:Ana\nNOTE:uno\nNOTE:dos\nNICKNAME:Anita\nX-AIM:ana99\nCATEGORIES:amigos\n"
                                 "PRODID:-//Phone//EN\nREV:2020-01-01\nUID:1234\nNOTE:\n");
    EXPECT_EQ(card.unmapped, (Counts{{"CATEGORIES", 1}, {"NICKNAME", 1}, {"NOTE", 2}, {"X-AIM", 1}}))
        << "what describes the card itself, and empty values, are no loss";
}

} // namespace
