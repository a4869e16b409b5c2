#include "dialogs/CurrentContact.h"

ContactRecord* g_currentContact = nullptr;
