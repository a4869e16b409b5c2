#include "data/ContactRecord.h"

#include "platform/core/OleDate.h"
#include "platform/core/Resources.h"
#include "res/resource.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <set>
#include <type_traits>
#include <utility>

namespace {

// The one stored copy of a set of labels; stays valid for the whole run.
const ContactRecord::Labels* InternLabels(ContactRecord::Labels texts)
{
    static std::mutex mutex;
    static std::set<ContactRecord::Labels> labels;
    const std::lock_guard guard(mutex);
    return &*labels.insert(std::move(texts)).first;
}

unsigned char* Allocate(std::size_t bytes)
{
    return static_cast<unsigned char*>(::operator new(bytes));
}

} // namespace

RecordText::RecordText(const RecordText& other)
{
    if (other.block) {
        const std::size_t bytes = HeaderBytes + other.Size() * sizeof(char16_t);
        block = Allocate(bytes);
        std::memcpy(block, other.block, bytes);
    }
}

RecordText& RecordText::operator=(const RecordText& other)
{
    if (&other != this)
        *this = RecordText(other);
    return *this;
}

RecordText& RecordText::operator=(RecordText&& other) noexcept
{
    std::swap(block, other.block);
    return *this;
}

void RecordText::Free()
{
    ::operator delete(block);
    block = nullptr;
}

void RecordText::Set(FieldId id, std::u16string_view text)
{
    const std::size_t before = block && id ? Ends()[id - 1] : 0;
    const std::size_t oldSize = (block ? Ends()[id] : 0) - before;
    const std::size_t after = Size() - before - oldSize;
    if (oldSize == text.size()) {
        if (!text.empty())
            std::memmove(block + HeaderBytes + before * sizeof(char16_t), text.data(), text.size() * sizeof(char16_t));
        return;
    }
    const std::size_t total = before + text.size() + after;
    if (total == 0) {
        Free();
        return;
    }
    unsigned char* made = Allocate(HeaderBytes + total * sizeof(char16_t));
    auto* ends = reinterpret_cast<std::uint32_t*>(made);
    for (FieldId other = 0; other < FieldCount; ++other) {
        const std::uint32_t end = block ? Ends()[other] : 0;
        ends[other] = other < id ? end : std::uint32_t(end - oldSize + text.size());
    }
    auto* units = reinterpret_cast<char16_t*>(made + HeaderBytes);
    if (block) {
        std::memcpy(units, Units(), before * sizeof(char16_t));
        std::memcpy(units + before + text.size(), Units() + before + oldSize, after * sizeof(char16_t));
    }
    // The text may be another field's of this same record: copied before the old block goes.
    if (!text.empty())
        std::memcpy(units + before, text.data(), text.size() * sizeof(char16_t));
    Free();
    block = made;
}

void RecordText::Assign(std::u16string_view units, const std::uint32_t ends[FieldCount])
{
    Free();
    if (units.empty())
        return;
    block = Allocate(HeaderBytes + units.size() * sizeof(char16_t));
    std::memcpy(block, ends, HeaderBytes);
    std::memcpy(block + HeaderBytes, units.data(), units.size() * sizeof(char16_t));
}

void ContactField::GetLabel(std::u16string& text) const
{
    if (const ContactRecord::Labels* labels = Record().labels)
        text = (*labels)[fieldId];
    else
        text.clear();
}

void ContactField::GetText(std::u16string& text) const
{
    if (fieldId != FieldBirthday) {
        text = TextValue();
        return;
    }
    text.clear();
    ce::SYSTEMTIME time;
    const ce::DATE date = GetDate();
    if (date == 0.0 || !ce::COleDateTime(date).GetAsSystemTime(time))
        return;
    char digits[32];
    const int n = std::snprintf(digits, sizeof digits, "%.2d%.2d%.2d", int(time.wYear), int(time.wMonth),
                                int(time.wDay));
    text.assign(digits, digits + n);
}

void ContactField::SetValue(std::u16string text, ce::DATE newDate)
{
    ContactRecord& record = Record();
    if (fieldId == FieldBirthday)
        record.birthday = newDate;
    else
        record.text.Set(fieldId, text);
}

int ContactField::IsEmpty() const
{
    return fieldId == FieldBirthday ? GetDate() == 0.0 : TextValue().empty();
}

void ContactField::CopyFrom(const ContactField& other)
{
    if (&other == this)
        return;
    ContactRecord& record = Record();
    if (fieldId == FieldBirthday)
        record.birthday = other.GetDate();
    else
        record.text.Set(fieldId, other.TextValue());
}

int ContactField::DiffersFrom(const ContactField& other) const
{
    if (fieldId != other.fieldId)
        return 1;
    if (fieldId == FieldBirthday)
        return GetDate() != other.GetDate();
    return CompareNoCase(TextValue(), other.TextValue()) != 0;
}

ContactRecord::ContactRecord()
{
    // Not standard layout for every compiler (clang counts the unique_ptr's
    // tuple against it), but without bases or virtual calls its first member
    // is at its start.
    static_assert(!std::is_polymorphic_v<ContactRecord> && offsetof(ContactRecord, fields) == 0,
                  "a field finds its record at the start of its array");
    for (FieldId id = 0; id < FieldCount; ++id)
        fields[id].fieldId = std::uint8_t(id);
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
    labels = other.labels;
    birthday = other.birthday;
    text = other.text;
    birthdayAsRead = other.birthdayAsRead ? std::make_unique<StoredDate>(*other.birthdayAsRead) : nullptr;
}

bool ContactRecord::HasSameValues(const ContactRecord& other) const
{
    for (FieldId id = 0; id < FieldCount; ++id) {
        std::u16string mine, theirs;
        fields[id].GetText(mine);
        other.fields[id].GetText(theirs);
        if (mine != theirs || fields[id].GetDate() != other.fields[id].GetDate())
            return false;
    }
    return true;
}

void ContactRecord::LoadLabels()
{
    Labels texts;
    for (FieldId id = 0; id < FieldCount; ++id)
        texts[id] = ce::LoadStringW(IDS_FIELD_FIRST + id);
    labels = InternLabels(std::move(texts));
}
