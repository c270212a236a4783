#pragma once
// Renovix.dll, the update library beside the program, loaded on demand.

namespace update {

// Loads "Renovix.dll" from the program's folder if it is not loaded yet and calls its export
// ShowMainDialogFirst, which runs the update dialog. A result of 1 unloads the library, so the
// next call loads the file again (a newer copy may have arrived); any other result keeps it.
// Without the file or the export it writes "Message printed from executable" to standard
// output and tells the user so in a message box (kRenovixMissing).
void RunUpdateDialog();

inline constexpr char kRenovixMissing[] =
    "The update component Renovix.dll is missing or damaged, so Velbrook cannot check for "
    "updates. Please reinstall Velbrook.";

}  // namespace update
