// The program's command-line modes of the CardDAV sync, without a window.
#pragma once
#include <string>

namespace carddav {

// contacts --sync-setup URL: finds the address book at or under URL and keeps
// it in the settings. Exit status 0, or 1 with the reason on standard error.
int RunSyncSetup(const std::string& url);
// contacts --sync [--allow-empty]: syncs the data file with that address book
// and tells what moved on standard error. 0 done, 1 failed, 2 the address book runs.
int RunSync(bool allowEmpty);

} // namespace carddav
