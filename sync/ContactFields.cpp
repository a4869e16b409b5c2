#include "sync/ContactFields.h"

#include "vcard/FieldMapping.h"

#include <algorithm>

namespace carddav {

Fields FieldsOf(const ContactRecord& record)
{
    Fields fields;
    for (FieldId id = 0; id < FieldCount; ++id)
        record.GetField(id)->GetText(fields[id]);
    return fields;
}

void ApplyFields(ContactRecord& record, const Fields& fields)
{
    const Fields now = FieldsOf(record);
    for (FieldId id = 0; id < FieldCount; ++id) {
        if (now[id] == fields[id])
            continue;
        if (id == FieldBirthday)
            record.GetField(id)->SetValue(std::u16string(), vcard::ParseBirthday(fields[id], ""));
        else
            record.GetField(id)->SetValue(fields[id], 0.0);
    }
}

bool IsBlank(const Fields& fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const std::u16string& text) { return text.empty(); });
}

} // namespace carddav
