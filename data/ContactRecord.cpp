#include "data/ContactRecord.h"

#include "platform/core/OleDate.h"
#include "platform/core/Resources.h"
#include "res/resource.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <utility>

namespace {

// The one stored copy of a label text; stays valid for the whole run.
const std::u16string* InternLabel(std::u16string text)
{
    static std::mutex mutex;
    static std::set<std::u16string> labels;
    const std::lock_guard guard(mutex);
    return &*labels.insert(std::move(text)).first;
}

} // namespace

void ContactField::GetText(std::u16string& text) const
{
    if (fieldId != FieldBirthday) {
        text = value;
        return;
    }
    text.clear();
    ce::SYSTEMTIME time;
    if (date == 0.0 || !ce::COleDateTime(date).GetAsSystemTime(time))
        return;
    char digits[32];
    const int n = std::snprintf(digits, sizeof digits, "%.2d%.2d%.2d", int(time.wYear), int(time.wMonth),
                                int(time.wDay));
    text.assign(digits, digits + n);
}

void ContactField::SetValue(std::u16string text, ce::DATE newDate)
{
    value = std::move(text);
    if (fieldId == FieldBirthday)
        date = newDate;
}

int ContactField::IsEmpty() const
{
    return fieldId == FieldBirthday ? date == 0.0 : value.empty();
}

int ContactField::DiffersFrom(const ContactField& other) const
{
    if (fieldId != other.fieldId)
        return 1;
    if (fieldId == FieldBirthday)
        return date != other.date;
    return CompareNoCase(value, other.value) != 0;
}

ContactRecord::ContactRecord()
{
    for (FieldId id = 0; id < FieldCount; ++id)
        fields[id].fieldId = id;
}

ContactRecord::ContactRecord(const ContactRecord& other) : ContactRecord()
{
    CopyFrom(other);
}

ContactRecord& ContactRecord::operator=(const ContactRecord& other)
{
    CopyFrom(other);
    return *this;
}

void ContactRecord::CopyFrom(const ContactRecord& other)
{
    if (&other == this)
        return;
    for (FieldId id = 0; id < FieldCount; ++id)
        fields[id].CopyFrom(other.fields[id]);
    birthdayAsRead = other.birthdayAsRead ? std::make_unique<StoredDate>(*other.birthdayAsRead) : nullptr;
}

void ContactRecord::LoadLabels()
{
    for (FieldId id = 0; id < FieldCount; ++id)
        fields[id].label = InternLabel(ce::LoadStringW(IDS_FIELD_FIRST + id));
}

void ContactRecord::CopyLabelsFrom(const ContactRecord& other)
{
    for (FieldId id = 0; id < FieldCount; ++id)
        fields[id].label = other.fields[id].label;
}
