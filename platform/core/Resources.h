// Resource modules: the program's own resource script, embedded at build
// time, and language satellites ("Contacts.exe.%04x.mui", resource scripts
// loaded from the program's folder or the installed data folder). Every
// lookup goes to the current resource module.
#pragma once
#include "platform/core/ResourceScript.h"
#include "platform/core/Types.h"
#include <string>
#include <vector>

namespace ce {

// The program's own module (never freed).
HINSTANCE AfxGetInstanceHandle();
// The current resource module; the program's own until changed.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// Loads a satellite by file name (no folders), looked up in the folder of
// the running program, then in the installed data folder; never in the
// current directory. nullptr (GetLastError ERROR_MOD_NOT_FOUND) when
// missing or not a valid resource script.
HMODULE LoadLibraryW(const WCHAR* fileName);
// Loads a satellite from an explicit host path (tests, tools).
HMODULE LoadResourceModule(const std::string& hostPath);
// Frees a satellite. A module that is still the current resource module
// goes back to the program's own first. The program's module is not freed.
BOOL FreeLibrary(HMODULE module);
// The parsed resources of a module (the program's own for nullptr).
const ResourceScript& ModuleResources(HMODULE module);

// String `id` of the current resource module; empty when it has none.
std::u16string LoadStringW(UINT id);
const DialogTemplate* FindDialogTemplate(UINT id);
const MenuTemplate* FindMenu(UINT id);
const std::vector<BYTE>* FindBitmap(UINT id);
const std::vector<BYTE>* FindIcon(UINT id);

} // namespace ce
