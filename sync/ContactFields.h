// A contact's 16 fields as text, the birthday as "yyyymmdd": the form in
// which contacts are compared, remembered and merged.
#pragma once
#include "data/ContactRecord.h"

#include <array>
#include <string>

namespace carddav {

using Fields = std::array<std::u16string, FieldCount>;

Fields FieldsOf(const ContactRecord& record);
// Sets every field of the record that differs from `fields`.
void ApplyFields(ContactRecord& record, const Fields& fields);
bool IsBlank(const Fields& fields);

} // namespace carddav
