// Which value of a card goes into which of the sixteen fields, and which
// values find no field.
#pragma once
#include "data/ContactRecord.h"
#include "vcard/CardReader.h"
#include "vcard/PropertyDecoding.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vcard {

struct MappedCard {
    std::u16string text[FieldCount];   // every field but the birthday
    ce::DATE birthday = 0.0;           // 0.0: none
    std::string source[FieldCount];    // the property each field was taken from
    int line[FieldCount] = {};         // and the line where that property begins; 0: none
    std::map<std::string, int> unmapped; // values without a field, by property

    // Empties every field, keeping the storage of their texts.
    void Clear();
};

// False when a value of the card cannot be decoded.
bool MapCard(const RawCard& card, PropertyDecoder& decoder, MappedCard& mapped, ReadError& error);

// MapCard for card after card: the decoded properties and the lists of the
// mapping keep their storage from one card to the next.
class CardMapping {
public:
    explicit CardMapping(PropertyDecoder& decoder);
    ~CardMapping();
    CardMapping(const CardMapping&) = delete;
    CardMapping& operator=(const CardMapping&) = delete;

    bool Map(const RawCard& card, MappedCard& mapped, ReadError& error);

    struct Lists; // of the card's properties by what they give

private:

    PropertyDecoder& decoder;
    std::vector<Property> properties; // at least as many as the card has; the first of them are its own
    std::unique_ptr<Lists> lists;
};

// The name from the parts of N: given then family name with a space, or
// family then given name without one for a family name in Chinese characters.
std::u16string ComposeName(const std::vector<std::u16string>& parts);

// BDAY as date or date-time; 0.0 when it has no year or is no date.
ce::DATE ParseBirthday(std::u16string_view value, std::string_view omittedYear);

} // namespace vcard
