#pragma once
// Every private window message of the program (WM_USER + 560 .. WM_USER + 598). Workers send
// theirs with SendMessage and wait for the answer, so a pointer they pass stays valid for the
// whole call; the receiver never keeps it unless the row says so.

#include <windows.h>

namespace platform {

inline constexpr UINT kFirstAppMessage = 1584;
inline constexpr UINT kLastAppMessage = 1622;

// 1584  Renovix download worker -> CUpdateDlg: the request is sent; show the connecting text.
//       wParam, lParam: 0.
inline constexpr UINT MSG_UPDATE_CONNECTING = 1584;

// 1585  Renovix download worker -> CUpdateDlg: a step failed; show the error and close.
//       wParam, lParam: as the download dialog defines them.
inline constexpr UINT MSG_UPDATE_FAILED = 1585;

// 1587  Renovix download worker -> CUpdateDlg: show this status text.
//       wParam: const std::wstring* (borrowed for the call); lParam: 0.
inline constexpr UINT MSG_UPDATE_STATUS = 1587;

// 1588  Renovix download worker -> CUpdateDlg: the installed version is current; show the
//       text, the thank-you line and the OK button together. wParam, lParam: 0.
inline constexpr UINT MSG_UPDATE_UP_TO_DATE = 1588;

// 1589  Renovix download worker -> CUpdateDlg: start (wParam 1) or stop and hide (wParam 0)
//       the download animation. lParam: 0.
inline constexpr UINT MSG_UPDATE_ANIMATION = 1589;

// 1590  Renovix download worker -> CUpdateDlg: everything is downloaded and checked; ask whether
//       to install, and on yes hand over to the install step. wParam, lParam: 0.
inline constexpr UINT MSG_UPDATE_DOWNLOADED = 1590;

// 1585  automatic-run worker -> CDlgProcessDlg: an entry is being switched off.
//       wParam: const StartupItem* (owned by the ScrapList, borrowed for the call);
//       lParam: its index in the run.
inline constexpr UINT MSG_AUTORUN_ENTRY = 1585;

// 1586  automatic-run worker -> CDlgProcessDlg: the run has finished.
//       wParam: number of entries; lParam: number switched off.
inline constexpr UINT MSG_AUTORUN_DONE = 1586;

// 1614  notification area -> CVelbrookDlg: tray icon callback.
//       wParam: icon id; lParam: the mouse message (WM_LBUTTONUP, WM_RBUTTONUP, ...).
inline constexpr UINT MSG_TRAY_NOTIFY = 1614;

// 1615  a second copy at start -> CVelbrookDlg: show, restore and activate the running copy.
//       wParam, lParam: 0.
inline constexpr UINT MSG_SHOW_RUNNING_COPY = 1615;

// 1616  monitor worker -> CVelbrookDlg: a new startup entry.
//       wParam: StartupItem* owned by KnownStartupItems (read under its lock); lParam: 1 when
//       the entry put itself back after it was switched off, else 0.
inline constexpr UINT MSG_MONITOR_NEW_ENTRY = 1616;

// 1617  monitor worker -> CVelbrookDlg: the monitor pass has finished.
//       wParam, lParam: 0.
inline constexpr UINT MSG_MONITOR_DONE = 1617;

// 1618  update-check worker at start -> CVelbrookDlg: the check has an answer.
//       wParam: 1 when a newer version is available, else 0; lParam: 0.
inline constexpr UINT MSG_UPDATE_CHECK_DONE = 1618;

// 1619  CVelbrookDlg -> itself, posted when it is first shown: the work that waits until the
//       window is on screen (the tray icon). wParam, lParam: 0.
inline constexpr UINT MSG_AFTER_FIRST_SHOW = 1619;

// 1620  publisher worker of a startup list -> that list (CStartupListView), posted: answers
//       wait; the list takes them from its PublisherLookup. wParam, lParam: 0.
inline constexpr UINT MSG_PUBLISHER_ANSWERS = 1620;

// 1621  task snapshot worker (engine/logon_task_snapshot.h), or CVelbrookDlg after the
//       monitor's news -> a page that lists entries, posted: the entries may differ from those
//       the page listed (the Task Scheduler's tasks read now differ, an entry was announced or
//       switched off again); list again. wParam, lParam: 0.
inline constexpr UINT MSG_ENTRIES_CHANGED = 1621;
// 1622  monitor worker -> CVelbrookDlg: entries that put themselves back, to be switched off
//       again ("Keep switched-off programs off"). wParam: std::vector<StartupItem>* (the
//       worker's, borrowed for the call; the receiver clears the enabled flag of each entry it
//       switched off); lParam: 1 when the user wants to be told ("Warning"), else 0.
inline constexpr UINT MSG_MONITOR_KEEP_OFF = 1622;

static_assert(MSG_UPDATE_CONNECTING == WM_USER + 560 && MSG_MONITOR_DONE == WM_USER + 593);

}  // namespace platform
