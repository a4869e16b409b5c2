// The row that a letter-bar button selects.
#pragma once

class ContactListBase;

// The first contact whose name begins with a letter of the group (a Chinese
// name by the first letter of its initial's pinyin; group 0 also takes a
// first name without a letter initial); else the nearest contact before
// where the group would stand; else -1. Holds the list's lock throughout.
int FindLetterGroup(const ContactListBase& list, int group);
