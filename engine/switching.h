#pragma once
// Switching entries off into the store and back on.

#include "engine/startup_item.h"

#include <windows.h>

namespace engine {

// How failures are shown. Page style: a message box owned by the page's window. Free style:
// an unowned message box, as the automatic run and the history restore show them.
struct ReportStyle {
    enum class Kind { Page, Free };
    Kind kind;
    HWND owner;

    static ReportStyle Page(HWND owner) { return {Kind::Page, owner}; }
    static ReportStyle Free() { return {Kind::Free, nullptr}; }
};

// Moves an active entry into the store. True only when the entry was stored and removed from
// where Windows starts it; on false the entry is left as it was.
bool DisableStartupItem(const StartupItem& item, ReportStyle style);

// Puts a stored entry back. True when it was put back; on false the store entry stays.
// Callers append a copy of the record to KnownStartupItems so the monitor does not announce it.
bool EnableStartupItem(const StartupItem& item, ReportStyle style);

}  // namespace engine
