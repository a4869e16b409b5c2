#include "sync/SyncState.h"

#include <sqlite3.h>

#include <cstring>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace carddav {

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return Statement(statement, sqlite3_finalize);
}

std::string Column(sqlite3_stmt* statement, int column)
{
    const auto* text = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return text ? std::string(text, sqlite3_column_bytes(statement, column)) : std::string();
}

// UTF-16 units as stored: every unit kept, also those of undecodable bytes.
std::string FieldsBlob(const Fields& fields)
{
    std::string blob;
    for (const std::u16string& text : fields) {
        const std::uint32_t size = std::uint32_t(text.size());
        blob.append(reinterpret_cast<const char*>(&size), sizeof size);
        blob.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
    }
    return blob;
}

Fields FieldsFromBlob(const std::string& blob)
{
    Fields fields;
    std::size_t at = 0;
    for (std::u16string& text : fields) {
        std::uint32_t size = 0;
        if (at + sizeof size > blob.size())
            break;
        std::memcpy(&size, blob.data() + at, sizeof size);
        at += sizeof size;
        if (at + size * sizeof(char16_t) > blob.size())
            break;
        text.resize(size);
        std::memcpy(text.data(), blob.data() + at, size * sizeof(char16_t));
        at += size * sizeof(char16_t);
    }
    return fields;
}

} // namespace

SyncState::~SyncState() { sqlite3_close(db); }

bool SyncState::Fail()
{
    error = db ? sqlite3_errmsg(db) : "cannot open the sync state";
    return false;
}

bool SyncState::Execute(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK || Fail(); }

bool SyncState::SetMeta(const std::string& key, const std::string& value)
{
    const Statement statement = Prepare(db, "INSERT OR REPLACE INTO meta(key, value) VALUES(?, ?)");
    if (!statement)
        return Fail();
    sqlite3_bind_text(statement.get(), 1, key.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement.get(), 2, value.c_str(), -1, SQLITE_TRANSIENT);
    return sqlite3_step(statement.get()) == SQLITE_DONE || Fail();
}

bool SyncState::Open(const std::string& path, const std::string& collection, std::string& message)
{
    // The state holds contacts: readable by its owner only, as its journal is.
    if (const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600); fd >= 0)
        ::close(fd);
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        Fail();
        message = "cannot open the sync state " + path + ": " + error;
        return false;
    }
    sqlite3_busy_timeout(db, 5000);
    const bool ok =
        Execute("PRAGMA journal_mode=WAL") && Execute("PRAGMA synchronous=FULL") &&
        Execute("CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT NOT NULL)") &&
        Execute("CREATE TABLE IF NOT EXISTS cards(href TEXT PRIMARY KEY, uid TEXT NOT NULL, etag TEXT NOT NULL,"
                " card BLOB NOT NULL, fields BLOB NOT NULL)");
    if (!ok) {
        message = "cannot open the sync state " + path + ": " + error;
        return false;
    }
    std::string stored;
    const Statement meta = Prepare(db, "SELECT key, value FROM meta");
    while (meta && sqlite3_step(meta.get()) == SQLITE_ROW) {
        const std::string key = Column(meta.get(), 0);
        if (key == "collection")
            stored = Column(meta.get(), 1);
        else if (key == "sync-token")
            token = Column(meta.get(), 1);
    }
    if (stored != collection) {
        token.clear();
        if (!(Begin() && Execute("DELETE FROM cards") && Execute("DELETE FROM meta") && SetMeta("collection", collection) &&
              Commit())) {
            message = "cannot write the sync state " + path + ": " + error;
            return false;
        }
        return true;
    }
    const Statement rows = Prepare(db, "SELECT href, uid, etag, card, fields FROM cards");
    while (rows && sqlite3_step(rows.get()) == SQLITE_ROW) {
        SyncedCard card{Column(rows.get(), 0), Column(rows.get(), 1), Column(rows.get(), 2), Column(rows.get(), 3),
                        FieldsFromBlob(Column(rows.get(), 4))};
        cards[card.href] = std::move(card);
    }
    return true;
}

bool SyncState::Put(const SyncedCard& card)
{
    const Statement statement =
        Prepare(db, "INSERT OR REPLACE INTO cards(href, uid, etag, card, fields) VALUES(?, ?, ?, ?, ?)");
    if (!statement)
        return Fail();
    const std::string blob = FieldsBlob(card.fields);
    sqlite3_bind_text(statement.get(), 1, card.href.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement.get(), 2, card.uid.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement.get(), 3, card.etag.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_blob(statement.get(), 4, card.card.data(), int(card.card.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(statement.get(), 5, blob.data(), int(blob.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement.get()) != SQLITE_DONE)
        return Fail();
    cards[card.href] = card;
    return true;
}

bool SyncState::Remove(const std::string& href)
{
    const Statement statement = Prepare(db, "DELETE FROM cards WHERE href = ?");
    if (!statement)
        return Fail();
    sqlite3_bind_text(statement.get(), 1, href.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(statement.get()) != SQLITE_DONE)
        return Fail();
    cards.erase(href);
    return true;
}

bool SyncState::SetSyncToken(const std::string& value)
{
    if (!SetMeta("sync-token", value))
        return false;
    token = value;
    return true;
}

bool SyncState::Begin() { return Execute("BEGIN IMMEDIATE"); }
bool SyncState::Commit() { return Execute("COMMIT"); }

} // namespace carddav
