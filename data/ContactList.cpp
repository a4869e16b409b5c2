#include "data/ContactList.h"

#include "data/NameCollation.h"

#include <algorithm>
#include <utility>

ContactList g_contactList;

int ContactListBase::InsertSorted(std::unique_ptr<ContactRecord> record, FieldId fieldId)
{
    if (!record)
        return -1;
    auto guard = Lock();
    if (!whole) {
        HoldBack(std::move(record), nullptr);
        return -1;
    }
    const ContactField& key = *record->GetField(fieldId);
    for (std::size_t i = 0; i < records.size(); ++i) {
        FetchAhead(i);
        if (records[i] && key.IsLessThan(*records[i]->GetField(fieldId)))
            return ContactListBase::InsertAt(int(i), std::move(record));
    }
    return ContactListBase::Append(std::move(record));
}

int ContactListBase::InsertSortedInstead(std::unique_ptr<ContactRecord> record, const ContactRecord& original,
                                         FieldId fieldId)
{
    if (!record)
        return -1;
    auto guard = Lock();
    if (whole)
        return InsertSorted(std::move(record), fieldId);
    HoldBack(std::move(record), &original);
    return -1;
}

void ContactListBase::HoldBack(std::unique_ptr<ContactRecord> record, const ContactRecord* replaces)
{
    heldBack.push_back({std::move(record), replaces ? std::make_unique<ContactRecord>(*replaces) : nullptr});
    changed = true;
}

void ContactListBase::InsertSortedAll(std::vector<std::unique_ptr<ContactRecord>> batch, FieldId fieldId)
{
    std::erase(batch, nullptr);
    {
        auto guard = Lock();
        if (!whole) {
            for (std::unique_ptr<ContactRecord>& record : batch)
                HoldBack(std::move(record), nullptr);
            return;
        }
    }
    std::vector<ContactRecord*> taken;
    taken.reserve(batch.size());
    for (std::unique_ptr<ContactRecord>& record : batch)
        taken.push_back(record.release());
    MergeSorted(std::move(taken), fieldId);
}

void ContactListBase::MergeSorted(std::vector<ContactRecord*> batch, FieldId fieldId)
{
    auto less = [fieldId](const ContactRecord* a, const ContactRecord* b) {
        return a->GetField(fieldId)->IsLessThan(*b->GetField(fieldId));
    };
    // Equal keys keep their order: each goes behind those inserted before it.
    // A batch given in order (an import sorts its cards) is taken as it is.
    if (fieldId == FieldBirthday) {
        std::stable_sort(batch.begin(), batch.end(), less);
    } else if (!std::is_sorted(batch.begin(), batch.end(), less)) {
        std::vector<std::u16string_view> texts;
        texts.reserve(batch.size());
        for (const ContactRecord* record : batch)
            texts.push_back(record->GetField(fieldId)->TextValue());
        std::vector<ContactRecord*> sorted;
        sorted.reserve(batch.size());
        for (const std::size_t i : OrderOfTexts(texts))
            sorted.push_back(batch[i]);
        batch.swap(sorted);
    }
    auto guard = Lock();
    if (!batch.empty())
        changed = true;
    std::vector<ContactRecord*> merged;
    merged.reserve(records.size() + batch.size());
    // Each record's place is before the first old record that sorts after
    // it; with the batch sorted, that place only moves forward.
    std::size_t old = 0;
    for (ContactRecord* record : batch) {
        while (old < records.size() && (!records[old] || !less(record, records[old])))
            merged.push_back(records[old++]);
        merged.push_back(record);
    }
    merged.insert(merged.end(), records.begin() + std::ptrdiff_t(old), records.end());
    records.swap(merged);
}

int ContactListBase::InsertAt(int index, std::unique_ptr<ContactRecord> record)
{
    auto guard = Lock();
    if (index < 0 || index >= int(records.size()))
        return ContactListBase::Append(std::move(record));
    records.insert(records.begin() + index, record.release());
    changed = true;
    return index;
}

int ContactListBase::Append(std::unique_ptr<ContactRecord> record)
{
    auto guard = Lock();
    records.push_back(record.release());
    changed = true;
    return int(records.size()) - 1;
}

