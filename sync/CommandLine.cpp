#include "sync/CommandLine.h"

#include "data/ContactStore.h"
#include "platform/core/CodePage.h"
#include "platform/core/FileSystem.h"
#include "sync/Settings.h"
#include "sync/Sync.h"
#include "vcard/BookAccess.h"
#include "vcard/CommandLine.h"

#include <cstdio>
#include <filesystem>

namespace carddav {

namespace {

void Say(const std::string& message) { std::fprintf(stderr, "contacts: %s\n", message.c_str()); }

int Failed(const std::string& message)
{
    Say(message);
    return vcard::ExitFailed;
}

bool HasCredentials(const std::string& url)
{
    const auto scheme = url.find("://");
    const auto at = url.find('@', scheme == std::string::npos ? 0 : scheme + 3);
    return at != std::string::npos && at < url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
}

std::string Counts(const std::map<std::string, int>& counts)
{
    std::string text;
    for (const auto& [property, count] : counts)
        text += (text.empty() ? "" : ", ") + property + " " + std::to_string(count);
    return text;
}

void Report(const SyncSummary& s)
{
    Say("synced: " + std::to_string(s.received) + " received, " + std::to_string(s.changedHere) +
        " changed here, " + std::to_string(s.deletedHere) + " deleted here; " + std::to_string(s.sent) + " sent, " +
        std::to_string(s.changedThere) + " changed on the server, " + std::to_string(s.deletedThere) +
        " deleted on the server; " + std::to_string(s.conflicts) + " conflicts");
    if (s.conflicts > 0)
        Say("a contact edited on both sides keeps the server's values; the values edited here are in a second contact");
    if (s.unmappedValues > 0)
        Say(std::to_string(s.unmappedValues) + " values of the cards read have no field here and stay on the server");
    if (!s.unstorable.empty())
        Say("values with characters that code page " + std::to_string(ce::GetACP()) +
            " cannot store, stored with its default character: " + Counts(s.unstorable));
}

int Sync(bool allowEmpty)
{
    SyncSettings settings;
    std::string error;
    if (!ReadSettings(settings, error))
        return Failed(error);
    ContactList book;
    if (!vcard::LoadBook(book, error))
        return Failed(error + "; nothing was synced");
    SyncState state;
    if (!state.Open(StatePath(), settings.url, error))
        return Failed(error);
    HttpClient http({settings.caFile, settings.timeoutSeconds});
    SyncSummary summary;
    StateAfterSave after;
    if (!Synchronize(http, settings.url, state, book, allowEmpty, summary, after, error))
        return Failed(error + "; the sync stopped, the data file was not changed");
    if (summary.bookChanged) {
        std::error_code ignored;
        std::filesystem::create_directories(ce::DeviceToHostPath(ContactStoreFolder), ignored);
        if (!book.Save(ContactStoreFile))
            return Failed("cannot write the address book " + ce::DeviceToHostPath(ContactStoreFile) +
                          "; the next sync takes the server's changes again");
    }
    if (!RecordState(state, after))
        return Failed("cannot write the sync state " + StatePath() + ": " + state.Error());
    Report(summary);
    return 0;
}

} // namespace

int RunSyncSetup(const std::string& url)
{
    if (HasCredentials(url))
        return Failed("the URL holds a user name or password: give them in ~/.netrc (or $NETRC) instead");
    if (!url.starts_with("http://") && !url.starts_with("https://"))
        return Failed("the address book's URL must begin with http:// or https://");
    SyncSettings settings;
    std::string error;
    ReadSettings(settings, error); // a CA file and timeout already set are kept
    HttpClient http({settings.caFile, settings.timeoutSeconds});
    std::string collection;
    if (!DiscoverAddressBook(http, url, collection, error))
        return Failed(error + "; nothing was set up");
    settings.url = collection;
    if (!WriteSettings(settings, error))
        return Failed(error);
    Say("the address book " + DisplayUrl(collection) + " is set up in " + SettingsPath());
    return 0;
}

int RunSync(bool allowEmpty)
{
    const vcard::InstanceMarker marker;
    std::string refusal;
    if (const int status = marker.Refusal(refusal); status != 0) {
        Say(refusal);
        return status;
    }
    return Sync(allowEmpty);
}

} // namespace carddav
