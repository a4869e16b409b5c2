// The program's command line. It is read before any window exists, so that
// the help, the version and a wrong option are answered without a display
// and while another copy of the program runs.
#pragma once
#include <string>
#include <vector>

struct CommandLine {
    enum Action {
        Run,         // the address book's window
        ShowHelp,    // --help
        ShowVersion, // --version
        Import,      // --import FILE... [--dry-run]
        Export,      // --export FILE
        SyncSetup,   // --sync-setup URL
        Sync,        // --sync [--allow-empty]
        BadUsage,    // an unknown option or a missing value: `error` says which
    };
    Action action = Run;
    std::string error;
    int scale = 0;           // --scale N (else $CONTACTS_SCALE): 1 to 16; 0 fits the desktop
    bool fullScreen = false; // --fullscreen
    std::string screenshotFile; // --screenshot FILE: the start screen as a PNG, then the end
    std::vector<std::string> importFiles;
    std::string exportFile;
    bool dryRun = false;
    std::string syncUrl;
    bool sync = false;
    bool allowEmpty = false;
};

// The arguments after the program name, and for the address book's window
// the scale setting ($CONTACTS_SCALE, null when unset) that --scale overrides.
CommandLine ParseCommandLine(const std::vector<std::string>& args, const char* scaleSetting = nullptr);

// How to call the program, a line for each way.
std::string UsageText();
// The usage, every option and the settings read from the environment.
std::string HelpText();
// "contacts " and the version number.
std::string VersionText();
// Prints the help or the version on standard output, or a wrong command
// line's error with the usage on standard error; returns the exit status.
int PrintAnswer(const CommandLine& line);
