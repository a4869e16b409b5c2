// Faults in the middle of a sync, against Radicale and Xandikos: a status the
// server answers with, a broken XML answer, a server gone silent, a refused
// login, and the program killed at random points. Each stops the sync with
// the request and the server's URL, and the next sync converges with nothing
// lost and nothing doubled. Also a server without sync-collection reports,
// and a test server that ends with a killed test.
#include "support/FaultProxy.h"
#include "support/SyncFixture.h"

#include "sync/Settings.h"

#include <csignal>
#include <random>
#include <set>

using namespace synctest;
using namespace std::chrono_literals;

namespace {

class SyncFaults : public SyncFixture {
protected:
    // Both sides keep changing: each round adds a contact here and a card
    // there and edits a contact here; `expected` follows what they must become.
    void Change(int round)
    {
        const std::string n = std::to_string(round), there = "There " + std::string(1, char('A' + round));
        const std::u16string n16 = ce::Utf8ToUtf16(n);
        std::vector<Fields> book = Book();
        book.push_back(Contact(u"Here " + std::u16string(1, char16_t(u'A' + round)), u"1" + n16));
        book[0][FieldEmail] = u"edit" + n16 + u"@here";
        expected[book[0][FieldName]] = book[0];
        expected[book.back()[FieldName]] = book.back();
        WriteBook(book);
        ASSERT_EQ(server->PutCard("there-" + n + ".vcf", Card("there-" + n, there, "TEL;TYPE=CELL:2" + n + "\r\n")), 201);
        expected[ce::Utf8ToUtf16(there)] = Contact(ce::Utf8ToUtf16(there), u"2" + n16);
    }

    // Both sides hold exactly what `expected` says, each contact once.
    void ExpectConverged(const std::string& when)
    {
        std::vector<Fields> all;
        for (const auto& [name, fields] : expected)
            all.push_back(fields);
        std::sort(all.begin(), all.end());
        ExpectBothHold(all, when);
    }

