#include "vcard/Import.h"

#include "platform/core/CodePage.h"
#include "platform/core/OleDate.h"
#include "vcard/FieldMapping.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace vcard {

namespace {

// A birthday as its text shows it: the day alone, 0 for none.
int DayOf(const ContactField& birthday)
{
    ce::SYSTEMTIME time;
    const ce::DATE date = birthday.GetDate();
    if (date == 0.0 || !ce::COleDateTime(date).GetAsSystemTime(time))
        return 0;
    return time.wYear * 10000 + time.wMonth * 100 + time.wDay;
}

// Records whose 16 fields, as shown, are equal; letter case counts.
struct SameFields {
    bool operator()(const ContactRecord* a, const ContactRecord* b) const
    {
        for (FieldId id = 0; id < FieldCount; ++id) {
            const ContactField& fa = *a->GetField(id);
            const ContactField& fb = *b->GetField(id);
            if (id == FieldBirthday ? DayOf(fa) != DayOf(fb) : fa.TextValue() != fb.TextValue())
                return false;
        }
        return true;
    }
};

// Of the texts only: equal records hash alike whatever their birthdays'
// times of day, and the day is worked out only for records that hash alike.
struct FieldsHash {
    std::size_t operator()(const ContactRecord* record) const
    {
        std::size_t hash = 0;
        for (FieldId id = 0; id < FieldCount; ++id) {
            if (id != FieldBirthday)
                hash = hash * 1000003u ^ std::hash<std::u16string_view>()(record->GetField(id)->TextValue());
        }
        return hash;
    }
};

// The contacts met so far, by their 16 fields: open addressing, each
// record's hash beside it, so that most look-ups read one slot.
class KnownContacts {
public:
    explicit KnownContacts(std::size_t expected) { Resize(expected * 2); }

    // False when an equal contact is known already.
    bool Insert(const ContactRecord* record)
    {
        if ((count + 1) * 2 > slots.size())
            Resize(slots.size() * 2);
        const std::size_t hash = FieldsHash()(record);
        for (std::size_t i = hash & (slots.size() - 1);; i = (i + 1) & (slots.size() - 1)) {
            Slot& slot = slots[i];
            if (!slot.record) {
                slot = {hash, record};
                ++count;
                return true;
            }
            if (slot.hash == hash && SameFields()(slot.record, record))
                return false;
        }
    }

private:
    struct Slot {
        std::size_t hash = 0;
        const ContactRecord* record = nullptr;
    };

    void Resize(std::size_t wanted)
    {
        std::size_t size = 64;
        while (size < wanted)
            size *= 2;
        std::vector<Slot> old(size);
        old.swap(slots);
        for (const Slot& slot : old) {
            if (!slot.record)
                continue;
            std::size_t i = slot.hash & (size - 1);
            while (slots[i].record)
                i = (i + 1) & (size - 1);
            slots[i] = slot;
        }
    }

    std::vector<Slot> slots;
    std::size_t count = 0;
};

bool IsAscii(std::u16string_view text)
{
    char16_t any = 0;
    for (const char16_t unit : text)
        any |= unit;
    return any < 0x80;
}

// What each character becomes in the ANSI code page and back, learnt once
// for each. A text's characters become the same in any text: the code pages
// encode character by character and read their bytes back the same way,
// except those that join a letter and a combining mark into one character.
class StoredCharacters {
public:
    StoredCharacters() : codePage(ce::GetACP()) {}

    // Appends the text as the data file will give it back: cut at a NUL,
    // characters missing from the code page as its default character.
    void Append(std::u16string& units, std::u16string_view text, bool& changed)
    {
        const std::u16string_view stored = text.substr(0, text.find(u'\0'));
        changed = stored.size() != text.size();
        if (IsAscii(stored)) {
            units += stored;
            return;
        }
        const std::size_t start = units.size();
        if (AppendEach(units, stored, changed))
            return;
        units.resize(start);
        const std::u16string back = ce::AnsiToWide(ce::WideToAnsi(stored));
        changed = changed || back != stored;
        units += back;
    }

private:
    static constexpr char16_t Unknown = 0;
    static constexpr char16_t Whole = 0xD800; // changes otherwise than alone: convert the whole text

