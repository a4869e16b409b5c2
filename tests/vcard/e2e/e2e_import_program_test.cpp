// The real program: an import holds the instance marker, so the address
// book does not start meanwhile. (That the running address book keeps the
// import out is the vCard unit tests' and the shell's single-copy tests'.)
#include "../../shell/support/ShellFixtures.h"
#include "tests/common/ChildProcesses.h"

#include <chrono>
#include <cstring>

using namespace shelltest;
using namespace std::chrono_literals;

namespace {

const char* const Cards = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:王明\r\nTEL;TYPE=CELL:139\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Zapata;Emiliano\r\nEND:VCARD\r\n";

class ImportProgram : public FrameFixture {
protected:
    ChildProcesses children;
};

TEST_F(ImportProgram, AnImportKeepsTheAddressBookFromStarting)
{
    // An import that waits for its standard input holds the marker: the
    // address book does not start meanwhile.
    int input = -1;
    const pid_t import = children.Start(ChildProcesses::Program(), {"--import", "-"}, &input);
    ASSERT_TRUE(ChildProcesses::WaitForMarker(runtimeDir));
    const pid_t refused = children.Start(ChildProcesses::Program());
    EXPECT_NE(children.WaitExit(refused, 20s), -1) << "the address book started during an import";
    ASSERT_EQ(::write(input, Cards, std::strlen(Cards)), ssize_t(std::strlen(Cards)));
    ::close(input);
    ASSERT_EQ(children.WaitExit(import, 20s), 0);
    EXPECT_EQ(ReadDataFile(dataFile).size(), 2u);
}

} // namespace
