#include "vcard/FieldMapping.h"

#include "platform/core/OleDate.h"

#include <algorithm>
#include <set>

namespace vcard {

namespace {

// Properties that describe the card itself, not the person: nothing to keep.
const std::set<std::string> CardMetadata = {"PRODID", "REV", "UID", "KIND", "SOURCE", "NAME", "PROFILE",
                                            "CLIENTPIDMAP", "SORT-STRING", "X-ABUID", "X-ABLABEL"};

bool IsIdeograph(char16_t c)
{
    return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xD840 && c <= 0xD87F);
}

std::u16string JoinNonEmpty(std::initializer_list<std::u16string_view> parts, std::u16string_view separator)
{
    std::u16string joined;
    for (std::u16string_view part : parts) {
        if (part.empty())
            continue;
        if (!joined.empty())
            joined += separator;
        joined += part;
    }
    return joined;
}

std::u16string WithoutScheme(std::u16string text, std::u16string_view scheme)
{
    if (text.size() < scheme.size())
        return text;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        const char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? char16_t(text[i] + 32) : text[i];
        if (c != scheme[i])
            return text;
    }
    return text.substr(scheme.size());
}

std::u16string AddressText(const Property& adr)
{
    std::u16string joined;
    for (const std::u16string& component : adr.components) {
        if (component.empty())
            continue;
        if (!joined.empty())
            joined += u", ";
        joined += component;
    }
    return joined.empty() ? adr.label : joined;
}

// The candidates in the order they are taken: the most preferred first,
// then in the order of the card.
std::vector<const Property*> ByPreference(std::vector<const Property*> candidates)
{
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Property* a, const Property* b) { return a->preference < b->preference; });
    return candidates;
}

class CardMapper {
public:
    explicit CardMapper(MappedCard& mapped) : mapped(mapped) {}

    void Map(const std::vector<Property>& properties);

private:
    template <class Test>
    std::vector<const Property*> Select(const std::vector<const Property*>& from, Test test) const
    {
        std::vector<const Property*> chosen;
        for (const Property* p : from) {
            if (!p->binary && !used.count(p) && test(*p))
                chosen.push_back(p);
        }
        return ByPreference(chosen);
    }

    void Take(FieldId field, const Property& from, std::u16string text)
    {
        mapped.text[field] = std::move(text);
        mapped.source[field] = from.name;
        mapped.line[field] = from.line;
        used.insert(&from);
    }

    template <class Test>
    void TakeFirst(FieldId field, const std::vector<const Property*>& from, Test test,
                   std::u16string (*textOf)(const Property&))
    {
        const std::vector<const Property*> candidates = Select(from, test);
        if (!candidates.empty())
            Take(field, *candidates.front(), textOf(*candidates.front()));
    }

    void MapName();
    void MapAddresses();
    void MapTelephones();
    void MapEmails();
    void MapBirthday();
    void MapOrganization();

    MappedCard& mapped;
    std::map<std::string, std::vector<const Property*>> byName;
    std::set<const Property*> used;
    std::set<const Property*> accountedFor; // used up without a field of their own
};

std::u16string PlainText(const Property& p) { return p.Text(); }

std::u16string TelephoneNumber(const Property& p) { return WithoutScheme(p.Text(), u"tel:"); }

// Without any of the telephone types that vCard defines, a telephone is a
// voice telephone; other types ("X-CUSTOM", "MAIN") say nothing to this program.
bool IsUntypedTelephone(const Property& p)
{
    static const std::set<std::string> Known = {"HOME", "WORK",  "VOICE", "FAX", "CELL", "PAGER", "MSG",      "VIDEO",
                                                "BBS",  "MODEM", "CAR",   "ISDN", "PCS", "TEXT",  "TEXTPHONE"};
    return std::none_of(p.types.begin(), p.types.end(), [](const std::string& type) { return Known.count(type); });
}

void CardMapper::MapName()
{
    TakeFirst(FieldName, byName["FN"], [](const Property&) { return true; }, PlainText);
    // N is the same name in parts: it serves only when FN is missing.
    for (const Property* n : byName["N"]) {
        if (mapped.source[FieldName].empty())
            Take(FieldName, *n, ComposeName(n->components));
        accountedFor.insert(n);
    }
}

void CardMapper::MapAddresses()
{
    const auto& adr = byName["ADR"];
    TakeFirst(FieldAddress, adr, [](const Property& p) { return p.HasType("HOME"); }, AddressText);
    if (mapped.source[FieldAddress].empty())
        TakeFirst(FieldAddress, adr, [](const Property& p) { return !p.HasType("WORK"); }, AddressText);
    TakeFirst(FieldOfficeAddress, adr, [](const Property& p) { return p.HasType("WORK"); }, AddressText);

    // A 2.1 or 3.0 LABEL is the printed form of an address: it stands in
    // only where no ADR gave one, and otherwise repeats it.
    const auto& labels = byName["LABEL"];
    if (mapped.source[FieldAddress].empty())
        TakeFirst(FieldAddress, labels, [](const Property& p) { return !p.HasType("WORK"); }, PlainText);
    if (mapped.source[FieldOfficeAddress].empty())
        TakeFirst(FieldOfficeAddress, labels, [](const Property& p) { return p.HasType("WORK"); }, PlainText);
    if (!adr.empty())
        accountedFor.insert(labels.begin(), labels.end());
}