    // False when some character must be converted with the text around it.
    bool AppendEach(std::u16string& units, std::u16string_view text, bool& changed)
    {
        if (codePage == 1255 || codePage == 1258)
            return false;
        if (becomes.empty())
            becomes.resize(0x10000, Unknown);
        for (const char16_t unit : text) {
            if (unit >= 0xD800 && unit <= 0xDFFF)
                return false;
            char16_t& back = becomes[unit];
            if (back == Unknown)
                back = Alone(unit);
            if (back == Whole)
                return false;
            changed = changed || back != unit;
            units += back;
        }
        return true;
    }

    // The character itself or the default character; any other outcome asks for the whole text.
    static char16_t Alone(char16_t unit)
    {
        const std::u16string back = ce::AnsiToWide(ce::WideToAnsi(std::u16string_view(&unit, 1)));
        return back.size() == 1 && (back[0] == unit || back[0] == u'?') ? back[0] : Whole;
    }

    unsigned codePage;
    std::vector<char16_t> becomes; // by character, once a text needs it
};

std::unique_ptr<ContactRecord> StoredRecord(const MappedCard& card, std::map<std::string, int>& unstorable,
                                            StoredCharacters& characters, std::u16string& units)
{
    auto record = std::make_unique<ContactRecord>();
    units.clear();
    std::uint32_t ends[FieldCount];
    for (FieldId id = 0; id < FieldCount; ++id) {
        if (id != FieldBirthday && !card.text[id].empty()) {
            bool changed = false;
            characters.Append(units, card.text[id], changed);
            if (changed)
                ++unstorable[card.source[id]];
        }
        ends[id] = std::uint32_t(units.size());
    }
    record->AssignTexts(units, ends);
    record->GetField(FieldBirthday)->SetValue(std::u16string(), card.birthday);
    return record;
}

bool IsBlank(const ContactRecord& record)
{
    for (FieldId id = 0; id < FieldCount; ++id) {
        if (!record.GetField(id)->IsEmpty())
            return false;
    }
    return true;
}

} // namespace

std::unique_ptr<ContactRecord> RecordFromCard(const MappedCard& card, std::map<std::string, int>& unstorable)
{
    StoredCharacters characters;
    std::u16string units;
    return StoredRecord(card, unstorable, characters, units);
}

bool ImportCards(const std::vector<SourceFile>& files, ContactList& list, ImportSummary& summary,
                 ImportFailure& failure)
{
    summary = ImportSummary();
    PropertyDecoder decoder(ce::GetACP());
    // The book's records are compared with, so it stays as it is until the cards join it.
    auto guard = list.Lock();
    KnownContacts known(std::size_t(list.GetCount()));
    for (int i = 0; i < list.GetCount(); ++i) {
        if (const ContactRecord* record = list.GetAt(i))
            known.Insert(record);
    }
    // Each card becomes its record at once: a record is far smaller than its card.
    std::vector<std::unique_ptr<ContactRecord>> batch;
    CardMapping mapping(decoder);
    StoredCharacters characters;
    std::u16string units;
    RawCard card;
    MappedCard mapped;
    for (const SourceFile& file : files) {
        CardStream cards(file.bytes);
        ReadError error;
        auto fail = [&] {
            failure = {file.name, error.line, error.message};
            summary = ImportSummary();
            return false;
        };
        while (cards.Next(card, error)) {
            if (!mapping.Map(card, mapped, error))
                return fail();
            for (const auto& [property, count] : mapped.unmapped)
                summary.unmapped[property] += count;
            std::map<std::string, int> unstorable;
            std::unique_ptr<ContactRecord> record = StoredRecord(mapped, unstorable, characters, units);
            if (IsBlank(*record)) {
                ++summary.empty;
                continue;
            }
            if (!known.Insert(record.get())) {
                ++summary.duplicates;
                continue;
            }
            batch.push_back(std::move(record));
            ++summary.imported;
            for (const auto& [property, count] : unstorable)
                summary.unstorable[property] += count;
        }
        if (cards.Failed())
            return fail();
    }
    list.InsertSortedAll(std::move(batch), FieldName);
    return true;
}

} // namespace vcard
