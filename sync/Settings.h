// The sync settings: which address book, and how to reach it. They live in
// $XDG_CONFIG_HOME/contacts/sync.conf (~/.config when unset), readable by
// its owner only, beside the sync state. Never a user name or password.
#pragma once
#include <string>

namespace carddav {

struct SyncSettings {
    std::string url;       // the address book's collection
    std::string caFile;    // certificates to trust besides the system's
    long timeoutSeconds = 60;
};

// The folder of the settings and the state.
std::string ConfigFolder();
std::string SettingsPath();
std::string StatePath();

// False with `error` set when the file is missing or holds no URL.
bool ReadSettings(SyncSettings& settings, std::string& error);
// Written whole beside the old file, with mode 0600, then moved over it.
bool WriteSettings(const SyncSettings& settings, std::string& error);

} // namespace carddav
