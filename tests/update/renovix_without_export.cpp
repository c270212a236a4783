// A Renovix.dll that lacks ShowMainDialogFirst, for the loader tests.

extern "C" __declspec(dllexport) int InstallUpdates() { return 0; }
