// Two-way sync of the data file with a real CardDAV server, Radicale and
// Xandikos alike: first sync of two books that overlap, changes on each side
// (the server's made with plain HTTP requests, as another client would),
// conflicts, deletes against edits, emptied sides, and no-change syncs.
#include "support/SyncFixture.h"

#include "platform/core/System.h"

#include <gmock/gmock.h>

using namespace synctest;
using ::testing::HasSubstr;

namespace {

const std::string PhotoAndMore = "NOTE:met at the fair\r\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRg==\r\n"
                                 "TEL;TYPE=WORK:222\r\nEMAIL:c1@x\r\nEMAIL:c2@x\r\nEMAIL:c3@x\r\nEMAIL:c4@x\r\n"
                                 "CATEGORIES:friends\r\nX-FAVOURITE-COLOUR:green\r\n";

class TwoWaySync : public SyncFixture {
protected:
    // Ana and Bob here; Bob (the same) and Carla there. One sync makes three on both sides.
    void SyncFirstBooks()
    {
        WriteBook({Contact(u"Ana", u"111", u"ana@x"), Contact(u"Bob", u"", u"bob@x")});
        ASSERT_EQ(server->PutCard("bob.vcf", Card("bob-uid", "Bob", "EMAIL;TYPE=INTERNET:bob@x\r\n")), 201);
        ASSERT_EQ(server->PutCard("carla.vcf", Card("carla-uid", "Carla", PhotoAndMore)), 201);
        SetUpSync();
        ASSERT_EQ(RunProgram({"--sync"}), 0) << lastSaid;
    }

    // Carla as her card reads: three of its e-mails and its work telephone.
    static Fields Carla(const std::u16string& officeTelephone = u"222")
    {
        Fields carla = Contact(u"Carla", u"", u"c1@x");
        carla[FieldEmail2] = u"c2@x", carla[FieldEmail3] = u"c3@x", carla[FieldOfficeTelephone] = officeTelephone;
        return carla;
    }

    void EditHere(const std::u16string& name, FieldId field, const std::u16string& value)
    {
        std::vector<Fields> book = Book();
        for (Fields& contact : book)
            if (contact[FieldName] == name)
                contact[field] = value;
        WriteBook(book);
    }

