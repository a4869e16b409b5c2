#include "vcard/Import.h"

#include "platform/core/CodePage.h"
#include "vcard/FieldMapping.h"

#include <memory>
#include <unordered_set>

namespace vcard {

namespace {

// The 16 fields as shown, each with its length so that no text can pass for another.
std::u16string DuplicateKey(const ContactRecord& record)
{
    std::u16string key;
    std::u16string text;
    for (FieldId id = 0; id < FieldCount; ++id) {
        record.GetField(id)->GetText(text);
        key += char16_t(text.size() & 0xFFFF);
        key += char16_t(text.size() >> 16);
        key += text;
    }
    return key;
}

// The text as the data file will give it back: cut at a NUL, characters
// missing from the code page as its default character.
std::u16string StoredText(const std::u16string& text, bool& changed)
{
    std::u16string stored = text.substr(0, text.find(u'\0'));
    changed = stored.size() != text.size() || !ce::CanStore(stored);
    return changed ? ce::AnsiToWide(ce::WideToAnsi(stored)) : stored;
}

std::unique_ptr<ContactRecord> MakeRecord(const MappedCard& card, std::map<std::string, int>& unstorable)
{
    auto record = std::make_unique<ContactRecord>();
    for (FieldId id = 0; id < FieldCount; ++id) {
        if (id == FieldBirthday) {
            record->GetField(id)->SetValue(std::u16string(), card.birthday);
            continue;
        }
        if (card.text[id].empty())
            continue;
        bool changed = false;
        record->GetField(id)->SetValue(StoredText(card.text[id], changed), 0.0);
        if (changed)
            ++unstorable[card.source[id]];
    }
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

bool ImportCards(const std::vector<SourceFile>& files, ContactList& list, ImportSummary& summary,
                 ImportFailure& failure)
{
    summary = ImportSummary();
    PropertyDecoder decoder(ce::GetACP());
    std::vector<MappedCard> cards;
    for (const SourceFile& file : files) {
        std::vector<RawCard> raw;
        ReadError error;
        if (!ReadCards(file.bytes, raw, error)) {
            failure = {file.name, error.line, error.message};
            return false;
        }
        for (const RawCard& card : raw) {
            if (!MapCard(card, decoder, cards.emplace_back(), error)) {
                failure = {file.name, error.line, error.message};
                return false;
            }
        }
    }

    std::unordered_set<std::u16string> known;
    {
        auto guard = list.Lock();
        for (int i = 0; i < list.GetCount(); ++i)
            known.insert(DuplicateKey(*list.GetAt(i)));
    }
    std::vector<ContactRecord*> batch;
    for (const MappedCard& card : cards) {
        for (const auto& [property, count] : card.unmapped)
            summary.unmapped[property] += count;
        std::map<std::string, int> unstorable;
        std::unique_ptr<ContactRecord> record = MakeRecord(card, unstorable);
        if (IsBlank(*record)) {
            ++summary.empty;
            continue;
        }
        if (!known.insert(DuplicateKey(*record)).second) {
            ++summary.duplicates;
            continue;
        }
        batch.push_back(record.release());
        ++summary.imported;
        for (const auto& [property, count] : unstorable)
            summary.unstorable[property] += count;
    }
    list.InsertSortedAll(std::move(batch), FieldName);
    return true;
}

} // namespace vcard
