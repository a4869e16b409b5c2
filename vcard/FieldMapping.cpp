#include "vcard/FieldMapping.h"

#include "platform/core/OleDate.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace vcard {

namespace {

// The properties that give fields, each with the list of its values in a card.
enum PropertyKind { KindFn, KindN, KindAdr, KindLabel, KindTel, KindEmail, KindBday, KindOrg, KindTitle, KindUrl, KindCount };
constexpr std::string_view KindNames[KindCount] = {"FN", "N", "ADR", "LABEL", "TEL", "EMAIL", "BDAY", "ORG", "TITLE", "URL"};

// Properties that describe the card itself, not the person: nothing to keep.
constexpr std::string_view CardMetadata[] = {"PRODID", "REV",          "UID",         "KIND",    "SOURCE",   "NAME",
                                             "PROFILE", "CLIENTPIDMAP", "SORT-STRING", "X-ABUID", "X-ABLABEL"};

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::string_view (&names)[N])
{
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

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

std::u16string_view WithoutScheme(std::u16string_view text, std::u16string_view scheme)
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

void AddressText(const Property& adr, std::u16string& joined)
{
    for (const std::u16string& component : adr.components) {
        if (component.empty())
            continue;
        if (!joined.empty())
            joined += u", ";
        joined += component;
    }
    if (joined.empty())
        joined = adr.label;
}

void PlainText(const Property& p, std::u16string& text) { text = p.Text(); }

void TelephoneNumber(const Property& p, std::u16string& text) { text = WithoutScheme(p.Text(), u"tel:"); }

std::u16string_view EmailAddress(const Property& p) { return WithoutScheme(p.Text(), u"mailto:"); }

// Without any of the telephone types that vCard defines, a telephone is a
// voice telephone; other types ("X-CUSTOM", "MAIN") say nothing to this program.
bool IsUntypedTelephone(const Property& p) { return p.types == 0; }

constexpr unsigned char Used = 1;        // gave a field
constexpr unsigned char AccountedFor = 2; // used up without a field of its own

} // namespace

struct CardMapping::Lists {
    std::vector<const Property*> byKind[KindCount]; // in the order of the card
    std::vector<const Property*> kept;              // every property but the empty and the card's own
    std::vector<unsigned char> marks;               // Used and AccountedFor, by the property's place
    std::vector<const Property*> chosen;
};

namespace {

class CardMapper {
public:
    CardMapper(MappedCard& mapped, CardMapping::Lists& lists, const Property* first, std::size_t count)
        : mapped(mapped), lists(lists), first(first)
    {
        for (auto& list : lists.byKind)
            list.clear();
        lists.kept.clear();
        lists.marks.assign(count, 0);
        for (const Property* p = first; p != first + count; ++p) {
            if (p->IsEmpty())
                continue;
            const auto kind = std::find(std::begin(KindNames), std::end(KindNames), p->name);
            if (kind != std::end(KindNames))
                lists.byKind[kind - std::begin(KindNames)].push_back(p);
            else if (IsOneOf(p->name, CardMetadata))
                continue;
            lists.kept.push_back(p);
        }
    }

    void Map();

private:
    const std::vector<const Property*>& Of(PropertyKind kind) const { return lists.byKind[kind]; }
    unsigned char& Marks(const Property& p) { return lists.marks[std::size_t(&p - first)]; }
    bool IsCandidate(const Property& p) { return !p.binary && !(Marks(p) & Used); }

    // The most preferred candidate that passes the test, the first of the card among equals.
    template <class Test>
    const Property* First(const std::vector<const Property*>& from, Test test)
    {
        const Property* best = nullptr;
        for (const Property* p : from) {
            if (IsCandidate(*p) && test(*p) && (!best || p->preference < best->preference))
                best = p;
        }
        return best;
    }

    // Every candidate, the most preferred first, then in the order of the card.
    const std::vector<const Property*>& ByPreference(const std::vector<const Property*>& from)
    {
        std::vector<const Property*>& chosen = lists.chosen;
        chosen.clear();
        for (const Property* p : from) {
            if (!IsCandidate(*p))
                continue;
            auto place = chosen.end();
            while (place != chosen.begin() && (*(place - 1))->preference > p->preference)
                --place;
            chosen.insert(place, p);
        }
        return chosen;
    }

