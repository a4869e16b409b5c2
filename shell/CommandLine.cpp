#include "shell/CommandLine.h"

#include <charconv>
#include <cstdio>

namespace {

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

// "--name=value" or "--name value": the value, consuming it; false when
// the option is not `name` or its value is missing (then `error` says so).
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name, std::string& value,
               std::string& error)
{
    const std::string& arg = args[i];
    if (arg.starts_with(name + "=")) {
        value = arg.substr(name.size() + 1);
    } else if (arg != name) {
        return false;
    } else if (i + 1 < args.size() && !IsOption(args[i + 1])) {
        value = args[++i];
    } else {
        value.clear();
    }
    if (value.empty())
        error = "option '" + name + "' needs a value";
    return true;
}

constexpr int LargestScale = 16;

// A whole number from 1 to LargestScale, else 0.
int ReadScale(const std::string& text)
{
    int scale = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), scale);
    if (fault != std::errc() || end != text.data() + text.size() || scale < 1 || scale > LargestScale)
        return 0;
    return scale;
}

const std::string ScaleRange = "a whole number from 1 to " + std::to_string(LargestScale);

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args, const char* scaleSetting)
{
    CommandLine line;
    std::string value;
    for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::ShowHelp;
            return line;
        }
        if (arg == "--version") {
            line.action = CommandLine::ShowVersion;
            return line;
        }
        if (arg == "--fullscreen") {
            line.fullScreen = true;
            continue;
        }
        if (TakeValue(args, i, "--scale", value, line.error)) {
            if (line.error.empty() && (line.scale = ReadScale(value)) == 0)
                line.error = "option '--scale' needs " + ScaleRange;
            continue;
        }
        if (TakeValue(args, i, "--screenshot", line.screenshotFile, line.error) ||
            TakeValue(args, i, "--export", line.exportFile, line.error) ||
            TakeValue(args, i, "--sync-setup", line.syncUrl, line.error))
            continue;
        if (arg == "--sync" || arg == "--allow-empty") {
            (arg == "--sync" ? line.sync : line.allowEmpty) = true;
            continue;
        }
        if (arg == "--dry-run") {
            line.dryRun = true;
            continue;
        }
        if (arg == "--import") {
            // Every argument up to the next option is a file; "-" is standard input.
            while (i + 1 < args.size() && !IsOption(args[i + 1]))
                line.importFiles.push_back(args[++i]);
            if (line.importFiles.empty())
                line.error = "option '--import' needs at least one file";
            continue;
        }
        line.error = IsOption(arg) ? "unknown option '" + arg + "'" : "unexpected argument '" + arg + "'";
    }
    if (line.error.empty() && !line.importFiles.empty() && !line.exportFile.empty())
        line.error = "--import and --export cannot be combined";
    if (line.error.empty() && line.dryRun && line.importFiles.empty())
        line.error = "--dry-run goes with --import";
    const int modes = !line.importFiles.empty() + !line.exportFile.empty() + !line.syncUrl.empty() + line.sync;
    if (line.error.empty() && modes > 1)
        line.error = "--import, --export, --sync-setup and --sync cannot be combined";
    if (line.error.empty() && line.allowEmpty && !line.sync)
        line.error = "--allow-empty goes with --sync";
    // Only the window has a scale: the other modes ignore the setting.
    const bool window = line.importFiles.empty() && line.exportFile.empty() && line.syncUrl.empty() && !line.sync;
    if (line.error.empty() && window && line.scale == 0 && scaleSetting && *scaleSetting &&
        (line.scale = ReadScale(scaleSetting)) == 0)
        line.error = "CONTACTS_SCALE needs " + ScaleRange;
    if (!line.error.empty())
        line.action = CommandLine::BadUsage;
    else if (!line.importFiles.empty())
        line.action = CommandLine::Import;
    else if (!line.exportFile.empty())
        line.action = CommandLine::Export;
    else if (!line.syncUrl.empty())
        line.action = CommandLine::SyncSetup;
    else if (line.sync)
        line.action = CommandLine::Sync;
    return line;
}

