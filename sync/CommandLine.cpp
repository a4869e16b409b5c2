#include "sync/CommandLine.h"

#include "platform/core/CodePage.h"
#include "platform/core/FileSystem.h"
#include "sync/Settings.h"
#include "sync/SyncBook.h"
#include "vcard/BookAccess.h"
#include "vcard/CommandLine.h"

#include <cstdio>

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
        " deleted on the server; " + vcard::Counted(s.conflicts, "conflict", "conflicts"));
    if (s.conflicts > 0)
        Say("a contact edited on both sides keeps the server's values; the values edited here are in a second contact");
    if (s.unmappedValues > 0)
        Say(vcard::Counted(s.unmappedValues, "value", "values") + " of the cards read with no field here " +
            (s.unmappedValues == 1 ? "stays" : "stay") + " on the server");
    if (!s.unstorable.empty())
        Say("values with characters that code page " + std::to_string(ce::GetACP()) +
            " cannot store, stored with its default character: " + Counts(s.unstorable));
}

int Sync(bool allowEmpty)
{
    const SyncOutcome outcome = SyncDataFile(allowEmpty);
    if (!outcome.ok)
        return Failed(outcome.error);
    Report(outcome.summary);
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
