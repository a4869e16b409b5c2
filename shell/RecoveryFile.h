// Where the list goes when it cannot be written over the data file at exit.
#pragma once
#include "data/ContactList.h"

#include <ctime>
#include <string>

// Writes the list, in the data file's format and code page, to a new file
// named by the date and time in the user's recovery folder (made when
// missing). Returns the file's host path, or empty when it could not be
// written either. Recovery files are never removed by the program.
std::string SaveRecoveryFile(const ContactListBase& list, std::time_t now);
