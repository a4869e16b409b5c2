// Contacts as vCard 3.0: UTF-8, CRLF, lines folded at 75 octets.
#pragma once
#include "data/ContactList.h"

#include <string>

namespace vcard {

std::string WriteCard(const ContactRecord& record);
// Every contact of the list, in list order.
std::string WriteCards(const ContactListBase& list);

} // namespace vcard
