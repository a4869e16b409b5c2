// One sync of the device's data file with the address book of the settings:
// the data file is read, synced, written through the list's own save when
// anything changed here, and only then is the state recorded.
#pragma once
#include "sync/Http.h"
#include "sync/Sync.h"

#include <map>
#include <string>

namespace carddav {

struct SyncOutcome {
    bool ok = false;
    std::string error;                  // what failed, fit for the user's eyes
    SyncSummary summary;
    std::map<std::string, int> requests; // sent, by method
};

SyncOutcome SyncDataFile(bool allowEmpty, const HttpClient::RequestHook& hook = {});

} // namespace carddav
