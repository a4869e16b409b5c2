#include "ShellTestSupport.h"
#include "platform/core/CodePage.h"
#include "platform/core/FileSystem.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Host.h"
#include "res/resource.h"
#include "shell/MainFrm.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace ce;

namespace shelltest {

std::vector<Person> People(std::initializer_list<const char16_t*> names)
{
    std::vector<Person> people;
    int n = 0;
    for (const char16_t* name : names)
        people.push_back({name, u"555 01" + std::u16string(1, char16_t(u'0' + n++ % 10))});
    return people;
}

std::vector<Person> ManyPeople(int n, int tag)
{
    std::vector<Person> people;
    people.reserve(std::size_t(n));
    char buffer[64];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buffer, sizeof buffer, "Contact %06d", i);
        std::u16string name(buffer, buffer + std::char_traits<char>::length(buffer));
        std::snprintf(buffer, sizeof buffer, "%d-%d", tag, i);
        people.push_back({name, std::u16string(buffer, buffer + std::char_traits<char>::length(buffer))});
    }
    return people;
}

bool WriteDataFile(const std::string& hostPath, const std::vector<Person>& people)
{
    ContactListBase list;
    for (const Person& person : people) {
        auto* record = new ContactRecord;
        record->GetField(FieldName)->SetValue(person.name, 0.0);
        record->GetField(FieldTelephone)->SetValue(person.telephone, 0.0);
        list.Append(record);
    }
    return list.Save(Utf8ToUtf16(hostPath)) == 1;
}

namespace {

std::vector<Person> PeopleOf(const ContactListBase& list)
{
    std::vector<Person> people;
    auto guard = list.Lock();
    for (int i = 0; i < list.GetCount(); ++i) {
        Person person;
        list.GetAt(i)->GetField(FieldName)->GetText(person.name);
        list.GetAt(i)->GetField(FieldTelephone)->GetText(person.telephone);
        people.push_back(person);
    }
    return people;
}

} // namespace

std::vector<Person> ReadDataFile(const std::string& hostPath)
{
    ContactListBase list;
    list.Load(Utf8ToUtf16(hostPath));
    return PeopleOf(list);
}

std::vector<Person> ListedPeople()
{
    return PeopleOf(g_contactList);
}

std::string ReadBytes(const std::string& hostPath)
{
    std::ifstream in(hostPath, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool FileExists(const std::string& hostPath)
{
    return fs::exists(hostPath);
}

bool SetWriteTime(const std::string& hostPath, long long seconds, long nanoseconds)
{
    timespec times[2];
    times[0].tv_sec = time_t(seconds);
    times[0].tv_nsec = nanoseconds;
    times[1] = times[0];
    return ::utimensat(AT_FDCWD, hostPath.c_str(), times, 0) == 0;
}

long long WriteTimeSeconds(const std::string& hostPath)
{
    struct stat info {};
    ::stat(hostPath.c_str(), &info);
    return info.st_mtim.tv_sec;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs)
{
    return WaitWhilePumping(done, timeoutMs);
}

bool DeviceRoot::Make()
{
    SetACP(936);
    char pattern[] = "/tmp/contacts-shell-XXXXXX";
    if (!::mkdtemp(pattern))
        return false;
    root = pattern;
    runtimeDir = root + "/run";
    pimFolder = root + "/My Flash Disk/PIM";
    dataFile = pimFolder + "/Contacts.pcd";
    fs::create_directories(root + "/My Flash Disk");
    fs::create_directories(runtimeDir);
    fs::permissions(runtimeDir, fs::perms::owner_all);
    ::setenv("CONTACTS_DEVICE_ROOT", root.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    // Windows of tests and of the programs they start never need a display.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    SetDeviceRoot(root);
    g_abortLoad = 0;
    return true;
}

void DeviceRoot::Remove()
{
    std::error_code ignored;
    if (!root.empty())
        fs::remove_all(root, ignored);
}

CMainFrame* OpenMainFrame()
{
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE, nullptr, nullptr)) {
        delete frame;
        return nullptr;
    }
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return frame;
}

} // namespace shelltest
