// Helpers of the shell tests and benchmarks: data files written as another
// program writes them (saved through a list of its own, a temporary file renamed
// over the target), and waiting while the window system runs.
#pragma once
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "platform/core/FileSystem.h"
#include "platform/core/Types.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Host.h"
#include "platform/ui/WinDef.h"
#include "platform/ui/testing/EventPump.h"
#include "platform/ui/testing/MessageBoxAnswer.h"
#include "res/resource.h"
#include "shell/MainFrm.h"
#include "tests/common/Files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>

namespace shelltest {

struct Person {
    std::u16string name;
    std::u16string telephone;
    bool operator==(const Person&) const = default;
    friend void PrintTo(const Person& person, std::ostream* out)
    {
        *out << ce::Utf16ToUtf8(person.name) << " / " << ce::Utf16ToUtf8(person.telephone);
    }
};

// A fresh device root with "\My Flash Disk" (no "PIM") and an instance-marker
// folder, both current; code page 936; offscreen windows, also in children.
struct DeviceRoot {
    std::string root, pimFolder, dataFile, runtimeDir;
    bool Make();
    void Remove();
};

inline std::vector<Person> People(std::initializer_list<const char16_t*> names)
{
    std::vector<Person> people;
    for (const char16_t* name : names)
        people.push_back({name, u"555 01" + std::u16string(1, char16_t(u'0' + people.size() % 10))});
    return people;
}

// n contacts "Contact 000000" ... with telephones that carry `tag`.
inline std::vector<Person> ManyPeople(int n, int tag)
{
    std::vector<Person> people;
    char name[32], telephone[32];
    for (int i = 0; i < n; ++i) {
        const int nameLength = std::snprintf(name, sizeof name, "Contact %06d", i);
        const int telephoneLength = std::snprintf(telephone, sizeof telephone, "%d-%d", tag, i);
        people.push_back({{name, name + nameLength}, {telephone, telephone + telephoneLength}});
    }
    return people;
}

inline std::unique_ptr<ContactRecord> RecordOf(const Person& person)
{
    auto record = std::make_unique<ContactRecord>();
    record->GetField(FieldName)->SetValue(person.name, 0.0);
    record->GetField(FieldTelephone)->SetValue(person.telephone, 0.0);
    return record;
}

// Adds the contact to the program's list as a saved "Nuevo" does.
inline void AddToList(const Person& person) { g_contactList.InsertSorted(RecordOf(person), FieldName); }

inline bool WriteDataFile(const std::string& hostPath, const std::vector<Person>& people)
{
    ContactListBase list;
    for (const Person& person : people)
        list.Append(RecordOf(person));
    return list.Save(ce::Utf8ToUtf16(hostPath)) == 1;
}

inline std::vector<Person> PeopleOf(const ContactListBase& list)
{
    std::vector<Person> people;
    auto guard = list.Lock();
    for (int i = 0; i < list.GetCount(); ++i) {
        Person& person = people.emplace_back();
        list.GetAt(i)->GetField(FieldName)->GetText(person.name);
        list.GetAt(i)->GetField(FieldTelephone)->GetText(person.telephone);
    }
    return people;
}

inline std::vector<Person> ReadDataFile(const std::string& hostPath)
{
    ContactListBase list;
    list.Load(ce::Utf8ToUtf16(hostPath));
    return PeopleOf(list);
}

inline std::vector<Person> ListedPeople() { return PeopleOf(g_contactList); }

inline bool SetWriteTime(const std::string& hostPath, long long seconds)
{
    const timespec times[2] = {{time_t(seconds), 0}, {time_t(seconds), 0}};
    return ::utimensat(AT_FDCWD, hostPath.c_str(), times, 0) == 0;
}

// Processes events until done() or the timeout; returns done().
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000)
{
    return ce::WaitWhilePumping(done, timeoutMs);
}

inline bool DeviceRoot::Make()
{
    ce::SetACP(936);
    root = MakeTempFolder("shell");
    runtimeDir = root + "/run";
    pimFolder = root + "/My Flash Disk/PIM";
    dataFile = pimFolder + "/Contacts.pcd";
    std::filesystem::create_directories(root + "/My Flash Disk");
    UseDeviceRoot(root);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    g_abortLoad = 0;
    return true;
}

inline void DeviceRoot::Remove()
{
    RemoveFolder(root);
}

// Creates and shows the real main frame (its first load starts at once).
inline CMainFrame* OpenMainFrame()
{
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, ce::FWS_ADDTOTITLE, nullptr, nullptr)) {
        delete frame;
        return nullptr;
    }
    frame->ShowWindow(ce::SW_SHOW);
    frame->UpdateWindow();
    return frame;
}

} // namespace shelltest
