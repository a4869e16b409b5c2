#include "vcard/Import.h"

#include "data/NameCollation.h"
#include "platform/core/CodePage.h"
#include "platform/core/OleDate.h"
#include "vcard/FieldMapping.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace vcard {

namespace {

// A birthday as its text shows it: the day alone, 0 for none.
int DayOf(ce::DATE date)
{
    ce::SYSTEMTIME time;
    if (date == 0.0 || !ce::COleDateTime(date).GetAsSystemTime(time))
        return 0;
    return time.wYear * 10000 + time.wMonth * 100 + time.wDay;
}

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
        // One pass finds whether the text is ASCII and holds a NUL, which most do not.
        char16_t any = 0;
        bool nul = false;
        for (const char16_t unit : text) {
            any |= unit;
            nul |= unit == u'\0';
        }
        const std::u16string_view stored = nul ? text.substr(0, text.find(u'\0')) : text;
        changed = stored.size() != text.size();
        if (any < 0x80 || (nul && IsAscii(stored))) {
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

// Appends the card's texts as the data file will hold them, one after
// another; ends[id] is where the text of field id ends, counted from where
// the first begins.
void StoredTexts(const MappedCard& card, std::map<std::string, int>& unstorable, StoredCharacters& characters,
                 std::u16string& units, std::uint32_t ends[FieldCount])
{
    const std::size_t start = units.size();
    for (FieldId id = 0; id < FieldCount; ++id) {
        if (id != FieldBirthday && !card.text[id].empty()) {
            bool changed = false;
            characters.Append(units, card.text[id], changed);
            if (changed)
                ++unstorable[card.source[id]];
        }
        ends[id] = std::uint32_t(units.size() - start);
    }
}

// The cards that join the book, their texts side by side as their records
// will hold them. The records are made once the cards are in name order, so
// that they lie in memory in the order of the list, as after a load: a walk
// over the list, its save and its freeing then read memory in order.
class PendingCards {
public:
    // Room for the cards of that many bytes of vCard, about.
    void Reserve(std::size_t bytes)
    {
        units.reserve(bytes / 2);
        cards.reserve(bytes / 256);
    }
    // The card with its texts as StoredTexts gives them; false, and nothing
    // added, for a card without any field.
    bool Add(const MappedCard& mapped, std::map<std::string, int>& unstorable, StoredCharacters& characters)
    {
        Card card;
        card.start = units.size();
        card.birthday = mapped.birthday;
        StoredTexts(mapped, unstorable, characters, units, card.ends);
        if (card.ends[FieldCount - 1] == 0 && card.birthday == 0.0)
            return false;
        cards.push_back(card);
        return true;
    }
    std::size_t Count() const { return cards.size(); }
    std::u16string_view Text(std::size_t i, FieldId id) const
    {
        const Card& card = cards[i];
        const std::uint32_t begin = id ? card.ends[id - 1] : 0;
        return std::u16string_view(units).substr(card.start + begin, card.ends[id] - begin);
    }
    ce::DATE Birthday(std::size_t i) const { return cards[i].birthday; }
    // The cards are made into records in an order of their own, which waits
    // on memory: ask for a card ahead, then for its texts.
    void FetchCard(std::size_t i) const { __builtin_prefetch(&cards[i]); __builtin_prefetch(&cards[i].birthday); }
    void FetchTexts(std::size_t i) const
    {
        const Card& card = cards[i];
        const char16_t* texts = units.data() + card.start;
        for (std::uint32_t line = 0; line < card.ends[FieldCount - 1] && line < 128; line += 32)
            __builtin_prefetch(texts + line);
    }
    std::unique_ptr<ContactRecord> Record(std::size_t i) const
    {
        const Card& card = cards[i];
        auto record = std::make_unique<ContactRecord>();
        record->AssignTexts(std::u16string_view(units).substr(card.start, card.ends[FieldCount - 1]), card.ends);
        record->GetField(FieldBirthday)->SetValue(std::u16string(), card.birthday);
        return record;
    }

private:
    struct Card {
        std::size_t start;
        std::uint32_t ends[FieldCount];
        ce::DATE birthday;
    };
    std::u16string units;
    std::vector<Card> cards;
};

// The book's records and the pending cards by their 16 fields as shown
// (letter case counts): open addressing, each contact's hash beside it, so
// that most look-ups read one slot. Contact i is the book's record i below
// the book's size, else the pending card i minus that size.
class KnownContacts {
public:
    KnownContacts(const std::vector<const ContactRecord*>& book, const PendingCards& pending)
        : book(book), pending(pending)
    {
    }

    // Whether each pending card is the first of its contact: equal to no
    // record of the book and no card before it.
    std::vector<bool> FirstOfEach()
    {
        const std::size_t total = book.size() + pending.Count();
        std::vector<std::size_t> hashes(total);
        for (std::size_t contact = 0; contact < total; ++contact)
            hashes[contact] = Hash(contact);
        std::size_t size = 64;
        while (size < total * 2)
            size *= 2;
        slots.assign(size, Slot());
        std::vector<bool> first(pending.Count());
        for (std::size_t contact = 0; contact < total; ++contact) {
            // A look-up waits on memory: ask ahead for the slot of a contact further on.
            if (contact + 8 < total)
                __builtin_prefetch(&slots[hashes[contact + 8] & (size - 1)]);
            const bool known = !Insert(contact, hashes[contact]);
            if (contact >= book.size())
                first[contact - book.size()] = !known;
        }
        return first;
    }

private:
    static constexpr std::size_t None = ~std::size_t(0);
    struct Slot {
        std::size_t hash = 0;
        std::size_t contact = None;
    };

    // False when an equal contact is known already.
    bool Insert(std::size_t contact, std::size_t hash)
    {
        for (std::size_t i = hash & (slots.size() - 1);; i = (i + 1) & (slots.size() - 1)) {
            Slot& slot = slots[i];
            if (slot.contact == None) {
                slot = {hash, contact};
                return true;
            }
            if (slot.hash == hash && Same(slot.contact, contact))
                return false;
        }
    }

    std::u16string_view Text(std::size_t contact, FieldId id) const
    {
        return contact < book.size() ? book[contact]->GetField(id)->TextValue()
                                     : pending.Text(contact - book.size(), id);
    }
    ce::DATE Birthday(std::size_t contact) const
    {
        return contact < book.size() ? book[contact]->GetField(FieldBirthday)->GetDate()
                                     : pending.Birthday(contact - book.size());
    }

    // Of the texts only: equal contacts hash alike whatever their birthdays'
    // times of day, and the day is worked out only for contacts that hash
    // alike. Four units at a time, each field's length first.
    std::size_t Hash(std::size_t contact) const
    {
        std::uint64_t hash = 0;
        auto mix = [&hash](std::uint64_t word) {
            hash = (hash ^ word) * 0x9E3779B97F4A7C15u;
            hash ^= hash >> 29;
        };
        for (FieldId id = 0; id < FieldCount; ++id) {
            if (id == FieldBirthday)
                continue;
            const std::u16string_view text = Text(contact, id);
            mix(text.size());
            std::size_t i = 0;
            for (; i + 4 <= text.size(); i += 4) {
                std::uint64_t word;
                std::memcpy(&word, text.data() + i, sizeof word);
                mix(word);
            }
            for (; i < text.size(); ++i)
                mix(text[i]);
        }
        return std::size_t(hash);
    }

    bool Same(std::size_t a, std::size_t b) const
    {
        for (FieldId id = 0; id < FieldCount; ++id) {
            if (id == FieldBirthday ? DayOf(Birthday(a)) != DayOf(Birthday(b)) : Text(a, id) != Text(b, id))
                return false;
        }
        return true;
    }

    const std::vector<const ContactRecord*>& book;
    const PendingCards& pending;
    std::vector<Slot> slots;
};

} // namespace

std::unique_ptr<ContactRecord> RecordFromCard(const MappedCard& card, std::map<std::string, int>& unstorable)
{
    StoredCharacters characters;
    std::u16string units;
    std::uint32_t ends[FieldCount];
    StoredTexts(card, unstorable, characters, units, ends);
    auto record = std::make_unique<ContactRecord>();
    record->AssignTexts(units, ends);
    record->GetField(FieldBirthday)->SetValue(std::u16string(), card.birthday);
    return record;
}

bool ImportCards(const std::vector<SourceFile>& files, ContactList& list, ImportSummary& summary,
                 ImportFailure& failure)
{
    summary = ImportSummary();
    PropertyDecoder decoder(ce::GetACP());
    // The book's records are compared with, so it stays as it is until the cards join it.
    auto guard = list.Lock();
    std::vector<const ContactRecord*> book;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (const ContactRecord* record = list.GetAt(i))
            book.push_back(record);
    }
    PendingCards pending;
    std::size_t bytes = 0;
    for (const SourceFile& file : files)
        bytes += file.bytes.size();
    pending.Reserve(bytes);
    // The counts of text the code page cannot hold, of the cards that have any.
    std::vector<std::pair<std::size_t, std::map<std::string, int>>> unstorableOf;
    CardMapping mapping(decoder);
    StoredCharacters characters;
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
            if (!pending.Add(mapped, unstorable, characters)) {
                ++summary.empty;
                continue;
            }
            if (!unstorable.empty())
                unstorableOf.emplace_back(pending.Count() - 1, std::move(unstorable));
        }
        if (cards.Failed())
            return fail();
    }
    const std::vector<bool> first = KnownContacts(book, pending).FirstOfEach();
    for (const auto& [added, counts] : unstorableOf) {
        if (first[added]) {
            for (const auto& [property, count] : counts)
                summary.unstorable[property] += count;
        }
    }
    std::vector<std::size_t> kept;
    std::vector<std::u16string_view> names;
    for (std::size_t i = 0; i < pending.Count(); ++i) {
        if (first[i]) {
            kept.push_back(i);
            names.push_back(pending.Text(i, FieldName));
        }
    }
    summary.imported = int(kept.size());
    summary.duplicates = int(pending.Count() - kept.size());
    std::vector<std::size_t> order = OrderOfTexts(names);
    for (std::size_t& place : order)
        place = kept[place];
    std::vector<std::unique_ptr<ContactRecord>> batch;
    batch.reserve(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k + 16 < order.size())
            pending.FetchCard(order[k + 16]);
        if (k + 8 < order.size())
            pending.FetchTexts(order[k + 8]);
        batch.push_back(pending.Record(order[k]));
    }
    list.InsertSortedAll(std::move(batch), FieldName);
    return true;
}

} // namespace vcard