std::string UsageText()
{
    return "Usage: contacts [--scale N] [--fullscreen] [--screenshot FILE]\n"
           "       contacts --import FILE... [--dry-run]\n"
           "       contacts --export FILE\n"
           "       contacts --sync-setup URL | --sync [--allow-empty]\n"
           "       contacts --help | --version\n";
}

std::string HelpText()
{
    return UsageText() +
           "\n"
           "A personal address book on the 320 x 240 screen of a handheld, shown in a\n"
           "window of the desktop. The contacts live in one data file of the device,\n"
           "\\My Flash Disk\\PIM\\Contacts.pcd; changes are written back when the program ends.\n"
           "\n"
           "Options:\n"
           "  --scale N          show the device screen N times as large, 1 to 16\n"
           "                     (default: the largest whole factor that fits the desktop)\n"
           "  --fullscreen       fill the whole display with the device screen, without a\n"
           "                     window frame (chosen by itself on a 320 x 240 display)\n"
           "  --screenshot FILE  write the start screen to FILE (PNG) once the contacts are\n"
           "                     loaded, then end\n"
           "  --import FILE...   add the contacts of vCard files (\"-\" for standard input)\n"
           "                     to the data file, without a window\n"
           "  --dry-run          with --import: report what would be imported, write nothing\n"
           "  --export FILE      write every contact to FILE as vCards (\"-\" for standard\n"
           "                     output), without a window\n"
           "  --sync-setup URL   keep the CardDAV address book at URL (or the first one\n"
           "                     found from a server's root) for --sync; user name and\n"
           "                     password come from ~/.netrc or $NETRC\n"
           "  --sync             sync the data file both ways with that address book\n"
           "  --allow-empty      with --sync: let an emptied side empty the other\n"
           "  --help             show this help and end\n"
           "  --version          show the version and end\n"
           "\n"
           "Settings read from the environment:\n"
           "  CONTACTS_DEVICE_ROOT  where the device's \\ lies on this computer\n"
           "                        (default $XDG_DATA_HOME/contacts/device)\n"
           "  CONTACTS_CODEPAGE     code page of the data file's text, e.g. 936, 950, 1252,\n"
           "                        54936 (default: from LC_ALL, LC_CTYPE or LANG)\n"
           "  CONTACTS_UI_LANGUAGE  interface language as a hexadecimal id: 0409 English,\n"
           "                        0407 German, 040c French, 0410 Italian, 0416 and 0816\n"
           "                        Portuguese, 0804 and 0404 Chinese (default: from\n"
           "                        LC_ALL, LC_MESSAGES or LANG; otherwise Spanish)\n"
           "  CONTACTS_SCALE        as --scale\n"
           "  XDG_STATE_HOME        recovery files go to $XDG_STATE_HOME/contacts when the\n"
           "                        data file cannot be written at the end\n"
           "  XDG_RUNTIME_DIR       folder of the lock that lets only one copy run\n"
           "  XDG_CONFIG_HOME       the sync's settings and state go to\n"
           "                        $XDG_CONFIG_HOME/contacts (default ~/.config/contacts)\n"
           "  NETRC                 the file of the server's user name and password\n"
           "\n"
           "Exit status: 0 on success; 1 when an import, export or sync fails; 2 on a\n"
           "wrong command line, or when --import, --export or --sync find the address\n"
           "book running.\n";
}

std::string VersionText() { return std::string("contacts ") + CONTACTS_VERSION + "\n"; }

int PrintAnswer(const CommandLine& line)
{
    switch (line.action) {
    case CommandLine::ShowHelp:
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    case CommandLine::ShowVersion:
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    default:
        std::fprintf(stderr, "contacts: %s\n%sTry 'contacts --help' for more information.\n", line.error.c_str(),
                     UsageText().c_str());
        return 2;
    }
}
