#include "vcard/CardWriter.h"

#include "platform/core/FileSystem.h"
#include "platform/core/OleDate.h"

#include <cstdio>

namespace vcard {

namespace {

constexpr std::size_t MaxLineOctets = 75;

std::string Escaped(std::u16string_view text)
{
    std::u16string escaped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\\' || c == u',' || c == u';') {
            escaped += u'\\';
            escaped += c;
        } else if (c == u'\r' || c == u'\n') {
            // CR LF is one line break, like a lone CR or LF.
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            escaped += u"\\n";
        } else {
            escaped += c;
        }
    }
    return ce::Utf16ToUtf8(escaped);
}

// Appends the line folded: no physical line longer than 75 octets, a
// character's UTF-8 bytes never split, each continuation led by a space.
void AppendFolded(std::string& out, std::string_view line)
{
    std::size_t room = MaxLineOctets;
    while (line.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        room = MaxLineOctets - 1;
    }
    out.append(line);
    out += "\r\n";
}

class CardBuilder {
public:
    explicit CardBuilder(const ContactRecord& record) : record(record) {}

    std::string Build();

private:
    std::u16string_view Text(FieldId id) const { return record.GetField(id)->TextValue(); }

    void Add(std::string_view property, std::string_view value) { AppendFolded(card, std::string(property) + ":" + std::string(value)); }

    void AddText(std::string_view property, FieldId id)
    {
        if (!Text(id).empty())
            Add(property, Escaped(Text(id)));
    }

    // The address as one street line: read back, its only component is the whole text.
    void AddAddress(std::string_view property, FieldId id)
    {
        if (!Text(id).empty())
            Add(property, ";;" + Escaped(Text(id)) + ";;;;");
    }

    void AddEmails();
    void AddBirthday();

    const ContactRecord& record;
    std::string card;
};

void CardBuilder::AddEmails()
{
    static constexpr FieldId Emails[] = {FieldEmail, FieldEmail2, FieldEmail3};
    int written = 0;
    for (int slot = 0; slot < 3; ++slot) {
        if (Text(Emails[slot]).empty())
            continue;
        // Behind an empty e-mail the position is said, so that it comes back there.
        const std::string place = written == slot ? "" : ";X-CONTACTS-SLOT=" + std::to_string(slot + 1);
        Add("EMAIL;TYPE=INTERNET" + place, Escaped(Text(Emails[slot])));
        ++written;
    }
}

void CardBuilder::AddBirthday()
{
    ce::SYSTEMTIME time;
    const ce::DATE date = record.GetField(FieldBirthday)->GetDate();
    if (date == 0.0 || !ce::COleDateTime(date).GetAsSystemTime(time))
        return;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", int(time.wYear), int(time.wMonth), int(time.wDay));
    Add("BDAY", text);
}

std::string CardBuilder::Build()
{
    card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    const std::string name = Escaped(Text(FieldName));
    Add("FN", name);
    // The whole name as the family name: readers that compose N show it unchanged.
    Add("N", name + ";;;;");
    AddAddress("ADR;TYPE=HOME", FieldAddress);
    AddText("TEL;TYPE=HOME,VOICE", FieldTelephone);
    AddText("TEL;TYPE=CELL", FieldMobile);
    AddText("TEL;TYPE=HOME,FAX", FieldFax);
    AddEmails();
    AddBirthday();
    if (!Text(FieldCompany).empty() || !Text(FieldDepartment).empty())
        Add("ORG", Escaped(Text(FieldCompany)) + (Text(FieldDepartment).empty() ? "" : ";" + Escaped(Text(FieldDepartment))));
    AddText("TITLE", FieldJobTitle);
    AddAddress("ADR;TYPE=WORK", FieldOfficeAddress);
    AddText("TEL;TYPE=WORK,VOICE", FieldOfficeTelephone);
    AddText("TEL;TYPE=WORK,FAX", FieldOfficeFax);
    AddText("URL", FieldWebPage);
    card += "END:VCARD\r\n";
    return std::move(card);
}

} // namespace

std::string WriteCard(const ContactRecord& record) { return CardBuilder(record).Build(); }

std::string WriteCards(const ContactListBase& list)
{
    std::string out;
    auto guard = list.Lock();
    for (int i = 0; i < list.GetCount(); ++i) {
        if (const ContactRecord* record = list.GetAt(i))
            out += WriteCard(*record);
    }
    return out;
}

} // namespace vcard
