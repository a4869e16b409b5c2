// What the last sync left: for each server card paired with a contact, its
// href, ETag, UID, its text and the contact's 16 fields as they were synced;
// and the collection's sync token. Kept in SQLite, whose transactions a
// crash cannot leave half-written.
#pragma once
#include "sync/ContactFields.h"

#include <map>
#include <string>

struct sqlite3;

namespace carddav {

struct SyncedCard {
    std::string href;  // path on the server
    std::string uid;
    std::string etag;  // empty: sent, but not yet known to have arrived
    std::string card;  // the server's text of the card
    Fields fields;     // the contact as last synced, as the data file holds it
};

class SyncState {
public:
    SyncState() = default;
    ~SyncState();
    SyncState(const SyncState&) = delete;
    SyncState& operator=(const SyncState&) = delete;

    // Opens or creates the file; state left for another collection is dropped.
    bool Open(const std::string& path, const std::string& collection, std::string& error);

    const std::map<std::string, SyncedCard>& Cards() const { return cards; }
    std::string SyncToken() const { return token; }

    // Each change is on disk when it returns.
    bool Put(const SyncedCard& card);
    bool Remove(const std::string& href);
    bool SetSyncToken(const std::string& value);

    // Several changes as one: on disk together at Commit, or not at all.
    bool Begin();
    bool Commit();

    const std::string& Error() const { return error; }

private:
    bool Execute(const char* sql);
    bool SetMeta(const std::string& key, const std::string& value);
    bool Fail();

    sqlite3* db = nullptr;
    std::map<std::string, SyncedCard> cards;
    std::string token;
    std::string error;
};

} // namespace carddav
