// The program's entry point; a library of its own so that test programs keep theirs.
#include "platform/ui/App.h"

int main(int argc, char** argv)
{
    return ce::AfxWinMain(argc, argv);
}
