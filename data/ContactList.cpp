#include "data/ContactList.h"

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
