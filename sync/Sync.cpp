#include "sync/Sync.h"

#include "sync/CardEdit.h"
#include "sync/ServerBook.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <set>

namespace carddav {

namespace {

constexpr int MaxRetries = 3;
// New cards sent between two writes of the state.
constexpr std::size_t RecordBatch = 200;
// The ETag of a card whose PUT answered none: it never equals the server's.
constexpr const char* UnknownEtag = "-";

bool IsSuccess(long status) { return status >= 200 && status < 300; }

// Fields other than the name that both hold and that agree.
int SharedFields(const Fields& a, const Fields& b, int& filled)
{
    int shared = 0;
    filled = 0;
    for (FieldId id = 1; id < FieldCount; ++id) {
        filled += !a[id].empty();
        shared += !a[id].empty() && a[id] == b[id];
    }
    return shared;
}

class SyncRun {
public:
    SyncRun(HttpClient& http, const std::string& collection, SyncState& state, ContactList& book, SyncSummary& summary,
            StateAfterSave& after)
        : server(http, collection), state(state), book(book), summary(summary), after(after)
    {
    }

    bool Run(bool allowEmpty, std::string& error);

private:
    struct Pair {
        int local = -1;           // index in the book; -1: deleted here
        bool inStep = false;      // the contact equals the server's card as it is now
    };

    bool RetryPendingUploads();
    bool ReadServer();
    void PairContacts();
    bool SyncPair(const std::string& href, const Pair& pair);
    bool SyncEdit(const std::string& href, const SyncedCard& base, const Fields& here, std::string etag,
                  std::string card);
    SyncedCard MakeCard(const Fields& fields) const;
    bool UploadCopy(const Fields& fields);
    bool UploadNew();
    bool Record(const std::vector<SyncedCard>& cards);
    void TakeServerCard(const std::string& href, const FetchedCard& card, int local);
    bool Fail(const std::string& method, const std::string& href, const HttpResponse& response)
    {
        message = server.Failure(method, href, response);
        return false;
    }
    void ApplyToBook();
    void Wrote(const std::string& href, const std::string& etag) { written[href] = etag; }
    std::string TokenAfterWrites();

    const ServerCard* Fetched(const std::string& href) const
    {
        const auto found = parsed.find(href);
        return found == parsed.end() ? nullptr : &found->second;
    }

    ServerBook server;
    SyncState& state;
    ContactList& book;
    SyncSummary& summary;
    StateAfterSave& after;
    std::string message;

    std::vector<Fields> local;                      // the book's contacts
    std::map<std::string, std::string> members;     // the server's cards: path and ETag
    std::map<std::string, FetchedCard> fetched;     // those changed since the last sync
    std::map<std::string, ServerCard> parsed;       // and read
    std::string token;
    std::map<std::string, std::string> written;     // cards this sync wrote, with their new ETag; "": deleted

    std::map<std::string, Pair> pairs;              // by href of every synced card
    std::map<int, std::string> pairedLocal;         // book index and its card
    std::vector<int> newHere;

