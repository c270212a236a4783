#pragma once
// Renovix.dll, the update library beside the program, loaded on demand.

namespace update {

// Loads "Renovix.dll" from the program's folder if it is not loaded yet and calls its export
// ShowMainDialogFirst, which runs the update dialog. A result of 1 unloads the library, so the
// next call loads the file again (a newer copy may have arrived); any other result keeps it.
// Without the file or the export it only writes "Message printed from executable" to
// standard output.
void RunUpdateDialog();

}  // namespace update
