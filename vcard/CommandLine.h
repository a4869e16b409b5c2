// The program's command-line modes that move contacts in and out as vCard,
// without a window. The program's main() reads the command line and calls them.
#pragma once
#include <string>
#include <vector>

namespace vcard {

// Exit statuses: 0 done, 1 failed (nothing written), 2 the address book runs.
constexpr int ExitFailed = 1;
constexpr int ExitBookRunning = 2;

// contacts --import FILE... [--dry-run]: FILE "-" reads standard input.
int RunImport(const std::vector<std::string>& files, bool dryRun);
// contacts --export FILE: FILE "-" writes standard output.
int RunExport(const std::string& file);

} // namespace vcard
