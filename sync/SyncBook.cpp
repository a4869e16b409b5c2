#include "sync/SyncBook.h"

#include "data/ContactStore.h"
#include "platform/core/FileSystem.h"
#include "sync/Settings.h"
#include "vcard/BookAccess.h"

#include <filesystem>

namespace carddav {

SyncOutcome SyncDataFile(bool allowEmpty, const HttpClient::RequestHook& hook)
{
    SyncOutcome outcome;
    SyncSettings settings;
    if (!ReadSettings(settings, outcome.error))
        return outcome;
    ContactList book;
    if (!vcard::LoadBook(book, outcome.error)) {
        outcome.error += "; nothing was synced";
        return outcome;
    }
    SyncState state;
    if (!state.Open(StatePath(), settings.url, outcome.error))
        return outcome;
    HttpClient http({settings.caFile, settings.timeoutSeconds});
    http.SetRequestHook(hook);
    StateAfterSave after;
    const bool synced = Synchronize(http, settings.url, state, book, allowEmpty, outcome.summary, after, outcome.error);
    outcome.requests = http.Counts();
    if (!synced) {
        outcome.error += "; the sync stopped, the data file was not changed";
        return outcome;
    }
    if (outcome.summary.bookChanged) {
        std::error_code ignored;
        std::filesystem::create_directories(ce::DeviceToHostPath(ContactStoreFolder), ignored);
        if (!book.Save(ContactStoreFile)) {
            outcome.error = "cannot write the address book " + ce::DeviceToHostPath(ContactStoreFile) +
                            "; the next sync takes the server's changes again";
            return outcome;
        }
    }
    if (!RecordState(state, after)) {
        outcome.error = "cannot write the sync state " + StatePath() + ": " + state.Error();
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace carddav