    std::map<int, Fields> changes;                  // book index and its new fields
    std::set<int> removals;
    std::vector<Fields> additions;
};

bool SyncRun::RetryPendingUploads()
{
    // A card sent before the last sync ended is sent again under its href:
    // a card that arrived answers 412 and is taken as it is.
    for (const auto& [href, card] : std::map<std::string, SyncedCard>(state.Cards())) {
        if (!card.etag.empty())
            continue;
        HttpResponse response = server.Put(href, card.card, "");
        SyncedCard sent = card;
        if (response.status == 412) {
            response = server.Get(href);
            if (!IsSuccess(response.status))
                return Fail("GET", href, response);
            sent.card = response.body;
        } else if (!IsSuccess(response.status)) {
            return Fail("PUT", href, response);
        } else {
            ++summary.sent;
        }
        sent.etag = response.etag.empty() ? UnknownEtag : response.etag;
        Wrote(href, sent.etag);
        if (!state.Put(sent)) {
            message = state.Error();
            return false;
        }
    }
    return true;
}

bool SyncRun::ReadServer()
{
    std::map<std::string, std::string> known;
    for (const auto& [href, card] : state.Cards())
        known[href] = card.etag;
    token = state.SyncToken();
    if (!server.List(known, token, members, message))
        return false;
    std::vector<std::string> changed;
    for (const auto& [href, etag] : members) {
        const auto synced = state.Cards().find(href);
        if (synced == state.Cards().end() || synced->second.etag != etag || etag.empty())
            changed.push_back(href);
    }
    if (!server.Fetch(changed, fetched, message))
        return false;
    for (const std::string& href : changed)
        if (!fetched.count(href))
            members.erase(href); // gone between the listing and the fetch
    for (const auto& [href, card] : fetched) {
        ServerCard read;
        if (!ReadServerCard(card.text, read)) {
            message = DisplayUrl(server.UrlOf(href)) + ": the server's card is no vCard this program can read";
            return false;
        }
        for (const auto& [property, count] : read.mapped.unmapped)
            summary.unmappedValues += count;
        parsed[href] = std::move(read);
    }
    return true;
}

void SyncRun::PairContacts()
{
    std::multimap<Fields, std::string> lastSynced, serverNow;
    for (const auto& [href, card] : state.Cards()) {
        lastSynced.emplace(card.fields, href);
        pairs[href] = Pair();
    }
    for (const auto& [href, card] : parsed)
        serverNow.emplace(card.fields, href);
    auto take = [&](int i, const std::string& href, bool inStep) {
        pairs[href] = Pair{i, inStep};
        pairedLocal[i] = href;
    };
    auto unpaired = [&](const std::string& href) { return !pairs.count(href) || pairs[href].local < 0; };

    // Unchanged since the last sync.
    for (int i = 0; i < int(local.size()); ++i) {
        for (auto [it, end] = lastSynced.equal_range(local[i]); it != end; ++it) {
            if (unpaired(it->second)) {
                take(i, it->second, false);
                break;
            }
        }
    }
    // Equal to the server's card as it is now, however it got there.
    for (int i = 0; i < int(local.size()); ++i) {
        if (pairedLocal.count(i))
            continue;
        for (auto [it, end] = serverNow.equal_range(local[i]); it != end; ++it) {
            if (unpaired(it->second)) {
                take(i, it->second, true);
                break;
            }
        }
    }
    // Edited here: the same name, then most of the other fields.
    auto unpairedSynced = [&] {
        std::vector<std::string> hrefs;
        for (const auto& [href, card] : state.Cards())
            if (pairs[href].local < 0)
                hrefs.push_back(href);
        return hrefs;
    };
    std::multimap<std::u16string, std::string> byName;
    for (const std::string& href : unpairedSynced())
        byName.emplace(state.Cards().at(href).fields[FieldName], href);
    for (int i = 0; i < int(local.size()); ++i) {
        if (pairedLocal.count(i) || local[i][FieldName].empty())
            continue;
        for (auto [it, end] = byName.equal_range(local[i][FieldName]); it != end; ++it) {
            if (unpaired(it->second)) {
                take(i, it->second, false);
                break;
            }
        }
    }
    const std::vector<std::string> rest = unpairedSynced();
    for (int i = 0; i < int(local.size()); ++i) {
        if (pairedLocal.count(i))
            continue;
        std::string best;
        int bestShared = 0;
        for (const std::string& href : rest) {
            int filled = 0;
            const int shared = unpaired(href) ? SharedFields(state.Cards().at(href).fields, local[i], filled) : 0;
            if (shared > bestShared && shared * 2 >= filled) {
                best = href;
                bestShared = shared;
            }
        }
        if (!best.empty())
            take(i, best, false);
        else
            newHere.push_back(i);
    }
}

void SyncRun::TakeServerCard(const std::string& href, const FetchedCard& card, int index)
{
    const ServerCard& read = parsed.at(href);
    after.put.push_back({href, read.uid, card.etag.empty() ? UnknownEtag : card.etag, card.text, read.fields});
    if (index >= 0 && local[index] == read.fields)
        return;
    for (const auto& [property, count] : read.unstorable)
        summary.unstorable[property] += count;
    if (index >= 0) {
        changes[index] = read.fields;
        ++summary.changedHere;
    } else {
        additions.push_back(read.fields);
        ++summary.received;
    }
}

// The contact edited here goes into the server's card; a card changed
// meanwhile is fetched again and the edits are merged.
bool SyncRun::SyncEdit(const std::string& href, const SyncedCard& base, const Fields& here, std::string etag,
                       std::string card)
{
    Fields fields = here;
    Fields serverFields = base.fields;
    for (int attempt = 0;; ++attempt) {
        const std::string edited = EditCard(card, fields);
        const HttpResponse response = server.Put(href, edited, etag);
        if (IsSuccess(response.status)) {
            ++summary.changedThere;
            const SyncedCard sent{href, base.uid, response.etag.empty() ? UnknownEtag : response.etag, edited, fields};
            Wrote(href, sent.etag);
            if (!changes.count(pairs[href].local))
                return state.Put(sent) || (message = state.Error(), false);
            after.put.push_back(sent);
            return true;
        }
        if (response.status != 412 || attempt == MaxRetries)
            return Fail("PUT", href, response);
        const HttpResponse again = server.Get(href);
        if (again.status == 404) {
            etag.clear(); // deleted meanwhile: the edit is kept as a new card under the same href
            continue;
        }
        ServerCard read;
        if (!IsSuccess(again.status) || !ReadServerCard(again.body, read))
            return Fail("GET", href, again);
        bool conflict = false;
        fields = MergeEdits(base.fields, here, read.fields, conflict);
        if (conflict) {
            ++summary.conflicts;
            if (!UploadCopy(here))
                return false;
        }
        etag = again.etag;
        card = again.body;
        serverFields = read.fields;
        if (fields != here) {
            changes[pairs[href].local] = fields;
            ++summary.changedHere;
        }
        if (fields == serverFields) {
            after.put.push_back({href, base.uid, etag, card, fields});
            return true;
        }
    }
}

SyncedCard SyncRun::MakeCard(const Fields& fields) const
{
    const std::string uid = RandomUuid();
    return {server.PathOf(uid + ".vcf"), uid, "", NewCard(fields, uid), fields};
}

// A second contact, the version edited here of a conflict: its card is
// recorded with the list, since the list does not hold it yet.
bool SyncRun::UploadCopy(const Fields& fields)
{
    SyncedCard card = MakeCard(fields);
    const HttpResponse response = server.Put(card.href, card.card, "");
    if (!IsSuccess(response.status))
        return Fail("PUT", card.href, response);
    ++summary.sent;
    card.etag = response.etag.empty() ? UnknownEtag : response.etag;
    Wrote(card.href, card.etag);
    after.put.push_back(card);
    additions.push_back(fields);
    return true;
}

bool SyncRun::Record(const std::vector<SyncedCard>& cards)
{
    if (cards.empty())
        return true;
    bool ok = state.Begin();
    for (const SyncedCard& card : cards)
        ok = ok && state.Put(card);
    if (ok && state.Commit())
        return true;
    message = state.Error();
    return false;
}

// The contacts new here go out as new cards. They are recorded before they
// go, so that after a crash the same cards are sent again under the same
// hrefs, and a card that had arrived answers 412 instead of doubling.
bool SyncRun::UploadNew()
{
    std::vector<SyncedCard> cards;
    for (int i : newHere)
        if (!IsBlank(local[i]))
            cards.push_back(MakeCard(local[i]));
    if (!Record(cards))
        return false;
    std::vector<SyncedCard> arrived;
    for (SyncedCard& card : cards) {
        const HttpResponse response = server.Put(card.href, card.card, "");
        if (!IsSuccess(response.status)) {
            Record(arrived);
            return Fail("PUT", card.href, response);
        }
        ++summary.sent;
        card.etag = response.etag.empty() ? UnknownEtag : response.etag;
        Wrote(card.href, card.etag);
        arrived.push_back(card);
        if (arrived.size() == RecordBatch) {
            if (!Record(arrived))
                return false;
            arrived.clear();
        }
    }
    return Record(arrived);
}

bool SyncRun::SyncPair(const std::string& href, const Pair& pair)
{
    const auto syncedAt = state.Cards().find(href);
    const bool onServer = members.count(href) > 0;
    const auto fetchedAt = fetched.find(href);
    if (syncedAt == state.Cards().end()) { // a card new on the server
        if (pair.local >= 0)
            after.put.push_back({href, parsed.at(href).uid, fetchedAt->second.etag, fetchedAt->second.text,
                                 parsed.at(href).fields});
        else
            TakeServerCard(href, fetchedAt->second, -1);
        return true;
    }
    const SyncedCard& synced = syncedAt->second;
    const bool serverChanged = fetchedAt != fetched.end();
    if (pair.inStep) {
        TakeServerCard(href, fetchedAt->second, pair.local);
        return true;
    }
    const bool deletedHere = pair.local < 0;
    const bool editedHere = !deletedHere && local[pair.local] != synced.fields;
    if (!onServer) {
        if (editedHere) // deleted there, edited here: the edit stays, on both sides
            return SyncEdit(href, synced, local[pair.local], "", synced.card);
        after.removed.push_back(href);
        if (!deletedHere) {
            removals.insert(pair.local);
            ++summary.deletedHere;
        }
        return true;
    }
    if (deletedHere) {
        if (serverChanged) { // edited there, deleted here: the edit comes back
            TakeServerCard(href, fetchedAt->second, -1);
            return true;
        }
        const HttpResponse response = server.Delete(href, synced.etag);
        if (response.status == 412) {
            const HttpResponse again = server.Get(href);
            ServerCard read;
            if (!IsSuccess(again.status) || !ReadServerCard(again.body, read))
                return Fail("GET", href, again);
            parsed[href] = read;
            TakeServerCard(href, {again.etag, again.body}, -1);
            return true;
        }
        if (!IsSuccess(response.status) && response.status != 404)
            return Fail("DELETE", href, response);
        ++summary.deletedThere;
        Wrote(href, "");
        return state.Remove(href) || (message = state.Error(), false);
    }
    if (!serverChanged)
        return !editedHere || SyncEdit(href, synced, local[pair.local], synced.etag, synced.card);
    if (!editedHere) {
        TakeServerCard(href, fetchedAt->second, pair.local);
        return true;
    }
    // Edited on both sides.
    const ServerCard& there = parsed.at(href);
    bool conflict = false;
    const Fields merged = MergeEdits(synced.fields, local[pair.local], there.fields, conflict);
    if (conflict) {
        ++summary.conflicts;
        if (!UploadCopy(local[pair.local]))
            return false;
    }
    if (merged != local[pair.local]) {
        changes[pair.local] = merged;
        ++summary.changedHere;
    }
    if (merged == there.fields) {
        after.put.push_back({href, there.uid, fetchedAt->second.etag, fetchedAt->second.text, merged});
        return true;
    }
    SyncedCard base = synced;
    base.fields = there.fields;
    const Fields here = merged;
    return SyncEdit(href, base, here, fetchedAt->second.etag, fetchedAt->second.text);
}

// The token of the listing no longer covers the cards this sync wrote: a card
// made and deleted after it would never be reported. The server is asked
// again; its token is kept only when it shows nothing but those writes, and
// otherwise the next sync lists the whole collection.
std::string SyncRun::TokenAfterWrites()
{
    std::map<std::string, std::string> expected = members;
    for (const auto& [href, etag] : written) {
        if (etag.empty())
            expected.erase(href);
        else
            expected[href] = etag;
    }
    std::string newToken = token;
    std::map<std::string, std::string> now;
    std::string ignored;
    if (!server.List(expected, newToken, now, ignored) || now != expected)
        return {};
    return newToken;
}

void SyncRun::ApplyToBook()
{
    std::vector<std::unique_ptr<ContactRecord>> batch;
    {
        auto guard = book.Lock();
        for (const auto& [index, fields] : changes) {
            auto record = std::make_unique<ContactRecord>(*book.GetAt(index));
            ApplyFields(*record, fields);
            batch.push_back(std::move(record));
            removals.insert(index);
        }
        for (auto it = removals.rbegin(); it != removals.rend(); ++it)
            book.RemoveAt(*it);
    }
    for (const Fields& fields : additions) {
        auto record = std::make_unique<ContactRecord>();
        ApplyFields(*record, fields);
        batch.push_back(std::move(record));
    }
    summary.bookChanged = !batch.empty() || !removals.empty();
    book.InsertSortedAll(std::move(batch), FieldName);
}

bool SyncRun::Run(bool allowEmpty, std::string& error)
{
    const bool ok = [&] {
        if (!RetryPendingUploads() || !ReadServer())
            return false;
        {
            auto guard = book.Lock();
            for (int i = 0; i < book.GetCount(); ++i)
                local.push_back(FieldsOf(*book.GetAt(i)));
        }
        if (!allowEmpty && !state.Cards().empty()) {
            if (local.empty()) {
                message = "the address book here holds no contact, but " + std::to_string(state.Cards().size()) +
                          " were synced: nothing was deleted on the server (contacts --sync --allow-empty deletes them)";
                return false;
            }
            if (members.empty()) {
                message = "the address book on the server holds no card, but " + std::to_string(state.Cards().size()) +
                          " were synced: nothing was deleted here (contacts --sync --allow-empty deletes them)";
                return false;
            }
        }
        PairContacts();
        for (const auto& [href, etag] : members)
            if (!pairs.count(href))
                pairs[href] = Pair();
        for (const auto& [href, pair] : std::map<std::string, Pair>(pairs))
            if (!SyncPair(href, pair))
                return false;
        return UploadNew();
    }();
    if (!ok) {
        error = message;
        return false;
    }
    after.syncToken = written.empty() ? token : TokenAfterWrites();
    ApplyToBook();
    return true;
}

} // namespace

Fields MergeEdits(const Fields& base, const Fields& here, const Fields& server, bool& conflict)
{
    Fields merged;
    conflict = false;
    for (FieldId id = 0; id < FieldCount; ++id) {
        if (here[id] == base[id] || here[id] == server[id])
            merged[id] = server[id];
        else if (server[id] == base[id])
            merged[id] = here[id];
        else {
            merged[id] = server[id];
            conflict = true;
        }
    }
    return merged;
}

bool Synchronize(HttpClient& http, const std::string& collection, SyncState& state, ContactList& book,
                 bool allowEmpty, SyncSummary& summary, StateAfterSave& after, std::string& error)
{
    summary = SyncSummary();
    after = StateAfterSave();
    return SyncRun(http, collection, state, book, summary, after).Run(allowEmpty, error);
}

bool RecordState(SyncState& state, const StateAfterSave& after)
{
    if (after.put.empty() && after.removed.empty() && after.syncToken == state.SyncToken())
        return true; // a sync that found no change leaves the state file untouched
    if (!state.Begin())
        return false;
    for (const SyncedCard& card : after.put)
        if (!state.Put(card))
            return false;
    for (const std::string& href : after.removed)
        if (!state.Remove(href))
            return false;
    return state.SetSyncToken(after.syncToken) && state.Commit();
}

} // namespace carddav
