#include "vcard/BookAccess.h"

#include "data/ContactStore.h"
#include "platform/core/FileSystem.h"
#include "vcard/CommandLine.h"

namespace vcard {

InstanceMarker::InstanceMarker() : handle(ce::CreateMutexW(nullptr, ce::FALSE, InstanceMarkerName))
{
    runningElsewhere = handle && ce::GetLastError() == ce::ERROR_ALREADY_EXISTS;
    if (!handle)
        fault = ce::LastNamedMutexFault();
}

InstanceMarker::~InstanceMarker()
{
    if (handle)
        ce::CloseHandle(handle);
}

int InstanceMarker::Refusal(std::string& message) const
{
    if (runningElsewhere) {
        message = "the address book is running: close it first, nothing was changed";
        return ExitBookRunning;
    }
    if (!handle) {
        message = "cannot make the instance marker " + fault.path + ": " + fault.reason +
                  "; without it the address book could change the data file meanwhile, nothing was done";
        return ExitFailed;
    }
    return 0;
}

bool LoadBook(ContactList& list, std::string& error)
{
    ce::WIN32_FILE_ATTRIBUTE_DATA attributes;
    const bool exists = ce::GetFileAttributesExW(ContactStoreFile, ce::GetFileExInfoStandard, &attributes);
    if (exists && !list.Load(ContactStoreFile)) {
        const bool held = ce::GetLastError() == ce::ERROR_SHARING_VIOLATION;
        error = "cannot read the address book " + ce::DeviceToHostPath(ContactStoreFile) +
                (held ? ": another program holds it open, close that program first" : "");
        return false;
    }
    return true;
}

std::string Counted(int count, const std::string& one, const std::string& many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace vcard
