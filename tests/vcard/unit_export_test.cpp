// Export as vCard 3.0, and the round trip through an empty book.
#include "support/VCardTestSupport.h"

#include "vcard/CardWriter.h"
#include "vcard/Import.h"

#include <random>

using namespace vcardtest;

namespace {

std::unique_ptr<ContactRecord> Contact(const Fields& texts, ce::DATE birthday)
{
    auto record = std::make_unique<ContactRecord>();
    for (FieldId id = 0; id < FieldCount; ++id)
        record->GetField(id)->SetValue(id == FieldBirthday ? u"" : texts[id], id == FieldBirthday ? birthday : 0.0);
    return record;
}

TEST(Export, EveryFieldAsTheTableWritesIt)
{
    // In field order: name, address, telephone, mobile, fax, e-mail, (birthday), company, title,
    // department, office address, telephone and fax, e-mails 2 and 3, web page.
    const Fields texts = {u"Ana, de la Cruz", u"Calle Mayor 1; 2º\nMálaga", u"111", u"222", u"333", u"", u"",
                          u"Acme\\Ibérica", u"Jefa", u"Ventas", u"Gran Via 10", u"444", u"555", u"ana@x.es", u"",
                          u"http://x.es/a,b"};
    const std::string card = vcard::WriteCard(*Contact(texts, MakeDate(1975, 3, 7)));
    EXPECT_EQ(card, "BEGIN:VCARD\r\n"
                    "VERSION:3.0\r\n"
                    "FN:Ana\\, de la Cruz\r\n"
                    "N:Ana\\, de la Cruz;;;;\r\n"
                    "ADR;TYPE=HOME:;;Calle Mayor 1\\; 2º\\nMálaga;;;;\r\n"
                    "TEL;TYPE=HOME,VOICE:111\r\n"
                    "TEL;TYPE=CELL:222\r\n"
                    "TEL;TYPE=HOME,FAX:333\r\n"
                    "EMAIL;TYPE=INTERNET;X-CONTACTS-SLOT=2:ana@x.es\r\n"
                    "BDAY:1975-03-07\r\n"
                    "ORG:Acme\\\\Ibérica;Ventas\r\n"
                    "TITLE:Jefa\r\n"
                    "ADR;TYPE=WORK:;;Gran Via 10;;;;\r\n"
                    "TEL;TYPE=WORK,VOICE:444\r\n"
                    "TEL;TYPE=WORK,FAX:555\r\n"
                    "URL:http://x.es/a\\,b\r\n"
                    "END:VCARD\r\n");

    // Empty fields are left out; a line break of any kind is one "\n".
    Fields sparse;
    sparse[FieldName] = u"Bo", sparse[FieldJobTitle] = u"a\r\nb\rc";
    EXPECT_EQ(vcard::WriteCard(*Contact(sparse, 0.0)),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bo\r\nN:Bo;;;;\r\nTITLE:a\\nb\\nc\r\nEND:VCARD\r\n");
}

TEST(Export, LongLinesFoldAt75OctetsWithoutSplittingACharacter)
{
    Fields texts;
    for (int i = 0; i < 40; ++i)
        texts[FieldName] += i % 3 ? u"王" : u"a";
    texts[FieldWebPage] = u"http://example.com/" + std::u16string(200, u'x');
    const std::string card = vcard::WriteCard(*Contact(texts, 0.0));
    std::string unfolded;
    std::size_t start = 0;
    for (std::size_t end; (end = card.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = card.substr(start, end - start);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << "a bare LF in " << line;
        std::u16string decoded; // whole UTF-8: no line starts or ends inside a character
        vcard::CharsetDecoder utf8;
        EXPECT_TRUE(utf8.Decode("UTF-8", line, decoded)) << line;
        if (!line.empty() && line[0] == ' ')
            unfolded += line.substr(1);
        else
            unfolded += (unfolded.empty() ? "" : "\n") + line;
    }
    EXPECT_EQ(start, card.size()) << "the card ends with CRLF";
    EXPECT_NE(unfolded.find("\nFN:" + ce::Utf16ToUtf8(texts[FieldName]) + "\n"), std::string::npos);
    EXPECT_NE(unfolded.find("\nURL:" + ce::Utf16ToUtf8(texts[FieldWebPage]) + "\n"), std::string::npos);
}

// Text with what vCard must escape, in Latin and Chinese, or empty.
std::u16string RandomText(std::mt19937& random)
{
    static const std::u16string pieces[] = {u"Ana", u"ZOE", u"José", u"王", u"张三", u"李", u",", u";", u"\\",
                                            u"\n", u" ", u"\\n", u"a\\;b", u"é", u"0", u"@", u"\t", u":", u"\"", u"-"};
    std::u16string text;
    const int length = int(random() % 8);
    for (int i = 0; i < length; ++i)
        text += pieces[random() % std::size(pieces)];
    return text;
}

TEST(Export, RoundTripGivesBackEverySixteenFields)
{
    ce::SetACP(936);
    std::mt19937 random(20261207);
    for (int round = 0; round < 20; ++round) {
        // The cards in the order the book took them one by one, many with names
        // of equal keys (every name of the same Chinese initial): the import
        // sorts them itself, and must place them as that insertion did.
        ContactList book;
        std::string cards;
        std::vector<Fields> added;
        int blank = 0;
        for (int i = 0; i < 30; ++i) {
            const bool again = i % 7 == 6 && !added.empty(); // an earlier contact's texts
            Fields texts = again ? added[random() % added.size()] : Fields();
            for (FieldId id = 0; id < FieldCount && !again; ++id)
                texts[id] = RandomText(random);
            const ce::DATE birthday =
                random() % 3 ? MakeDate(1900 + int(random() % 200), 1 + int(random() % 12), 1 + int(random() % 28))
                             : 0.0;
            auto contact = Contact(texts, again ? 0.0 : birthday);
            cards += vcard::WriteCard(*contact);
            // Equal contacts come back as one; a blank one carries nothing.
            const Fields fields = FieldsOf(*contact);
            if (fields == Fields() || std::find(added.begin(), added.end(), fields) != added.end()) {
                blank += fields == Fields();
                continue;
            }
            added.push_back(fields);
            book.InsertSorted(std::move(contact), FieldName);
        }
        ContactList imported;
        vcard::ImportSummary summary;
        vcard::ImportFailure failure;
        ASSERT_TRUE(vcard::ImportCards({{"export.vcf", cards}}, imported, summary, failure))
            << failure.line << ": " << failure.message;
        const std::vector<Fields> expected = FieldsOf(book);
        EXPECT_EQ(FieldsOf(imported), expected) << "round " << round;
        EXPECT_EQ(summary.empty, blank);
    }
    ce::SetACP(0);
}

} // namespace
