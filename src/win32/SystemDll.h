// DLLs loaded on demand come from the system directory by full path: never a copy
// planted beside the program or in the working directory.
#pragma once

#include <windows.h>

HMODULE LoadSystemDll(const wchar_t* name);

// A function of a module looked up by name; null when the module or the function is missing.
template <typename Fn>
Fn LookUp(HMODULE module, const char* name)
{
    return module == nullptr ? nullptr : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
