#include "vcard/Import.h"

#include "platform/core/CodePage.h"
#include "platform/core/OleDate.h"
#include "vcard/FieldMapping.h"

#include <functional>
#include <memory>
#include <string_view>
#include <unordered_set>

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

struct FieldsHash {
    std::size_t operator()(const ContactRecord* record) const
    {
        std::size_t hash = 0;
        for (FieldId id = 0; id < FieldCount; ++id) {
            const ContactField& field = *record->GetField(id);
            const std::size_t one = id == FieldBirthday ? std::hash<int>()(DayOf(field))
                                                        : std::hash<std::u16string_view>()(field.TextValue());
            hash = hash * 1000003u ^ one;
        }
        return hash;
    }
};

using KnownContacts = std::unordered_set<const ContactRecord*, FieldsHash, SameFields>;

bool IsAscii(std::u16string_view text)
{
    char16_t any = 0;
    for (const char16_t unit : text)
        any |= unit;
    return any < 0x80;
}

// Appends the text as the data file will give it back: cut at a NUL,
// characters missing from the code page as its default character. ASCII is
// kept by every code page; other text is converted there and back once.
void AppendStoredText(std::u16string& units, std::u16string_view text, bool& changed)
{
    const std::u16string_view stored = text.substr(0, text.find(u'\0'));
    changed = stored.size() != text.size();
    if (IsAscii(stored)) {
        units += stored;
        return;
    }
    const std::u16string back = ce::AnsiToWide(ce::WideToAnsi(stored));
    changed = changed || back != stored;
    units += back;
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
    auto record = std::make_unique<ContactRecord>();
    std::u16string units;
    std::uint32_t ends[FieldCount];
    for (FieldId id = 0; id < FieldCount; ++id) {
        if (id != FieldBirthday && !card.text[id].empty()) {
            bool changed = false;
            AppendStoredText(units, card.text[id], changed);
            if (changed)
                ++unstorable[card.source[id]];
        }
        ends[id] = std::uint32_t(units.size());
    }
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
    KnownContacts known;
    known.reserve(std::size_t(list.GetCount()));
    for (int i = 0; i < list.GetCount(); ++i)
        known.insert(list.GetAt(i));
    // Each card becomes its record at once: a record is far smaller than its card.
    std::vector<std::unique_ptr<ContactRecord>> batch;
    CardMapping mapping(decoder);
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
            std::unique_ptr<ContactRecord> record = RecordFromCard(mapped, unstorable);
            if (IsBlank(*record)) {
                ++summary.empty;
                continue;
            }
            if (!known.insert(record.get()).second) {
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
    std::vector<ContactRecord*> records;
    records.reserve(batch.size());
    for (std::unique_ptr<ContactRecord>& record : batch)
        records.push_back(record.release());
    list.InsertSortedAll(std::move(records), FieldName);
    return true;
}

} // namespace vcard
