// The DLL entry routine. The library sets nothing up of its own; it only
// refuses to load when the process heap it shares with hosts is unavailable.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH && GetProcessHeap() == nullptr) return FALSE;
  return TRUE;
}
