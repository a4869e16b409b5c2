// The real program: an import into an empty device root shows its names in
// order when the address book starts, and the import and the address book
// keep each other out through the instance marker.
#include "../../shell/support/ChildProcesses.h"
#include "../../shell/support/ShellFixtures.h"

#include "data/ContactStore.h"
#include "platform/core/System.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

using namespace shelltest;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const char* const Cards = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:王明\r\nTEL;TYPE=CELL:139\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Zapata;Emiliano\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:李雷\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:ana\r\nTEL:555 0100\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob\r\nEND:VCARD\r\n";

class ImportProgram : public FrameFixture {
protected:
    pid_t Start(std::vector<std::string> args, int* input = nullptr)
    {
        return children.Start(ChildProcesses::Program(3), std::move(args), input);
    }
    int WaitExit(pid_t pid, std::chrono::milliseconds timeout) { return children.WaitExit(pid, timeout); }

    // Whether some process holds the instance marker: taking it here fails.
    static bool MarkerHeld()
    {
        const ce::HANDLE probe = ce::CreateMutexW(nullptr, ce::FALSE, InstanceMarkerName);
        const bool held = probe && ce::GetLastError() == ce::ERROR_ALREADY_EXISTS;
        if (probe)
            ce::CloseHandle(probe);
        return held;
    }

    static bool WaitMarker(bool held)
    {
        for (int i = 0; i < 400 && MarkerHeld() != held; ++i)
            std::this_thread::sleep_for(50ms);
        return MarkerHeld() == held;
    }

    std::string Source(const std::string& name, const std::string& bytes) const
    {
        const std::string path = root + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    ChildProcesses children;
};

TEST_F(ImportProgram, ImportIntoAnEmptyDeviceRootShowsTheNamesInOrder)
{
    fs::remove_all(root + "/My Flash Disk");
    ASSERT_EQ(WaitExit(Start({"--import", Source("people.vcf", Cards)}), 20s), 0);

    OpenFrame();
    ASSERT_TRUE(WaitForLoad());
    auto* listWindow = ChildOf<CContactListWnd>(frameWindow);
    ASSERT_NE(listWindow, nullptr);
    ce::CListCtrl* list = &listWindow->GetListView();
    std::vector<std::u16string> rows;
    for (int row = 0; row < list->GetItemCount(); ++row)
        rows.push_back(list->GetItemText(row, 0));
    EXPECT_EQ(rows, (std::vector<std::u16string>{u"ana", u"Bob", u"Emiliano Zapata", u"李雷", u"王明"}));
    EXPECT_EQ(list->GetItemText(0, 1), u"555 0100");
    EXPECT_EQ(list->GetItemText(4, 2), u"139");
}

TEST_F(ImportProgram, ImportAndAddressBookKeepEachOtherOut)
{
    // An import that waits for its standard input holds the marker: the
    // address book does not start meanwhile.
    int input = -1;
    const pid_t import = Start({"--import", "-"}, &input);
    ASSERT_TRUE(WaitMarker(true));
    const pid_t refused = Start({});
    EXPECT_NE(WaitExit(refused, 20s), -1) << "the address book started during an import";
    ASSERT_EQ(::write(input, Cards, std::strlen(Cards)), ssize_t(std::strlen(Cards)));
    ::close(input);
    ASSERT_EQ(WaitExit(import, 20s), 0);
    const std::vector<Person> imported = ReadDataFile(dataFile);
    EXPECT_EQ(imported.size(), 5u);

    // While the address book runs, import and export refuse with status 2.
    const pid_t book = Start({});
    ASSERT_TRUE(WaitMarker(true));
    EXPECT_EQ(WaitExit(Start({"--import", Source("more.vcf", "BEGIN:VCARD\nFN:Nuevo\nEND:VCARD\n")}), 20s), 2);
    EXPECT_EQ(WaitExit(Start({"--export", root + "/out.vcf"}), 20s), 2);
    EXPECT_FALSE(fs::exists(root + "/out.vcf"));
    ASSERT_EQ(::kill(book, SIGTERM), 0);
    EXPECT_EQ(WaitExit(book, 20s), 0);
    EXPECT_EQ(ReadDataFile(dataFile), imported);
}

} // namespace
