// Helpers of the shell tests and benchmarks: data files written the way
// another program writes them, and waiting while the window system runs.
#pragma once
#include "data/ContactList.h"
#include "platform/core/Types.h"
#include "platform/ui/WinDef.h"

#include <functional>
#include <string>
#include <vector>

class CMainFrame;

namespace shelltest {

// A data file's contacts as name + telephone pairs.
struct Person {
    std::u16string name;
    std::u16string telephone;
    bool operator==(const Person&) const = default;
};

std::vector<Person> People(std::initializer_list<const char16_t*> names);
// n contacts named "Contact 000000" ... with a telephone that carries `tag`.
std::vector<Person> ManyPeople(int n, int tag);

// Writes the file as another program would: through a list of its own,
// into a temporary file that replaces the data file.
bool WriteDataFile(const std::string& hostPath, const std::vector<Person>& people);
// The contacts of a data file, read through a list of its own.
std::vector<Person> ReadDataFile(const std::string& hostPath);
// The contacts that the program's list holds now.
std::vector<Person> ListedPeople();

std::string ReadBytes(const std::string& hostPath);
bool FileExists(const std::string& hostPath);
// Sets the file's last-write time (seconds since 1970, plus nanoseconds).
bool SetWriteTime(const std::string& hostPath, long long seconds, long nanoseconds = 0);
long long WriteTimeSeconds(const std::string& hostPath);

// Keeps processing events until done() or the timeout; returns done().
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000);

// A fresh device root with "\My Flash Disk" (not "PIM") and a fresh folder
// for the instance marker, both made current; code page 936; windows on
// Qt's offscreen platform, also in the programs a test starts.
struct DeviceRoot {
    std::string root;       // the device root on the host
    std::string pimFolder;  // <root>/My Flash Disk/PIM
    std::string dataFile;   // <root>/My Flash Disk/PIM/Contacts.pcd
    std::string runtimeDir; // where the instance marker lives
    bool Make();
    void Remove();
};

// Creates and shows the real main frame; its first load starts at once.
// Null when the frame could not be created.
CMainFrame* OpenMainFrame();

} // namespace shelltest