void CardMapper::MapTelephones()
{
    const auto& tel = byName["TEL"];
    auto cell = [](const Property& p) { return p.HasType("CELL"); };
    auto fax = [](const Property& p) { return p.HasType("FAX") && !p.HasType("CELL"); };
    TakeFirst(FieldMobile, tel, cell, TelephoneNumber);
    TakeFirst(FieldFax, tel, [&](const Property& p) { return fax(p) && !p.HasType("WORK"); }, TelephoneNumber);
    TakeFirst(FieldOfficeFax, tel, [&](const Property& p) { return fax(p) && p.HasType("WORK"); }, TelephoneNumber);
    TakeFirst(FieldOfficeTelephone, tel,
              [](const Property& p) { return p.HasType("WORK") && !p.HasType("FAX") && !p.HasType("CELL"); },
              TelephoneNumber);
    TakeFirst(FieldTelephone, tel,
              [](const Property& p) {
                  return (p.HasType("HOME") || p.HasType("VOICE") || IsUntypedTelephone(p)) && !p.HasType("CELL") &&
                         !p.HasType("FAX") && !p.HasType("WORK");
              },
              TelephoneNumber);
}

void CardMapper::MapEmails()
{
    static constexpr FieldId Slots[] = {FieldEmail, FieldEmail2, FieldEmail3};
    auto address = [](const Property& p) { return WithoutScheme(p.Text(), u"mailto:"); };
    // An e-mail that this program wrote behind an empty one keeps its place.
    for (const Property* p : byName["EMAIL"]) {
        if (p->slot >= 1 && p->slot <= 3 && mapped.source[Slots[p->slot - 1]].empty())
            Take(Slots[p->slot - 1], *p, address(*p));
    }
    const std::vector<const Property*> rest = Select(byName["EMAIL"], [](const Property&) { return true; });
    auto next = rest.begin();
    for (FieldId slot : Slots) {
        if (mapped.source[slot].empty() && next != rest.end()) {
            Take(slot, **next, address(**next));
            ++next;
        }
    }
}

void CardMapper::MapBirthday()
{
    for (const Property* p : byName["BDAY"]) {
        const ce::DATE date = p->valueType == "TEXT" ? 0.0 : ParseBirthday(p->Text(), p->omitYear);
        if (date == 0.0 || !mapped.source[FieldBirthday].empty())
            continue;
        mapped.birthday = date;
        mapped.source[FieldBirthday] = p->name;
        mapped.line[FieldBirthday] = p->line;
        used.insert(p);
    }
}

void CardMapper::MapOrganization()
{
    const std::vector<const Property*> orgs = Select(byName["ORG"], [](const Property&) { return true; });
    if (orgs.empty())
        return;
    const Property& org = *orgs.front();
    used.insert(&org);
    if (!org.components.empty() && !org.components[0].empty())
        Take(FieldCompany, org, org.components[0]);
    if (org.components.size() > 1 && !org.components[1].empty())
        Take(FieldDepartment, org, org.components[1]);
    // Further units of the organisation have no field.
    if (std::any_of(org.components.begin() + std::min<std::size_t>(2, org.components.size()), org.components.end(),
                    [](const std::u16string& c) { return !c.empty(); }))
        ++mapped.unmapped["ORG"];
}

void CardMapper::Map(const std::vector<Property>& properties)
{
    for (const Property& p : properties) {
        if (!p.IsEmpty() && !CardMetadata.count(p.name))
            byName[p.name].push_back(&p);
    }
    MapName();
    MapAddresses();
    MapTelephones();
    MapEmails();
    MapBirthday();
    MapOrganization();
    auto first = [](const Property&) { return true; };
    TakeFirst(FieldJobTitle, byName["TITLE"], first, PlainText);
    TakeFirst(FieldWebPage, byName["URL"], first, PlainText);

    for (const auto& [name, list] : byName) {
        for (const Property* p : list) {
            if (!used.count(p) && !accountedFor.count(p))
                ++mapped.unmapped[name];
        }
    }
}

} // namespace

std::u16string ComposeName(const std::vector<std::u16string>& parts)
{
    auto part = [&parts](std::size_t i) { return i < parts.size() ? std::u16string_view(parts[i]) : u""; };
    const std::u16string_view family = part(0), given = part(1), additional = part(2);
    if (!family.empty() && IsIdeograph(family.front())) {
        const std::u16string core = std::u16string(family) + std::u16string(given) + std::u16string(additional);
        return JoinNonEmpty({part(3), core, part(4)}, u" ");
    }
    return JoinNonEmpty({part(3), given, additional, family, part(4)}, u" ");
}

ce::DATE ParseBirthday(std::u16string_view value, std::string_view omittedYear)
{
    std::string text;
    for (char16_t c : value) {
        if (c >= 0x80)
            return 0.0;
        text += char(c);
    }
    text = text.substr(0, text.find_first_of("T "));
    if (text.size() == 10 && text[4] == '-' && text[7] == '-')
        text.erase(7, 1).erase(4, 1);
    if (text.size() != 8 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0.0;
    if (!omittedYear.empty() && text.substr(0, 4) == omittedYear)
        return 0.0;
    ce::SYSTEMTIME time;
    time.wYear = ce::WORD(std::stoi(text.substr(0, 4)));
    time.wMonth = ce::WORD(std::stoi(text.substr(4, 2)));
    time.wDay = ce::WORD(std::stoi(text.substr(6, 2)));
    const ce::COleDateTime date(time);
    return date.GetStatus() == ce::COleDateTime::valid && time.wYear > 0 ? date.m_dt : 0.0;
}

bool MapCard(const RawCard& card, PropertyDecoder& decoder, MappedCard& mapped, ReadError& error)
{
    mapped = MappedCard();
    std::vector<Property> properties(card.properties.size());
    for (std::size_t i = 0; i < card.properties.size(); ++i) {
        if (!decoder.Decode(card.properties[i], card.version, properties[i], error))
            return false;
    }
    CardMapper(mapped).Map(properties);
    if (card.nestedCards > 0)
        mapped.unmapped["AGENT"] += card.nestedCards;
    return true;
}

} // namespace vcard
