// Which value of a card goes into which of the sixteen fields, and which
// values find no field.
#pragma once
#include "data/ContactRecord.h"
#include "vcard/CardReader.h"
#include "vcard/PropertyDecoding.h"

#include <map>
#include <string>

namespace vcard {

struct MappedCard {
    std::u16string text[FieldCount];   // every field but the birthday
    ce::DATE birthday = 0.0;           // 0.0: none
    std::string source[FieldCount];    // the property each field was taken from
    int line[FieldCount] = {};         // and the line where that property begins; 0: none
    std::map<std::string, int> unmapped; // values without a field, by property
};

// False when a value of the card cannot be decoded.
bool MapCard(const RawCard& card, PropertyDecoder& decoder, MappedCard& mapped, ReadError& error);

// The name from the parts of N: given then family name with a space, or
// family then given name without one for a family name in Chinese characters.
std::u16string ComposeName(const std::vector<std::u16string>& parts);

// BDAY as date or date-time; 0.0 when it has no year or is no date.
ce::DATE ParseBirthday(std::u16string_view value, std::string_view omittedYear);

} // namespace vcard
