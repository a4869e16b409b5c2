// The program's command-line modes that move contacts in and out as vCard,
// without a window:
//   contacts --import FILE... [--dry-run]   FILE "-" reads standard input
//   contacts --export FILE                  FILE "-" writes standard output
#pragma once

namespace vcard {

constexpr int NotACommand = -1;
// Exit statuses: 0 done, 1 failed (nothing written), 2 the address book runs.
constexpr int ExitFailed = 1;
constexpr int ExitBookRunning = 2;

// Runs the import or export that the arguments ask for and returns the exit
// status; NotACommand when they ask for neither.
int RunCommandLine(int argc, char** argv);

} // namespace vcard
