#include "platform/core/Resources.h"
#include "platform/core/FileSystem.h"
#include "platform/core/System.h"

#include <atomic>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <mutex>
#include <unistd.h>
#include <unordered_set>

namespace ce {

extern const unsigned char EmbeddedResourceScript[];
extern const std::size_t EmbeddedResourceScriptSize;

struct ModuleObject {
    std::unique_ptr<ResourceScript> script;
};

namespace {

// A satellite is a text file of a few kilobytes; anything far larger is not one.
constexpr std::streamoff MaxSatelliteSize = 16 << 20;

ModuleObject& OwnModule()
{
    static ModuleObject module = [] {
        ModuleObject m;
        std::string_view text(reinterpret_cast<const char*>(EmbeddedResourceScript), EmbeddedResourceScriptSize);
        m.script = ResourceScript::Parse(text);
        if (!m.script)
            m.script = std::make_unique<ResourceScript>();
        return m;
    }();
    return module;
}

std::atomic<ModuleObject*> g_current{nullptr};
std::mutex g_modulesLock;
std::unordered_set<ModuleObject*> g_modules;

const ResourceScript& Current() { return *AfxGetResourceHandle()->script; }

std::string ProgramFolder()
{
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "";
    std::string path(buffer, std::size_t(n));
    return path.substr(0, path.rfind('/'));
}

} // namespace

HINSTANCE AfxGetInstanceHandle() { return &OwnModule(); }

HINSTANCE AfxGetResourceHandle()
{
    ModuleObject* current = g_current.load(std::memory_order_acquire);
    return current ? current : &OwnModule();
}

void AfxSetResourceHandle(HINSTANCE module) { g_current.store(module, std::memory_order_release); }

HMODULE LoadResourceModule(const std::string& hostPath)
{
    std::ifstream in(hostPath, std::ios::binary);
    in.seekg(0, std::ios::end);
    std::streamoff size = in ? std::streamoff(in.tellg()) : -1;
    if (size < 0 || size > MaxSatelliteSize) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    in.seekg(0);
    std::string text(std::size_t(size), '\0');
    in.read(text.data(), size);
    auto script = in ? ResourceScript::Parse(text) : nullptr;
    if (!script) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    auto* module = new ModuleObject{std::move(script)};
    std::lock_guard lock(g_modulesLock);
    g_modules.insert(module);
    return module;
}

HMODULE LoadLibraryW(const WCHAR* fileName)
{
    std::string name = fileName ? Utf16ToUtf8(fileName) : "";
    // A bare file name only: a folder in it would reach past the two places
    // that satellites may come from.
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    const std::string program = ProgramFolder();
    if (!program.empty()) {
        for (const std::string& folder : {program, program + "/" CONTACTS_DATA_FROM_PROGRAM})
            if (HMODULE module = LoadResourceModule(folder + "/" + name))
                return module;
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE module)
{
    {
        std::lock_guard lock(g_modulesLock);
        if (!g_modules.erase(module)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return module == &OwnModule() ? TRUE : FALSE;
        }
    }
    ModuleObject* expected = module;
    g_current.compare_exchange_strong(expected, nullptr);
    delete module;
    return TRUE;
}

const ResourceScript& ModuleResources(HMODULE module) { return module ? *module->script : *OwnModule().script; }

std::u16string LoadStringW(UINT id)
{
    const std::u16string* s = Current().FindString(id);
    return s ? *s : std::u16string();
}

const DialogTemplate* FindDialogTemplate(UINT id) { return Current().FindDialog(id); }
const MenuTemplate* FindMenu(UINT id) { return Current().FindMenu(id); }
const std::vector<BYTE>* FindBitmap(UINT id) { return Current().FindBitmap(id); }
const std::vector<BYTE>* FindIcon(UINT id) { return Current().FindIcon(id); }

} // namespace ce