    std::map<std::u16string, Fields> expected;
};

TEST_P(SyncFaults, AFailedRequestStopsTheSyncAndTheNextConverges)
{
    // The address book through the proxy, which waits a second for a silent server.
    FaultProxy proxy(server->Origin());
    const std::string book = carddav::ResolveUrl(proxy.RootUrl(), carddav::UrlPath(server->BookUrl()));
    std::string error;
    ASSERT_TRUE(carddav::WriteSettings({book, "", 1}, error)) << error;
    Change(0);
    ASSERT_TRUE(Sync().ok) << said;

    struct Case {
        const char* method;
        int nth;
        FaultProxy::Fault fault;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {"REPORT", 1, FaultProxy::Fault::Status, 500, "HTTP 500"},
        {"REPORT", 1, FaultProxy::Fault::BrokenXml, 0, "no WebDAV multistatus"},
        {"PUT", 1, FaultProxy::Fault::Status, 403, "HTTP 403"},
        {"PUT", 2, FaultProxy::Fault::Status, 503, "HTTP 503"},
        {"PUT", 1, FaultProxy::Fault::Silence, 0, "no answer from the server"},
        {"REPORT", 1, FaultProxy::Fault::Status, 404, "HTTP 404"},
    };
    int round = 1;
    for (const Case& fault : cases) {
        Change(round++);
        const std::string bytes = ReadHostFile(DataFile());
        proxy.Inject(fault.method, fault.nth, fault.fault, fault.status);
        const carddav::SyncOutcome failed = Sync();
        EXPECT_NE(failed.error.find(fault.says), std::string::npos) << failed.error;
        EXPECT_NE(failed.error.find(proxy.RootUrl()), std::string::npos) << failed.error;
        EXPECT_EQ(ReadHostFile(DataFile()), bytes) << fault.says;
        ASSERT_TRUE(Sync().ok) << "after " << fault.says << ": " << said;
        ExpectConverged(fault.says);
    }
}

TEST_P(SyncFaults, ARefusedLoginSaysSoWithoutTheCredentials)
{
    if (GetParam() == ServerKind::Xandikos)
        GTEST_SKIP() << "Xandikos asks for no login";
    SetUpSync();
    std::ofstream(root + "/netrc") << "machine 127.0.0.1\nlogin " << User << "\npassword Wrong-Pw-4411\n";
    ASSERT_EQ(RunProgram({"--sync"}), 1);
    EXPECT_NE(lastSaid.find("HTTP 401"), std::string::npos) << lastSaid;
    EXPECT_NE(lastSaid.find(".netrc"), std::string::npos) << lastSaid;
    EXPECT_EQ(lastSaid.find("Wrong-Pw-4411"), std::string::npos) << lastSaid;
    // A URL with a user name or password in it is refused at set-up.
    const std::string url = server->RootUrl();
    ASSERT_EQ(RunProgram({"--sync-setup", "http://" + std::string(User) + ":x@" + url.substr(7)}), 1);
    EXPECT_NE(lastSaid.find("netrc"), std::string::npos) << lastSaid;
}

TEST_P(SyncFaults, SyncsKilledAtRandomPointsConvergeWithNothingLostOrDoubled)
{
    SetUpSync();
    Change(0);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(RunProgram({"--sync"}), 0) << lastSaid;
    const auto full = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long long> delay(0, full.count());
    std::set<int> killed;
    for (int round = 1; round <= 20; ++round) {
        Change(round);
        const pid_t pid = children.Start(shelltest::ChildProcesses::Program(), {"--sync"}, nullptr, root + "/killed.txt");
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(pid, SIGKILL);
        killed.insert(children.WaitExit(pid, 30s));
        ASSERT_EQ(RunProgram({"--sync"}), 0) << "round " << round << ": " << lastSaid;
        said += ReadHostFile(root + "/killed.txt");
        ExpectConverged("round " + std::to_string(round));
    }
    // Some runs were cut short, and some ran to their end.
    EXPECT_TRUE(killed.count(128 + SIGKILL)) << "no run was killed";
}

TEST_P(SyncFaults, WithoutSyncCollectionTheCtagTellsWhetherAnythingChanged)
{
    FaultProxy proxy(server->Origin());
    proxy.Inject("REPORT", 0, FaultProxy::Fault::Status, 501, "sync-collection");
    SetUpSync(proxy.RootUrl());
    Change(0);
    ASSERT_TRUE(Sync().ok) << said;
    ExpectConverged("first sync");

    const std::string state = ReadHostFile(carddav::StatePath());
    const auto written = std::filesystem::last_write_time(DataFile());
    for (int i = 0; i < 3; ++i) {
        std::vector<std::string> asked;
        const carddav::SyncOutcome quiet =
            Sync([&](const std::string& method, const std::string&, long status) {
                asked.push_back(method + " " + std::to_string(status));
            });
        ASSERT_TRUE(quiet.ok) << quiet.error;
        EXPECT_EQ(asked, (std::vector<std::string>{"REPORT 501", "PROPFIND 207"})) << "sync " << i;
    }
    EXPECT_EQ(std::filesystem::last_write_time(DataFile()), written) << "the data file was written";
    EXPECT_TRUE(ReadHostFile(carddav::StatePath()) == state) << "the sync state was written";

    // A card edited there by another client changes the ctag, and the edit comes here.
    EditOnServer("There A", "TEL;TYPE=CELL:20", "TEL;TYPE=CELL:29");
    expected[u"There A"][FieldMobile] = u"29";
    ASSERT_TRUE(Sync().ok) << said;
    ExpectConverged("after an edit there");
}

// The server started by a test ends when that test's process is killed.
TEST(TestServer, EndsWithAKilledTest)
{
    const TempDir folder("server");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const pid_t test = ::fork();
    if (test == 0) {
        DavServer server(ServerKind::Xandikos, folder.Path());
        const int port = server.Start() ? server.Port() : 0;
        (void)!::write(ends[1], &port, sizeof port);
        ::pause();
    }
    int port = 0;
    ASSERT_EQ(::read(ends[0], &port, sizeof port), ssize_t(sizeof port));
    ASSERT_TRUE(port != 0 && Answers(port)) << ReadHostFile(folder.File("server.log"));
    ::kill(test, SIGKILL);
    ::waitpid(test, nullptr, 0);
    for (int i = 0; i < 100 && Answers(port); ++i)
        std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(Answers(port));
}

INSTANTIATE_TEST_SUITE_P(Servers, SyncFaults, ::testing::Values(ServerKind::Radicale, ServerKind::Xandikos), ServerName);

} // namespace
