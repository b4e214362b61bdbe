// Where the programs load DLLs from: only the system folder. Windows looks
// beside a program, typically in a downloads folder anyone can drop a DLL
// into, for every DLL that is not a KnownDLL, so the programs import only
// KnownDLLs and load the others once the search is restricted.
#pragma once

namespace win32_frontend {

// Loads DLLs only from System32 from here on. Call first thing.
void RestrictDllSearch();

// Loads COMCTL32 (no KnownDLL) and registers the window's control classes.
// Loaded in the manifest's activation context, it is version 6, with
// visual styles.
void StartCommonControls();

}  // namespace win32_frontend
