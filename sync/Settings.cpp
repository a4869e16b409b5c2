#include "sync/Settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace carddav {

std::string ConfigFolder()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/')
        return std::string(config) + "/contacts";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/contacts";
}

std::string SettingsPath() { return ConfigFolder() + "/sync.conf"; }
std::string StatePath() { return ConfigFolder() + "/sync-state.sqlite"; }

bool ReadSettings(SyncSettings& settings, std::string& error)
{
    settings = SyncSettings();
    std::ifstream in(SettingsPath());
    if (!in) {
        error = "no address book is set up (" + SettingsPath() + "): run contacts --sync-setup URL first";
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "url")
            settings.url = value;
        else if (key == "ca-file")
            settings.caFile = value;
        else if (key == "timeout")
            settings.timeoutSeconds = std::max(1L, std::atol(value.c_str()));
    }
    if (settings.url.empty()) {
        error = SettingsPath() + " names no address book (url=)";
        return false;
    }
    return true;
}

bool WriteSettings(const SyncSettings& settings, std::string& error)
{
    std::error_code ignored;
    std::filesystem::create_directories(ConfigFolder(), ignored);
    const std::string path = SettingsPath(), temp = path + ".tmp";
    std::string text = "# The address book that contacts --sync keeps in step with the data file.\n"
                       "# User name and password come from ~/.netrc (or $NETRC).\n"
                       "url=" + settings.url + "\n";
    if (!settings.caFile.empty())
        text += "ca-file=" + settings.caFile + "\n";
    text += "timeout=" + std::to_string(settings.timeoutSeconds) + "\n";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = fd >= 0 && ::fchmod(fd, 0600) == 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size()) &&
              ::fsync(fd) == 0;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
    }
    return ok;
}

} // namespace carddav
