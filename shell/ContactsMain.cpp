// The one application object of the program, and its start: the help, the
// version and a wrong command line are answered, and the vCard import and
// export run, without any window and whether or not another copy runs;
// everything else is the address book.
#include "platform/ui/App.h"
#include "shell/CommandLine.h"
#include "shell/ContactApp.h"
#include "vcard/CommandLine.h"

CContactApp theApp;

int main(int argc, char** argv)
{
    const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    switch (line.action) {
    case CommandLine::Run:
        return ce::AfxWinMain(argc, argv);
    case CommandLine::Import:
        return vcard::RunImport(line.importFiles, line.dryRun);
    case CommandLine::Export:
        return vcard::RunExport(line.exportFile);
    default:
        return PrintAnswer(line);
    }
}
