// The one application object of the program, and its start: the vCard
// import and export run without any window; everything else is the address book.
#include "platform/ui/App.h"
#include "shell/ContactApp.h"
#include "vcard/CommandLine.h"

CContactApp theApp;

int main(int argc, char** argv)
{
    if (const int status = vcard::RunCommandLine(argc, argv); status != vcard::NotACommand)
        return status;
    return ce::AfxWinMain(argc, argv);
}
