// The server's cards as contacts, and a contact's changes written into the
// server's own card: only the properties the fields come from change, so a
// photo, notes, a fourth e-mail, groups, the UID and every property this
// program does not know stay as they were.
#pragma once
#include "sync/ContactFields.h"
#include "vcard/FieldMapping.h"

#include <map>
#include <string>

namespace carddav {

struct ServerCard {
    vcard::MappedCard mapped;
    Fields fields;                         // as the data file would hold them
    std::map<std::string, int> unstorable; // fields whose text the code page cannot hold, by property
    std::string uid;
};

// False when the text is no card this program can read.
bool ReadServerCard(const std::string& text, ServerCard& card);

// A card for a contact the server does not have yet.
std::string NewCard(const Fields& fields, const std::string& uid);

// `serverCard` with the mapped properties changed so that it reads as `fields`.
std::string EditCard(const std::string& serverCard, const Fields& fields);

// A random (version 4) UUID.
std::string RandomUuid();

} // namespace carddav