    void DeleteHere(const std::u16string& name)
    {
        std::vector<Fields> book = Book();
        std::erase_if(book, [&](const Fields& f) { return f[FieldName] == name; });
        WriteBook(book);
    }
};

TEST_P(TwoWaySync, FirstSyncJoinsTwoBooksAndTenQuietSyncsChangeNothing)
{
    SyncFirstBooks();
    EXPECT_THAT(lastSaid, HasSubstr("synced: 1 received, 0 changed here, 0 deleted here; 1 sent, 0 changed on the "
                                    "server, 0 deleted on the server; 0 conflicts\n"));
    ExpectBothHold({Contact(u"Ana", u"111", u"ana@x"), Contact(u"Bob", u"", u"bob@x"), Carla()});
    // The new card: a random (version 4) UID, its href made from it.
    const auto [href, ana] = ServerCardNamed("Ana");
    const std::string uuid = ana.text.substr(ana.text.find("\r\nUID:") + 6, 36);
    EXPECT_EQ(href, carddav::UrlPath(server->BookUrl()) + uuid + ".vcf");
    EXPECT_EQ(uuid[14], '4');

    // A single REPORT each, which changes nothing on the server.
    const auto written = std::filesystem::last_write_time(DataFile());
    for (int i = 0; i < 10; ++i) {
        const carddav::SyncOutcome quiet = Sync();
        ASSERT_TRUE(quiet.ok) << quiet.error;
        EXPECT_EQ(quiet.requests, (std::map<std::string, int>{{"REPORT", 1}})) << "sync " << i;
    }
    EXPECT_EQ(std::filesystem::last_write_time(DataFile()), written) << "the data file was written";
}

TEST_P(TwoWaySync, EditsAddsAndDeletesOnEachSideMeetAfterOneSync)
{
    SyncFirstBooks();
    ASSERT_EQ(server->PutCard("dora.vcf", Card("dora-uid", "Dora", "TEL;TYPE=CELL:444\r\n")), 201);
    EditOnServer("Bob", "bob@x", "bob@new");
    server->DeleteCard(ServerCardNamed("Ana").first);
    EditHere(u"Carla", FieldOfficeTelephone, u"223");
    std::vector<Fields> book = Book();
    book.push_back(Contact(u"Eva", u"555"));
    WriteBook(book);

    ASSERT_EQ(RunProgram({"--sync"}), 0) << lastSaid;
    EXPECT_THAT(lastSaid, HasSubstr("synced: 1 received, 1 changed here, 1 deleted here; 1 sent, 1 changed on the "
                                    "server, 0 deleted on the server; 0 conflicts\n"));
    ExpectBothHold({Contact(u"Bob", u"", u"bob@new"), Carla(u"223"), Contact(u"Dora", u"444"), Contact(u"Eva", u"555")},
                   "after the first sync");
    // The edit made here changed only its own line of the server's card.
    const std::string carla = ServerCardNamed("Carla").second.text;
    for (const char* kept : {"UID:carla-uid", "NOTE:met at the fair", "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRg==",
                             "EMAIL:c4@x", "X-FAVOURITE-COLOUR:green"})
        EXPECT_NE(carla.find(kept), std::string::npos) << kept << " lost from\n" << carla;

    // Deletes here reach the server too, and a renamed contact stays one contact.
    DeleteHere(u"Dora");
    EditHere(u"Eva", FieldName, u"Eva Diaz");
    ASSERT_EQ(RunProgram({"--sync"}), 0) << lastSaid;
    EXPECT_NE(lastSaid.find("1 changed on the server, 1 deleted on the server"), std::string::npos) << lastSaid;
    ExpectBothHold({Contact(u"Bob", u"", u"bob@new"), Carla(u"223"), Contact(u"Eva Diaz", u"555")},
                   "after the delete and the rename");
}

TEST_P(TwoWaySync, AConflictKeepsBothVersionsAndAnEditOutlivesADelete)
{
    SyncFirstBooks();
    EditOnServer("Ana", "TEL;TYPE=CELL:111", "TEL;TYPE=CELL:999");
    EditHere(u"Ana", FieldMobile, u"333");
    EditHere(u"Ana", FieldEmail, u"ana@here");
    DeleteHere(u"Bob");
    EditOnServer("Bob", "bob@x", "bob@there");
    EditHere(u"Carla", FieldMobile, u"777");
    server->DeleteCard(ServerCardNamed("Carla").first);

    const carddav::SyncOutcome outcome = Sync();
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(outcome.summary.conflicts, 1);
    // The server's mobile with the e-mail changed here; the version made here beside it.
    Fields carla = Carla();
    carla[FieldMobile] = u"777";
    const std::vector<Fields> book = {Contact(u"Ana", u"333", u"ana@here"), Contact(u"Ana", u"999", u"ana@here"),
                                      Contact(u"Bob", u"", u"bob@there"), carla};
    ExpectBothHold(book);
    ASSERT_TRUE(Sync().ok);
    EXPECT_EQ(Book(), book);
}

TEST_P(TwoWaySync, AnEmptiedSideEmptiesNothingUnlessAskedTo)
{
    SyncFirstBooks();
    const std::vector<Fields> three = Book();
    WriteBook({});
    ASSERT_EQ(RunProgram({"--sync"}), 1);
    EXPECT_NE(lastSaid.find("holds no contact"), std::string::npos) << lastSaid;
    EXPECT_EQ(ServerBook(), three);

    // A wiped server address book empties nothing here either.
    WriteBook(three);
    for (const auto& [href, card] : server->Cards())
        ASSERT_EQ(server->DeleteCard(href) / 100, 2) << href;
    ASSERT_EQ(RunProgram({"--sync"}), 1) << lastSaid;
    EXPECT_NE(lastSaid.find("holds no card"), std::string::npos) << lastSaid;
    EXPECT_EQ(Book(), three);

    ASSERT_EQ(RunProgram({"--sync", "--allow-empty"}), 0) << lastSaid;
    EXPECT_TRUE(Book().empty());
    EXPECT_TRUE(ServerBook().empty());
}

TEST_P(TwoWaySync, AnUploadThatMeetsAChangeOrLosesItsAnswerMakesNoDuplicate)
{
    SyncFirstBooks();
    EditHere(u"Ana", FieldMobile, u"113");
    bool changed = false;
    std::vector<long> putStatus;
    const auto hook = [&](const std::string& method, const std::string&, long status) {
        if (method == "PUT")
            putStatus.push_back(status);
        if (method == "REPORT" && !changed) { // another client writes between the listing and the upload
            changed = true;
            EditOnServer("Ana", "ana@x", "ana@other");
        }
    };
    const carddav::SyncOutcome outcome = Sync(hook);
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(putStatus, (std::vector<long>{412, putStatus.back()}));
    const Fields merged = Contact(u"Ana", u"113", u"ana@other");
    EXPECT_EQ(Book()[0], merged);
    EXPECT_EQ(ServerBook()[0], merged);
    EXPECT_EQ(outcome.summary.conflicts, 0);

    // A new card arrives, but its answer never does.
    std::vector<Fields> book = Book();
    book.push_back(Contact(u"Fede", u"808"));
    WriteBook(book);
    EXPECT_THROW(Sync([](const std::string& method, const std::string&, long) {
                     if (method == "PUT")
                         throw std::runtime_error("connection lost");
                 }),
                 std::runtime_error);
    EXPECT_EQ(ServerBook().size(), 4u);
    putStatus.clear();
    const carddav::SyncOutcome retried = Sync(hook);
    ASSERT_TRUE(retried.ok) << retried.error;
    EXPECT_EQ(putStatus, std::vector<long>{412});
    EXPECT_EQ(ServerBook(), Book());
    EXPECT_EQ(Book().size(), 4u);
}

TEST_P(TwoWaySync, SyncRefusesWhileTheAddressBookRuns)
{
    SetUpSync();
    const ce::HANDLE marker = ce::CreateMutexW(nullptr, ce::FALSE, InstanceMarkerName);
    ASSERT_EQ(RunProgram({"--sync"}), 2);
    ce::CloseHandle(marker);
}

INSTANTIATE_TEST_SUITE_P(Servers, TwoWaySync, ::testing::Values(ServerKind::Radicale, ServerKind::Xandikos), ServerName);

} // namespace
