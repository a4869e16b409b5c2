// What the program's command-line modes share: the instance marker that keeps
// them and the address book apart, and the address book's own list.
#pragma once
#include "data/ContactList.h"
#include "platform/core/System.h"

#include <string>

namespace vcard {

// The instance marker, held for as long as this object lives.
class InstanceMarker {
public:
    InstanceMarker();
    ~InstanceMarker();
    InstanceMarker(const InstanceMarker&) = delete;
    InstanceMarker& operator=(const InstanceMarker&) = delete;

    // 0 when this mode may run; else its exit status, and `message` says
    // why: the address book runs, or no marker can keep it and this mode apart.
    int Refusal(std::string& message) const;

private:
    ce::HANDLE handle;
    bool runningElsewhere = false;
    ce::NamedMutexFault fault;
};

// The address book's list, read from the data file; a data file that exists
// but cannot be read is a failure (`error` says so), a missing one an empty book.
bool LoadBook(ContactList& list, std::string& error);

// A count with its noun in singular or plural: "1 contact", "2 contacts".
std::string Counted(int count, const std::string& one, const std::string& many);

} // namespace vcard
