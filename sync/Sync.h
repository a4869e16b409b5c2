// One two-way sync of the contact list with a CardDAV address book.
//
// A contact is paired with its server card through the state of the last
// sync: a contact whose 16 fields equal those last synced is unchanged; one
// that equals a card the server changed is already in step; the others are
// recognised by their name, then by their other fields; what is left is new
// here, and a synced contact that found no partner was deleted here.
#pragma once
#include "data/ContactList.h"
#include "sync/Http.h"
#include "sync/SyncState.h"

#include <map>
#include <string>
#include <vector>

namespace carddav {

struct SyncSummary {
    int received = 0;        // contacts new here, from the server
    int changedHere = 0;     // contacts changed here by the server's cards
    int deletedHere = 0;
    int sent = 0;            // new cards on the server
    int changedThere = 0;    // server cards changed by contacts edited here
    int deletedThere = 0;
    int conflicts = 0;       // contacts edited on both sides in the same field
    int unmappedValues = 0;  // values of the cards read that have no field, kept on the server
    std::map<std::string, int> unstorable; // fields the code page cannot hold, by property
    bool bookChanged = false;
};

// What the state is to hold once the contact list is written.
struct StateAfterSave {
    std::vector<SyncedCard> put;
    std::vector<std::string> removed;
    std::string syncToken;
};

// Syncs `book` with the collection. The server is written while it runs, and
// the state of each card sent whose contact stays as it is here; the list is
// changed in memory only: the caller writes it, then records `after`. False
// with `error` (the request, the server's URL, the status) on the first
// fault; the list is then left as it was.
bool Synchronize(HttpClient& http, const std::string& collection, SyncState& state, ContactList& book,
                 bool allowEmpty, SyncSummary& summary, StateAfterSave& after, std::string& error);

// Writes `after` into the state in one transaction.
bool RecordState(SyncState& state, const StateAfterSave& after);

// The collection at `url`, or the first address book found from it through
// current-user-principal and addressbook-home-set. False with `error`.
bool DiscoverAddressBook(HttpClient& http, const std::string& url, std::string& collection, std::string& error);

// A field-by-field merge of two edits of `base`: a field changed on one side
// takes that side's value; where both changed it differently, the server's
// value wins and `conflict` is set.
Fields MergeEdits(const Fields& base, const Fields& here, const Fields& server, bool& conflict);

} // namespace carddav
