// The one application object of the program, and its start: the help, the
// version and a wrong command line are answered, and the vCard import and
// export and the CardDAV sync run, without any window and whether or not another copy runs;
// everything else is the address book.
#include "platform/core/System.h"
#include "platform/ui/App.h"
#include "shell/CommandLine.h"
#include "shell/ContactApp.h"
#include "sync/CommandLine.h"
#include "vcard/CommandLine.h"

#include <cstdio>
#include <cstdlib>

CContactApp theApp;

namespace {

int RunAction(const CommandLine& line)
{
    switch (line.action) {
    case CommandLine::Run:
        theApp.SetCommandLine(line);
        return ce::AfxWinMain({.scale = line.scale, .fullScreen = line.fullScreen});
    case CommandLine::Import:
        return vcard::RunImport(line.importFiles, line.dryRun);
    case CommandLine::Export:
        return vcard::RunExport(line.exportFile);
    case CommandLine::SyncSetup:
        return carddav::RunSyncSetup(line.syncUrl);
    case CommandLine::Sync:
        return carddav::RunSync(line.allowEmpty);
    default:
        return PrintAnswer(line);
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Before any file is opened: a closed standard output must not become
    // the lock file or the data file.
    ce::OpenStandardStreams();
    const CommandLine line =
        ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), std::getenv("CONTACTS_SCALE"));
    const int status = RunAction(line);
    // What did not reach standard output is a failure, though the rest was done.
    if (status == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
        std::fprintf(stderr, "contacts: cannot write standard output\n");
        return 1;
    }
    return status;
}
