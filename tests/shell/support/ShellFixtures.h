// Fixtures of the tests that run the shell: contacts in data files written as
// another program writes them (saved through a list of its own, a temporary
// file renamed over the target), a temporary device root, the real main frame
// on it, and waiting while the window system runs.
#pragma once
#include "data/ContactList.h"
#include "platform/core/CodePage.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/ListView.h"
#include "platform/ui/testing/EventPump.h"
#include "platform/ui/testing/MessageBoxAnswer.h"
#include "res/resource.h"
#include "shell/MainFrm.h"
#include "tests/common/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
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
    for (int i = 0; i < n; ++i) {
        const std::string number = std::to_string(i);
        people.push_back({ce::Utf8ToUtf16("Contact " + std::string(6 - number.size(), '0') + number),
                          ce::Utf8ToUtf16(std::to_string(tag) + "-" + number)});
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

// The first child window of `parent` whose object is a T.
template <class T>
T* ChildOf(ce::HWND parent)
{
    for (ce::HWND child = ce::GetWindow(parent, ce::GW_CHILD); child; child = ce::GetWindow(child, ce::GW_HWNDNEXT))
        if (auto* found = dynamic_cast<T*>(ce::CWnd::FromHandlePermanent(child)))
            return found;
    return nullptr;
}

inline int CurrentRowOf(ce::HWND view)
{
    return int(ce::SendMessageW(view, ce::LVM_GETNEXTITEM, ce::WPARAM(-1), ce::LVNI_FOCUSED | ce::LVNI_SELECTED));
}

// Creates and shows the real main frame (its first load starts at once).
inline CMainFrame* OpenMainFrame()
{
    auto frame = std::make_unique<CMainFrame>();
    if (!frame->LoadFrame(IDR_MAINFRAME, ce::FWS_ADDTOTITLE, nullptr, nullptr))
        return nullptr;
    frame->ShowWindow(ce::SW_SHOW);
    frame->UpdateWindow();
    return frame.release();
}

// A fresh device root with "\My Flash Disk" (no "PIM") and an instance-marker
// folder, both current, and a folder for recovery files; code page 936;
// offscreen windows, also in children.
class DeviceFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ce::SetACP(936);
        std::filesystem::create_directories(root + "/My Flash Disk");
        UseDeviceRoot(root);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_STATE_HOME", stateDir.c_str(), 1);
        g_abortLoad = 0;
    }
    void TearDown() override { RemoveFolder(root); }
    void MakeDataFile(const std::vector<Person>& people) // and the PIM folder
    {
        std::filesystem::create_directories(pimFolder);
        ASSERT_TRUE(WriteDataFile(dataFile, people));
    }

    const std::string root = MakeTempFolder("shell"), runtimeDir = root + "/run", stateDir = root + "/state";
    const std::string pimFolder = root + "/My Flash Disk/PIM", dataFile = pimFolder + "/Contacts.pcd";
};

class FrameFixture : public DeviceFixture {
protected:
    void TearDown() override
    {
        if (frameWindow && ce::IsWindow(frameWindow))
            CloseFrame();
        DeviceFixture::TearDown();
    }

    void OpenFrame()
    {
        frame = OpenMainFrame();
        if (!frame)
            throw std::runtime_error("the frame was not created");
        frameWindow = frame->m_hWnd;
    }

    // The data file holds `people`; the frame opens on it and shows them.
    bool OpenFrameOn(const std::vector<Person>& people)
    {
        MakeDataFile(people);
        OpenFrame();
        return !HasFatalFailure() && WaitForPeople(people);
    }

    // No load runs and the view shows the list, a filled one with a current row.
    bool WaitForLoad(int timeoutMs = 10000)
    {
        return WaitFor(
            [this] {
                if (frame->IsLoading())
                    return false;
                ce::PumpMessages();
                return ViewCount() == g_contactList.GetCount() && (ViewCount() == 0 || CurrentRow() >= 0);
            },
            timeoutMs);
    }

    // The list shows exactly these contacts, loaded.
    bool WaitForPeople(const std::vector<Person>& people, int timeoutMs = 10000)
    {
        return WaitFor([&] { return !frame->IsLoading() && ListedPeople() == people; }, timeoutMs) &&
               WaitForLoad(timeoutMs);
    }

    // Closes the frame as "Salir" does and waits until it is gone.
    void CloseFrame()
    {
        ce::PostMessageW(frameWindow, ce::WM_COMMAND, ce::ID_APP_EXIT, 0);
        EXPECT_TRUE(WaitFor([this] { return !ce::IsWindow(frameWindow); }));
        frame = nullptr;
        frameWindow = nullptr;
    }

    // Makes `row` the list's focused and selected row (-1: none is).
    void SetCurrentRow(int row) const
    {
        ce::LVITEMW item{};
        item.stateMask = ce::LVIS_FOCUSED | ce::LVIS_SELECTED;
        item.state = row < 0 ? 0 : item.stateMask;
        ce::SendMessageW(ListView(), ce::LVM_SETITEMSTATE, ce::WPARAM(row), ce::LPARAM(&item));
    }

    ce::HWND ListView() const { return frame->GetListView(); }
    int CurrentRow() const { return CurrentRowOf(ListView()); }
    int ViewCount() const { return int(ce::SendMessageW(ListView(), ce::LVM_GETITEMCOUNT, 0, 0)); }

    CMainFrame* frame = nullptr;
    ce::HWND frameWindow = nullptr;
};

} // namespace shelltest
