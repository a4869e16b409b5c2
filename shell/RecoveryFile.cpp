#include "shell/RecoveryFile.h"
#include "platform/core/FileSystem.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

std::string SaveRecoveryFile(const ContactListBase& list, std::time_t now)
{
    const std::filesystem::path folder = ce::GetRecoveryFolder();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return {};
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    // Two failures within one second keep both lists.
    for (int copy = 1; copy < 100; ++copy) {
        const std::string suffix = copy == 1 ? "" : "-" + std::to_string(copy);
        const std::filesystem::path file = folder / ("Contacts-" + std::string(stamp) + suffix + ".pcd");
        if (std::filesystem::exists(file, error))
            continue;
        return list.Save(ce::Utf8ToUtf16(file.string())) ? file.string() : std::string();
    }
    return {};
}
