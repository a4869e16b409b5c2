#include "vcard/CardWriter.h"

#include "platform/core/FileSystem.h"
#include "platform/core/OleDate.h"

#include <cstdio>

namespace vcard {

namespace {

constexpr std::size_t MaxLineOctets = 75;

// Appends the text escaped, in UTF-8.
void AppendEscaped(std::string& out, std::u16string_view text)
{
    std::size_t plain = 0; // start of the run not yet appended
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c != u'\\' && c != u',' && c != u';' && c != u'\r' && c != u'\n')
            continue;
        ce::AppendUtf8(out, text.substr(plain, i - plain));
        if (c == u'\r' || c == u'\n') {
            // CR LF is one line break, like a lone CR or LF.
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += "\\n";
        } else {
            out += '\\';
            out += char(c);
        }
        plain = i + 1;
    }
    ce::AppendUtf8(out, text.substr(plain));
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
    CardBuilder(const ContactRecord& record, std::string& card) : record(record), card(card) {}

    // Appends the card.
    void Build();

private:
    std::u16string_view Text(FieldId id) const { return record.GetField(id)->TextValue(); }

    // The line is made at the card's end and folded there when it is too long.
    void Begin(std::string_view property)
    {
        lineStart = card.size();
        card += property;
        card += ':';
    }
    void End()
    {
        if (card.size() - lineStart <= MaxLineOctets) {
            card += "\r\n";
            return;
        }
        line.assign(card, lineStart);
        card.resize(lineStart);
        AppendFolded(card, line);
    }

    void AddText(std::string_view property, FieldId id)
    {
        if (Text(id).empty())
            return;
        Begin(property);
        AppendEscaped(card, Text(id));
        End();
    }

    // The address as one street line: read back, its only component is the whole text.
    void AddAddress(std::string_view property, FieldId id)
    {
        if (Text(id).empty())
            return;
        Begin(property);
        card += ";;";
        AppendEscaped(card, Text(id));
        card += ";;;;";
        End();
    }

    void AddName();
    void AddEmails();
    void AddBirthday();
    void AddOrganisation();

    const ContactRecord& record;
    std::string& card;
    std::size_t lineStart = 0;
    std::string line; // a line too long for one physical line, while it is folded
};

void CardBuilder::AddName()
{
    Begin("FN");
    AppendEscaped(card, Text(FieldName));
    const std::string name = card.substr(lineStart + 3);
    End();
    // The whole name as the family name: readers that compose N show it unchanged.
    Begin("N");
    card += name;
    card += ";;;;";
    End();
}

void CardBuilder::AddEmails()
{
    static constexpr FieldId Emails[] = {FieldEmail, FieldEmail2, FieldEmail3};
    int written = 0;
    for (int slot = 0; slot < 3; ++slot) {
        if (Text(Emails[slot]).empty())
            continue;
        // Behind an empty e-mail the position is said, so that it comes back there.
        Begin(written == slot ? "EMAIL;TYPE=INTERNET" : "EMAIL;TYPE=INTERNET;X-CONTACTS-SLOT=" + std::to_string(slot + 1));
        AppendEscaped(card, Text(Emails[slot]));
        End();
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
    Begin("BDAY");
    card += text;
    End();
}

void CardBuilder::AddOrganisation()
{
    if (Text(FieldCompany).empty() && Text(FieldDepartment).empty())
        return;
    Begin("ORG");
    AppendEscaped(card, Text(FieldCompany));
    if (!Text(FieldDepartment).empty()) {
        card += ';';
        AppendEscaped(card, Text(FieldDepartment));
    }
    End();
}

void CardBuilder::Build()
{
    card += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    AddName();
    AddAddress("ADR;TYPE=HOME", FieldAddress);
    AddText("TEL;TYPE=HOME,VOICE", FieldTelephone);
    AddText("TEL;TYPE=CELL", FieldMobile);
    AddText("TEL;TYPE=HOME,FAX", FieldFax);
    AddEmails();
    AddBirthday();
    AddOrganisation();
    AddText("TITLE", FieldJobTitle);
    AddAddress("ADR;TYPE=WORK", FieldOfficeAddress);
    AddText("TEL;TYPE=WORK,VOICE", FieldOfficeTelephone);
    AddText("TEL;TYPE=WORK,FAX", FieldOfficeFax);
    AddText("URL", FieldWebPage);
    card += "END:VCARD\r\n";
}

} // namespace

std::string WriteCard(const ContactRecord& record)
{
    std::string card;
    CardBuilder(record, card).Build();
    return card;
}

std::string WriteCards(const ContactListBase& list)
{
    auto guard = list.Lock();
    // The text is made in one block: grown by doubling, a book's cards would
    // take fresh pages of about twice their size and be copied at each step.
    std::size_t estimate = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (const ContactRecord* record = list.GetAt(i)) {
            estimate += 64; // the card's frame and its N line
            for (FieldId id = 0; id < FieldCount; ++id) {
                if (const std::size_t size = record->GetField(id)->TextValue().size())
                    estimate += size + 24; // the property and its line end
            }
        }
    }
    std::string out;
    out.reserve(estimate);
    for (int i = 0; i < list.GetCount(); ++i) {
        if (const ContactRecord* record = list.GetAt(i))
            CardBuilder(*record, out).Build();
    }
    return out;
}

} // namespace vcard
