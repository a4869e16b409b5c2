// vCard 2.1, 3.0 and 4.0 as phones, mail programs and webmail write them.
#include "support/VCardTestSupport.h"

using namespace vcardtest;
using vcard::MappedCard;

namespace {

using Counts = std::map<std::string, int>;

TEST(VCardForms, PhoneExportInVersion21)
{
    // Quoted-printable with soft breaks and a bare parameter; a photo (base64
    // up to an empty line) and an AGENT card are skipped whole.
    const MappedCard card = MapOne(
        "begin:vcard \n"
        "VERSION:2.1\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:P=C3=A9rez;Jos=C3=A9;;;\n"
        "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Jos=C3=A9 P=C3=A9rez =\n"
        "Garc=C3=ADa\n"
        "ADR;HOME;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:;;Calle Mayor 1;M=E1laga;;29001;Espa=F1a\n"
        "PHOTO;ENCODING=BASE64;TYPE=JPEG:\n"
        "/9j/4AAQSkZJRgABAQAAAQABAAD\n"
        "AAAAAAAAAA==\n"
        "\n"
        "NOTE;ENCODING=QUOTED-PRINTABLE:first line=0D=0Asecond; with =3D sign\n"
        "AGENT:\n"
        "BEGIN:VCARD\n"
        "VERSION:2.1\n"
        "FN:Assistant\n"
        "END:VCARD\n"
        "TITLE;ENCODING=QUOTED-PRINTABLE:Jefe=0D=0Ade ventas\n"
        "END:VCARD\n");
    EXPECT_EQ(card.text[FieldName], u"José Pérez García");
    EXPECT_EQ(card.text[FieldAddress], u"Calle Mayor 1, Málaga, 29001, España");
    EXPECT_EQ(card.text[FieldJobTitle], u"Jefe\nde ventas") << "a line break is kept as the LF export writes";
    EXPECT_EQ(card.unmapped, (Counts{{"AGENT", 1}, {"NOTE", 1}, {"PHOTO", 1}}));
}

TEST(VCardForms, MailProgramExportInVersion30)
{
    // A byte-order mark, a line folded inside a character, escapes, TYPE as a
    // list and repeated.
    const std::string text =
        "\xEF\xBB\xBF"
        "BEGIN:VCARD\n"
        "VERSION:3.0\n"
        "FN:Ana Mar\xC3\n"
        " \xAD" "a\\, de la Cruz\n"
        "N:de la Cruz;Ana Mar\xC3\xAD" "a;;;\n"
        "TEL;TYPE=home,voice:111\n"
        "TEL;TYPE=WORK;TYPE=FAX:222\n"
        "ORG:Acme\\, Inc.;Ventas\\; Sur\n"
        "TITLE:Jefa\\\\Directora\\nde ventas\n"
        "URL:http://example.com/a\n"
        "\tvery/long\n"
        "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD\n"
        " AAAAAAAA\n"
        "END:VCARD\n"
        "BEGIN:VCARD\n"
        "VERSION:3.0\n"
        "FN:\xE7\x8E\x8B\xE6\x98\x8E\n"
        "item1.EMAIL;type=INTERNET:w@example.cn\n"
        "item1.X-ABLabel:work\n"
        "END:VCARD\n";
    std::vector<MappedCard> cards;
    vcard::ReadError error;
    ASSERT_TRUE(MapAll(text, cards, error)) << error.message;
    ASSERT_EQ(cards.size(), 2u);
    const MappedCard &ana = cards[0], &wang = cards[1];

    EXPECT_EQ(ana.text[FieldName], u"Ana María, de la Cruz");
    EXPECT_EQ(ana.text[FieldTelephone], u"111");
    EXPECT_EQ(ana.text[FieldOfficeFax], u"222");
    EXPECT_EQ(ana.text[FieldCompany], u"Acme, Inc.");
    EXPECT_EQ(ana.text[FieldDepartment], u"Ventas; Sur");
    EXPECT_EQ(ana.text[FieldJobTitle], u"Jefa\\Directora\nde ventas");
    EXPECT_EQ(ana.text[FieldWebPage], u"http://example.com/avery/long");
    EXPECT_EQ(ana.unmapped, (Counts{{"PHOTO", 1}}));

    EXPECT_EQ(wang.text[FieldName], u"王明");
    EXPECT_EQ(wang.text[FieldEmail], u"w@example.cn");
    EXPECT_TRUE(wang.unmapped.empty()) << "the label of a group is no value of its own";
}

TEST(VCardForms, WebmailExportInVersion40)
{
    // URIs, PREF as a parameter, a quoted type list, an address only as LABEL.
    const MappedCard card = MapOne(
        "BEGIN:VCARD\n"
        "VERSION:4.0\n"
        "FN:Li Lei\n"
        "TEL;VALUE=uri;TYPE=\"voice,home\":tel:+86-10-5555-0000\n"
        "TEL;VALUE=uri;TYPE=\"voice,cell\";PREF=2:tel:+86-139-0000-0002\n"
        "TEL;VALUE=uri;TYPE=cell;PREF=1:tel:+86-139-0000-0001\n"
        "EMAIL:second@example.cn\n"
        "EMAIL;PREF=1:mailto:first@example.cn\n"
        "ADR;TYPE=work;LABEL=\"Main St 1\\nBeijing ^'North^'\":;;;;;;\n"
        "PHOTO:data:image/jpeg;base64,/9j/4AAQSkZJRg==\n"
        "END:VCARD\n");
    EXPECT_EQ(card.text[FieldTelephone], u"+86-10-5555-0000");
    EXPECT_EQ(card.text[FieldMobile], u"+86-139-0000-0001");
    EXPECT_EQ(card.text[FieldEmail], u"first@example.cn");
    EXPECT_EQ(card.text[FieldOfficeAddress], u"Main St 1\nBeijing \"North\"");
    EXPECT_EQ(card.unmapped, (Counts{{"PHOTO", 1}, {"TEL", 1}}));
}

TEST(VCardForms, ExportsOfPhonesMailProgramsAndServers)
{
    // iOS ends its lines with CR CR LF.
    EXPECT_EQ(MapOne("BEGIN:VCARD\r\r\nVERSION:3.0\r\r\nFN:Ana\r\r\nTEL:1\r\r\nEND:VCARD\r\r\n").text[FieldTelephone],
              u"1");

    // 2.1 keeps the white space that starts a folded line; 3.0 and 4.0 drop one character of it.
    const std::string folded = "ADR;HOME:;;Calle\n Mayor 1;;;;\nTEL;HOME:5555\n 4444\nEND:VCARD\n";
    const MappedCard v21 = MapOne("BEGIN:VCARD\nVERSION:2.1\n" + folded);
    EXPECT_EQ(v21.text[FieldAddress], u"Calle Mayor 1");
    EXPECT_EQ(v21.text[FieldTelephone], u"5555 4444");
    const MappedCard v30 = MapOne("BEGIN:VCARD\nVERSION:3.0\n" + folded);
    EXPECT_EQ(v30.text[FieldAddress], u"CalleMayor 1");
    EXPECT_EQ(v30.text[FieldTelephone], u"55554444");

    // A bare 2.1 type list is split at its commas; a comma in a 2.1 address is text.
    const MappedCard phone = MapOne("BEGIN:VCARD\nVERSION:2.1\nTEL;FAX,WORK:1\nTEL;TYPE=VOICE;MSG,WORK:2\n"
                                    "ADR;WORK:;;5, Chemin du Marais;;;;\nADR;HOME:;;Silicon Alley 5,;;;;\n"
                                    "END:VCARD\n");
    EXPECT_EQ(phone.text[FieldOfficeFax], u"1");
    EXPECT_EQ(phone.text[FieldOfficeTelephone], u"2");
    EXPECT_EQ(phone.text[FieldOfficeAddress], u"5, Chemin du Marais");
    EXPECT_EQ(phone.text[FieldAddress], u"Silicon Alley 5,");

    // Mail programs escape the colon of a link; a backslash that escapes nothing is dropped.
    EXPECT_EQ(MapOne("BEGIN:VCARD\nVERSION:3.0\nURL:http\\://example.com/\\~ana\nEND:VCARD\n").text[FieldWebPage],
              u"http://example.com/~ana");

    // Vietnamese and Hebrew charsets give the letter they hold back at the end of a value.
    EXPECT_EQ(MapOne("BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=windows-1258:Vi\xEA\xF2t\nEND:VCARD\n").text[FieldName],
              u"Vi\u1ec7t");
    EXPECT_EQ(MapOne("BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=windows-1255:\xF9\xEC\xE5\xED\nEND:VCARD\n").text[FieldName],
              u"\u05e9\u05dc\u05d5\u05dd");
}

TEST(VCardForms, CharsetsGoThroughIconv)
{
    // Without CHARSET a 2.1 value is UTF-8 when it is, else in the ANSI code page.
    const struct {
        const char* charset; // quoted-printable when given
        const char* value;
        unsigned ansiCodePage;
        const char16_t* text;
    } cases[] = {
        {"UTF-8", "=E7=8E=8B", 936, u"王"},
        {"Windows-1252", "=80 caf=E9", 936, u"€ café"},
        {"GB2312", "=CD=F5", 936, u"王"},
        {"GB2312", "=E9=46", 936, u"镕"}, // GBK bytes, older label
        {"GB18030", "=81=30=8A=31=95=32=82=36", 936, u"ä𠀀"},
        {"Big5", "=A4=FD", 936, u"王"},
        {"Shift_JIS", "=8E=52=93=63\\=5C", 936, u"山田\\"},
        {"ISO-2022-JP", "=1B$B;3ED=1B(B", 936, u"山田"}, // 7-bit, no ASCII
        {nullptr, "\xE7\x8E\x8B", 1252, u"王"},
        {nullptr, "\xD5\xC5", 936, u"张"},
        {nullptr, "Jos\xE9", 1252, u"José"},
    };
    for (const auto& c : cases) {
        const std::string params = c.charset ? std::string(";ENCODING=QUOTED-PRINTABLE;CHARSET=") + c.charset : "";
        const std::string text = "BEGIN:VCARD\nVERSION:2.1\nFN" + params + ":" + c.value + "\nEND:VCARD\n";
        EXPECT_EQ(MapOne(text, c.ansiCodePage).text[FieldName], c.text) << params << " " << c.value;
    }
}

// UTF-8 is read without iconv: it takes and refuses the same sequences.
TEST(VCardForms, Utf8IsTakenAsIconvTakesIt)
{
    vcard::CharsetDecoder decoder;
    auto same = [&decoder](const std::string& bytes) {
        std::u16string ours;
        std::u16string iconvs;
        // "UTF8" is the same charset under a name that goes to iconv.
        const bool taken = decoder.Decode("UTF-8", bytes, ours);
        return taken == decoder.Decode("UTF8", bytes, iconvs) && (!taken || ours == iconvs);
    };
    int differing = 0;
    const unsigned char continuations[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xE0, 0xFF};
    for (int lead = 0; lead < 0x100; ++lead) {
        for (int second = 0; second < 0x100; ++second) {
            differing += !same({char(lead), char(second)});
            if (lead == 0xE0 || lead == 0xED || lead == 0xEF)
                for (int third = 0; third < 0x100; ++third)
                    differing += !same({char(lead), char(second), char(third)});
        }
        if (lead >= 0xF0)
            for (unsigned char second : continuations)
                for (unsigned char third : continuations)
                    for (unsigned char fourth : continuations)
                        differing += !same({char(lead), char(second), char(third), char(fourth)});
    }
    EXPECT_EQ(differing, 0);
}

TEST(VCardForms, FaultsNameTheirLine)
{
    struct Case {
        const char* what;
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"not vCard", "From: someone\nBEGIN:VCARD\nEND:VCARD\n", 1},
        {"no card at all", "\n\n", 0},
        {"missing END", "BEGIN:VCARD\nFN:a\nEND:VCARD\n\nBEGIN:VCARD\nFN:b\n", 5},
        {"text after a card", "BEGIN:VCARD\nFN:a\nEND:VCARD\ngarbage\n", 4},
        {"line without value", "BEGIN:VCARD\nFN:a\nthis is no property\nEND:VCARD\n", 3},
        {"broken quoted-printable", "BEGIN:VCARD\nVERSION:2.1\nFN;ENCODING=QUOTED-PRINTABLE:Jos=G3\nEND:VCARD\n", 3},
        {"bytes not in the charset", "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=UTF-8:Jos\xE9\nEND:VCARD\n", 3},
        {"unknown charset", "BEGIN:VCARD\nFN;CHARSET=X-NONE:a\nEND:VCARD\n", 2},
        {"3.0 that is not UTF-8", "BEGIN:VCARD\nVERSION:3.0\nN:x\nFN:Jos\xE9\nEND:VCARD\n", 4},
        {"card over the limit", "BEGIN:VCARD\nFN:a\nEND:VCARD\nBEGIN:VCARD\nNOTE:" +
                                    std::string(vcard::MaxCardBytes, 'x') + "\nEND:VCARD\n", 4},
    };
    for (const Case& c : cases) {
        std::vector<MappedCard> mapped;
        vcard::ReadError error;
        EXPECT_FALSE(MapAll(c.text, mapped, error)) << c.what;
        EXPECT_EQ(error.line, c.line) << c.what << ": " << error.message;
        EXPECT_FALSE(error.message.empty()) << c.what;
    }
}

} // namespace
