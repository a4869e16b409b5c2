// The sync tests' device: a temporary device root, settings and state folder
// and .netrc, a real server for each test, the data file written and read
// through the contact list, and syncs run here or as the real program.
#pragma once
#include "DavServer.h"

#include "data/ContactList.h"
#include "data/ContactStore.h"
#include "platform/core/CodePage.h"
#include "platform/core/FileSystem.h"
#include "sync/CardEdit.h"
#include "sync/SyncBook.h"
#include "../../common/Files.h"

#include <algorithm>

namespace synctest {

using carddav::Fields;

inline Fields Contact(std::u16string name, std::u16string mobile = {}, std::u16string email = {})
{
    Fields fields;
    fields[FieldName] = std::move(name);
    fields[FieldMobile] = std::move(mobile);
    fields[FieldEmail] = std::move(email);
    return fields;
}

// A plain vCard 3.0 as another client writes it.
inline std::string Card(const std::string& uid, const std::string& name, const std::string& more = {})
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:" + name + "\r\nN:;" + name + ";;;\r\n" + more +
           "END:VCARD\r\n";
}

// The device, its settings and a server of its own, made and removed by
// the tests' fixture and by the benchmark.
class SyncDevice {
public:
    // Why the server did not start; empty when it did.
    std::string Make(ServerKind kind, RadicaleStorage storage = RadicaleStorage::AsInstalled)
    {
        ce::SetACP(54936);
        root = MakeTempFolder("sync");
        for (const char* folder : {"/config", "/server"})
            std::filesystem::create_directories(root + folder);
        std::ofstream(root + "/netrc") << "machine 127.0.0.1\nlogin " << User << "\npassword " << Password << "\n";
        UseDeviceRoot(root + "/device");
        ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        ::setenv("NETRC", (root + "/netrc").c_str(), 1);
        ::setenv("CONTACTS_CODEPAGE", "54936", 1);
        server = std::make_unique<DavServer>(kind, root + "/server", storage);
        return server->Start() ? "" : NameOf(kind) + " did not start: " + ReadHostFile(server->LogPath());
    }

    void Remove()
    {
        server->Stop();
        ce::SetDeviceRoot("");
        ce::SetACP(0);
        RemoveFolder(root);
    }

    // The password is in .netrc and the server's user file, and nowhere else:
    // not in a file of the run, nor in anything the program said.
    void ExpectNoPasswordAnywhere()
    {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file() || entry.path() == root + "/netrc" || entry.path() == root + "/server/users")
                continue;
            EXPECT_EQ(ReadHostFile(entry.path()).find(Password), std::string::npos) << entry.path();
        }
        EXPECT_EQ(said.find(Password), std::string::npos) << said;
    }

    std::string DataFile() const { return root + "/device/My Flash Disk/PIM/Contacts.pcd"; }

    void WriteBook(const std::vector<Fields>& contacts)
    {
        std::filesystem::create_directories(root + "/device/My Flash Disk/PIM");
        ContactList list;
        for (const Fields& fields : contacts) {
            auto record = std::make_unique<ContactRecord>();
            carddav::ApplyFields(*record, fields);
            list.InsertSorted(std::move(record), FieldName);
        }
        ASSERT_TRUE(list.Save(ContactStoreFile));
    }

    std::vector<Fields> Book() const
    {
        ContactListBase list;
        list.Load(ContactStoreFile);
        std::vector<Fields> all;
        auto guard = list.Lock();
        for (int i = 0; i < list.GetCount(); ++i)
            all.push_back(carddav::FieldsOf(*list.GetAt(i)));
        std::sort(all.begin(), all.end());
        return all;
    }

    // The server's cards as contacts, in the same order as Book().
    std::vector<Fields> ServerBook()
    {
        std::vector<Fields> all;
        for (const auto& [href, card] : server->Cards()) {
            carddav::ServerCard read;
            EXPECT_TRUE(carddav::ReadServerCard(card.text, read)) << card.text;
            all.push_back(read.fields);
        }
        std::sort(all.begin(), all.end());
        return all;
    }

    // Both sides hold exactly these contacts, in Book()'s order.
    void ExpectBothHold(const std::vector<Fields>& contacts, const std::string& when = {})
    {
        EXPECT_EQ(Book(), contacts) << when;
        EXPECT_EQ(ServerBook(), contacts) << when;
    }

    // The server card whose FN is `name`: its href and text.
    std::pair<std::string, carddav::FetchedCard> ServerCardNamed(const std::string& name)
    {
        for (const auto& [href, card] : server->Cards())
            if (card.text.find("\r\nFN:" + name + "\r\n") != std::string::npos)
                return {href, card};
        ADD_FAILURE() << "no card " << name;
        return {};
    }

    // Replaces a server card as another client does: If-Match with its ETag.
    void EditOnServer(const std::string& name, const std::string& from, const std::string& to)
    {
        auto [href, card] = ServerCardNamed(name);
        const auto at = card.text.find(from);
        ASSERT_NE(at, std::string::npos) << card.text;
        card.text.replace(at, from.size(), to);
        ASSERT_EQ(server->PutCard(href, card.text, card.etag) / 100, 2);
    }

    void SetUpSync(const std::string& url = {})
    {
        ASSERT_EQ(RunProgram({"--sync-setup", url.empty() ? server->RootUrl() : url}), 0) << said;
    }

    carddav::SyncOutcome Sync(const carddav::HttpClient::RequestHook& hook = {})
    {
        carddav::SyncOutcome outcome = carddav::SyncDataFile(false, hook);
        said += outcome.error;
        return outcome;
    }

    // The real program with `args`; its standard error is added to `said`.
    int RunProgram(std::vector<std::string> args, std::chrono::milliseconds timeout = std::chrono::seconds(60))
    {
        const std::string errors = root + "/program-errors.txt";
        const pid_t pid = children.Start(shelltest::ChildProcesses::Program(), std::move(args), nullptr, errors);
        const int status = children.WaitExit(pid, timeout);
        lastSaid = ReadHostFile(errors);
        said += lastSaid;
        return status;
    }

    std::string root;
    std::string said;     // everything the program said in this test
    std::string lastSaid; // what it said the last time it ran
    std::unique_ptr<DavServer> server;
    shelltest::ChildProcesses children;
};

class SyncFixture : public ::testing::TestWithParam<ServerKind>, protected SyncDevice {
protected:
    void SetUp() override
    {
        const std::string why = Make(GetParam());
        ASSERT_TRUE(why.empty()) << why;
    }

    void TearDown() override
    {
        server->Stop();
        ExpectNoPasswordAnywhere();
        Remove();
    }
};

inline std::string ServerName(const ::testing::TestParamInfo<ServerKind>& info) { return NameOf(info.param); }

} // namespace synctest