namespace {

// Frees the records and the vector's own storage, which a big book's load left large.
void DeleteRecords(std::vector<ContactRecord*>& records)
{
    for (std::size_t i = 0; i < records.size(); ++i) {
        FetchRecordsAhead(records, i);
        delete records[i];
    }
    std::vector<ContactRecord*>().swap(records);
}

} // namespace

ContactListBase::~ContactListBase()
{
    DeleteRecords(records);
}

void ContactListBase::Clear()
{
    auto guard = Lock();
    DeleteRecords(records);
    loading.clear();
    heldBack.clear();
    whole = true;
    changed = false;
}

void ContactListBase::BeginLoad()
{
    auto guard = Lock();
    DeleteRecords(records);
    loading.clear();
    whole = false;
    changed = !heldBack.empty();
}

void ContactListBase::EndLoad(bool wholeFile)
{
    auto guard = Lock();
    if (wholeFile) {
        InsertHeldBack();
        whole = true;
    }
}

void ContactListBase::InsertHeldBack()
{
    auto guard = Lock();
    std::vector<ContactRecord*> batch;
    for (HeldBack& held : heldBack) {
        if (held.replaces) {
            const auto found = std::find_if(records.begin(), records.end(), [&](const ContactRecord* record) {
                return record && record->HasSameValues(*held.replaces);
            });
            if (found != records.end())
                RemoveAt(int(found - records.begin()));
        }
        batch.push_back(held.record.release());
    }
    heldBack.clear();
    MergeSorted(std::move(batch), FieldName);
}

bool ContactListBase::IsChanged() const
{
    auto guard = Lock();
    return changed;
}

void ContactListBase::RemoveAt(int index)
{
    auto guard = Lock();
    if (index < 0 || index >= int(records.size()))
        return;
    if (!loading.empty())
        std::erase(loading, records[index]);
    delete records[index];
    records.erase(records.begin() + index);
    changed = true;
}

void ContactListBase::ReplaceAt(int index, const ContactRecord& values)
{
    auto guard = Lock();
    if (index < 0 || index >= int(records.size()) || !records[index])
        return;
    records[index]->CopyFrom(values);
    changed = true;
}

int ContactListBase::GetCount() const
{
    auto guard = Lock();
    return int(records.size());
}

ContactRecord* ContactListBase::GetAt(int index) const
{
    auto guard = Lock();
    if (index < 0 || index >= int(records.size()))
        return nullptr;
    return records[index];
}

int ContactList::Load(const std::u16string& path)
{
    const int result = ContactListBase::Load(path);
    if (!result)
        return result;
    ContactRecord labelled;
    labelled.LoadLabels();
    // A few hundred records per lock: readers are never kept waiting long,
    // and the lock is not taken once for every record.
    constexpr int RecordsPerLock = 256;
    for (int start = 0;; start += RecordsPerLock) {
        auto guard = Lock();
        const int count = GetCount();
        if (start >= count)
            break;
        for (int i = start; i < std::min(count, start + RecordsPerLock); ++i) {
            if (ContactRecord* record = GetAt(i))
                record->CopyLabelsFrom(labelled);
        }
    }
    return result;
}

int ContactList::InsertSorted(std::unique_ptr<ContactRecord> record, FieldId fieldId)
{
    if (!record)
        return -1;
    record->LoadLabels();
    return ContactListBase::InsertSorted(std::move(record), fieldId);
}

int ContactList::InsertSortedInstead(std::unique_ptr<ContactRecord> record, const ContactRecord& original,
                                     FieldId fieldId)
{
    if (!record)
        return -1;
    record->LoadLabels();
    return ContactListBase::InsertSortedInstead(std::move(record), original, fieldId);
}

void ContactList::InsertSortedAll(std::vector<std::unique_ptr<ContactRecord>> batch, FieldId fieldId)
{
    ContactRecord labelled;
    labelled.LoadLabels();
    for (const std::unique_ptr<ContactRecord>& record : batch) {
        if (record)
            record->CopyLabelsFrom(labelled);
    }
    ContactListBase::InsertSortedAll(std::move(batch), fieldId);
}

int ContactList::InsertAt(int index, std::unique_ptr<ContactRecord> record)
{
    if (!record)
        return -1;
    record->LoadLabels();
    return ContactListBase::InsertAt(index, std::move(record));
}

int ContactList::Append(std::unique_ptr<ContactRecord> record)
{
    if (!record)
        return -1;
    record->LoadLabels();
    return ContactListBase::Append(std::move(record));
}