    void Mark(FieldId field, const Property& from)
    {
        mapped.source[field] = from.name;
        mapped.line[field] = from.line;
        Marks(from) |= Used;
    }

    void Take(FieldId field, const Property& from, std::u16string_view text)
    {
        mapped.text[field] = text;
        Mark(field, from);
    }

    template <class Test, class TextOf>
    void TakeFirst(FieldId field, PropertyKind kind, Test test, TextOf textOf)
    {
        if (const Property* p = First(Of(kind), test)) {
            mapped.text[field].clear();
            textOf(*p, mapped.text[field]);
            Mark(field, *p);
        }
    }

    void MapName();
    void MapAddresses();
    void MapTelephones();
    void MapEmails();
    void MapBirthday();
    void MapOrganization();

    MappedCard& mapped;
    CardMapping::Lists& lists;
    const Property* first;
};

bool Any(const Property&) { return true; }

void CardMapper::MapName()
{
    TakeFirst(FieldName, KindFn, Any, PlainText);
    // N is the same name in parts: it serves only when FN is missing.
    for (const Property* n : Of(KindN)) {
        if (mapped.source[FieldName].empty())
            Take(FieldName, *n, ComposeName(n->components));
        Marks(*n) |= AccountedFor;
    }
}

void CardMapper::MapAddresses()
{
    TakeFirst(FieldAddress, KindAdr, [](const Property& p) { return p.HasType(TypeHome); }, AddressText);
    if (mapped.source[FieldAddress].empty())
        TakeFirst(FieldAddress, KindAdr, [](const Property& p) { return !p.HasType(TypeWork); }, AddressText);
    TakeFirst(FieldOfficeAddress, KindAdr, [](const Property& p) { return p.HasType(TypeWork); }, AddressText);

    // A 2.1 or 3.0 LABEL is the printed form of an address: it stands in
    // only where no ADR gave one, and otherwise repeats it.
    if (mapped.source[FieldAddress].empty())
        TakeFirst(FieldAddress, KindLabel, [](const Property& p) { return !p.HasType(TypeWork); }, PlainText);
    if (mapped.source[FieldOfficeAddress].empty())
        TakeFirst(FieldOfficeAddress, KindLabel, [](const Property& p) { return p.HasType(TypeWork); }, PlainText);
    if (!Of(KindAdr).empty()) {
        for (const Property* label : Of(KindLabel))
            Marks(*label) |= AccountedFor;
    }
}

void CardMapper::MapTelephones()
{
    auto cell = [](const Property& p) { return p.HasType(TypeCell); };
    auto fax = [](const Property& p) { return p.HasType(TypeFax) && !p.HasType(TypeCell); };
    TakeFirst(FieldMobile, KindTel, cell, TelephoneNumber);
    TakeFirst(FieldFax, KindTel, [&](const Property& p) { return fax(p) && !p.HasType(TypeWork); }, TelephoneNumber);
    TakeFirst(FieldOfficeFax, KindTel, [&](const Property& p) { return fax(p) && p.HasType(TypeWork); }, TelephoneNumber);
    TakeFirst(FieldOfficeTelephone, KindTel,
              [](const Property& p) { return p.HasType(TypeWork) && !p.HasType(TypeFax) && !p.HasType(TypeCell); },
              TelephoneNumber);
    TakeFirst(FieldTelephone, KindTel,
              [](const Property& p) {
                  return (p.HasType(TypeHome) || p.HasType(TypeVoice) || IsUntypedTelephone(p)) && !p.HasType(TypeCell) &&
                         !p.HasType(TypeFax) && !p.HasType(TypeWork);
              },
              TelephoneNumber);
}

void CardMapper::MapEmails()
{
    static constexpr FieldId Slots[] = {FieldEmail, FieldEmail2, FieldEmail3};
    // An e-mail that this program wrote behind an empty one keeps its place.
    for (const Property* p : Of(KindEmail)) {
        if (p->slot >= 1 && p->slot <= 3 && mapped.source[Slots[p->slot - 1]].empty())
            Take(Slots[p->slot - 1], *p, EmailAddress(*p));
    }
    const std::vector<const Property*>& rest = ByPreference(Of(KindEmail));
    auto next = rest.begin();
    for (FieldId slot : Slots) {
        if (mapped.source[slot].empty() && next != rest.end()) {
            Take(slot, **next, EmailAddress(**next));
            ++next;
        }
    }
}

void CardMapper::MapBirthday()
{
    for (const Property* p : Of(KindBday)) {
        const ce::DATE date = p->valueType == "TEXT" ? 0.0 : ParseBirthday(p->Text(), p->omitYear);
        if (date == 0.0 || !mapped.source[FieldBirthday].empty())
            continue;
        mapped.birthday = date;
        Mark(FieldBirthday, *p);
    }
}

void CardMapper::MapOrganization()
{
    const Property* chosen = First(Of(KindOrg), Any);
    if (!chosen)
        return;
    const Property& org = *chosen;
    Marks(org) |= Used;
    if (!org.components.empty() && !org.components[0].empty())
        Take(FieldCompany, org, org.components[0]);
    if (org.components.size() > 1 && !org.components[1].empty())
        Take(FieldDepartment, org, org.components[1]);
    // Further units of the organisation have no field.
    if (std::any_of(org.components.begin() + std::min<std::size_t>(2, org.components.size()), org.components.end(),
                    [](const std::u16string& c) { return !c.empty(); }))
        ++mapped.unmapped["ORG"];
}

void CardMapper::Map()
{
    MapName();
    MapAddresses();
    MapTelephones();
    MapEmails();
    MapBirthday();
    MapOrganization();
    TakeFirst(FieldJobTitle, KindTitle, Any, PlainText);
    TakeFirst(FieldWebPage, KindUrl, Any, PlainText);

    for (const Property* p : lists.kept) {
        if (!Marks(*p))
            ++mapped.unmapped[p->name];
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
    if (std::any_of(value.begin(), value.end(), [](char16_t c) { return c >= 0x80; }))
        return 0.0;
    // The date alone, without a time or what follows a space; 8 digits, or 10 with dashes.
    const std::u16string_view date = value.substr(0, std::min(value.find(u'T'), value.find(u' ')));
    char digits[8];
    if (date.size() == 10 && date[4] == u'-' && date[7] == u'-') {
        for (std::size_t from = 0, to = 0; from < 10; ++from) {
            if (from != 4 && from != 7)
                digits[to++] = char(date[from]);
        }
    } else if (date.size() == 8) {
        std::copy(date.begin(), date.end(), digits);
    } else {
        return 0.0;
    }
    if (!std::all_of(digits, digits + 8, [](char c) { return c >= '0' && c <= '9'; }))
        return 0.0;
    if (!omittedYear.empty() && std::string_view(digits, 4) == omittedYear)
        return 0.0;
    auto number = [&digits](std::size_t from, std::size_t count) {
        int n = 0;
        for (std::size_t i = from; i < from + count; ++i)
            n = n * 10 + (digits[i] - '0');
        return ce::WORD(n);
    };
    ce::SYSTEMTIME time;
    time.wYear = number(0, 4);
    time.wMonth = number(4, 2);
    time.wDay = number(6, 2);
    const ce::COleDateTime parsed(time);
    return parsed.GetStatus() == ce::COleDateTime::valid && time.wYear > 0 ? parsed.m_dt : 0.0;
}

void MappedCard::Clear()
{
    for (FieldId id = 0; id < FieldCount; ++id) {
        text[id].clear();
        source[id].clear();
        line[id] = 0;
    }
    birthday = 0.0;
    unmapped.clear();
}

CardMapping::CardMapping(PropertyDecoder& decoder) : decoder(decoder), lists(std::make_unique<Lists>()) {}

CardMapping::~CardMapping() = default;

bool CardMapping::Map(const RawCard& card, MappedCard& mapped, ReadError& error)
{
    mapped.Clear();
    const std::size_t count = card.properties.size();
    if (properties.size() < count)
        properties.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (!decoder.Decode(card.properties[i], card.version, properties[i], error))
            return false;
    }
    CardMapper(mapped, *lists, properties.data(), count).Map();
    if (card.nestedCards > 0)
        mapped.unmapped["AGENT"] += card.nestedCards;
    return true;
}

bool MapCard(const RawCard& card, PropertyDecoder& decoder, MappedCard& mapped, ReadError& error)
{
    return CardMapping(decoder).Map(card, mapped, error);
}

} // namespace vcard
