// Import of vCard files into the contact list: every card becomes a contact
// in name order, unless the book already holds one with the same 16 fields.
#pragma once
#include "data/ContactList.h"
#include "vcard/FieldMapping.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vcard {

// A source may hold up to this many bytes: more is no address book but
// input without end (/dev/zero) that would only fill the memory.
constexpr std::size_t MaxSourceBytes = std::size_t(256) << 20;

struct SourceFile {
    std::string name; // as the user gave it, for messages
    std::string bytes;
};

struct ImportSummary {
    int imported = 0;
    int duplicates = 0;
    int empty = 0;                               // cards that gave no field at all
    std::map<std::string, int> unmapped;         // values without a field, by property
    std::map<std::string, int> unstorable;       // values the code page cannot hold, by property
};

struct ImportFailure {
    std::string file;
    int line = 0; // 0: the file as a whole
    std::string message;
};

// The contact of a card, its text as the data file will hold it; the fields
// whose text the code page cannot store are counted by property.
std::unique_ptr<ContactRecord> RecordFromCard(const MappedCard& card, std::map<std::string, int>& unstorable);

// All or nothing: every file is read and decoded before the list changes, and
// on the first fault the list is left as it was. Text that the ANSI code page
// cannot hold is stored as the data file will hold it.
bool ImportCards(const std::vector<SourceFile>& files, ContactList& list, ImportSummary& summary,
                 ImportFailure& failure);

} // namespace vcard
