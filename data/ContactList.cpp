#include "data/ContactList.h"

#include "data/NameCollation.h"

#include <algorithm>
#include <utility>

ContactList g_contactList;

ContactListBase::~ContactListBase()
{
    for (ContactRecord* record : records)
        delete record;
}

int ContactListBase::InsertSorted(ContactRecord* record, FieldId fieldId)
{
    if (!record)
        return -1;
    auto guard = Lock();
    const ContactField& key = *record->GetField(fieldId);
    for (std::size_t i = 0; i < records.size(); ++i) {
        FetchAhead(i);
        if (records[i] && key.IsLessThan(*records[i]->GetField(fieldId)))
            return ContactListBase::InsertAt(int(i), record);
    }
    return ContactListBase::Append(record);
}

void ContactListBase::InsertSortedAll(std::vector<ContactRecord*> batch, FieldId fieldId)
{
    std::erase(batch, nullptr);
    auto less = [fieldId](const ContactRecord* a, const ContactRecord* b) {
        return a->GetField(fieldId)->IsLessThan(*b->GetField(fieldId));
    };
    // Equal keys keep their order: each goes behind those inserted before it.
    if (fieldId == FieldBirthday) {
        std::stable_sort(batch.begin(), batch.end(), less);
    } else {
        // Sorted by keys side by side in one text, not by the records' own.
        std::u16string keys;
        struct Keyed {
            std::size_t start;
            std::size_t length;
            ContactRecord* record;
        };
        std::vector<Keyed> keyed;
        keyed.reserve(batch.size());
        for (ContactRecord* record : batch) {
            const std::size_t start = keys.size();
            AppendSortKey(*record->GetField(fieldId), keys);
            keyed.push_back({start, keys.size() - start, record});
        }
        const std::u16string_view all = keys;
        std::stable_sort(keyed.begin(), keyed.end(), [all](const Keyed& a, const Keyed& b) {
            return all.substr(a.start, a.length) < all.substr(b.start, b.length);
        });
        for (std::size_t i = 0; i < keyed.size(); ++i)
            batch[i] = keyed[i].record;
    }
    auto guard = Lock();
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

int ContactListBase::InsertAt(int index, ContactRecord* record)
{
    auto guard = Lock();
    if (index < 0 || index >= int(records.size()))
        return ContactListBase::Append(record);
    records.insert(records.begin() + index, record);
    return index;
}

int ContactListBase::Append(ContactRecord* record)
{
    auto guard = Lock();
    records.push_back(record);
    return int(records.size()) - 1;
}

void ContactListBase::Clear()
{
    auto guard = Lock();
    for (ContactRecord* record : records)
        delete record;
    std::vector<ContactRecord*>().swap(records);
    loading.clear();
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
    // One record per lock, so that readers are never kept waiting long.
    for (int i = 0;; ++i) {
        auto guard = Lock();
        if (i >= GetCount())
            break;
        if (ContactRecord* record = GetAt(i))
            record->CopyLabelsFrom(labelled);
    }
    return result;
}

int ContactList::InsertSorted(ContactRecord* record, FieldId fieldId)
{
    if (!record)
        return -1;
    record->LoadLabels();
    return ContactListBase::InsertSorted(record, fieldId);
}

void ContactList::InsertSortedAll(std::vector<ContactRecord*> batch, FieldId fieldId)
{
    ContactRecord labelled;
    labelled.LoadLabels();
    for (ContactRecord* record : batch) {
        if (record)
            record->CopyLabelsFrom(labelled);
    }
    ContactListBase::InsertSortedAll(std::move(batch), fieldId);
}

int ContactList::InsertAt(int index, ContactRecord* record)
{
    if (!record)
        return -1;
    record->LoadLabels();
    return ContactListBase::InsertAt(index, record);
}

int ContactList::Append(ContactRecord* record)
{
    if (!record)
        return -1;
    record->LoadLabels();
    return ContactListBase::Append(record);
}
