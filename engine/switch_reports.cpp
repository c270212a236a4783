#include "engine/switch_reports.h"

#include "platform/message_box.h"

namespace engine::reports {

namespace {
void Show(ReportStyle style, const std::string& text, const char* caption, UINT icon) {
    platform::ShowMessageBox(style.kind == ReportStyle::Kind::Page ? style.owner : nullptr, text,
                             caption, MB_OK | icon);
}
// A warning owned by the page, or an unowned error.
void WarnOrError(ReportStyle style, const std::string& text) {
    const bool page = style.kind == ReportStyle::Kind::Page;
    Show(style, text, page ? "Warning" : "Error", page ? MB_ICONWARNING : MB_ICONERROR);
}
}  // namespace

void DisableFailed(const std::string& name, ReportStyle style) {
    if (style.kind == ReportStyle::Kind::Page) {
        Show(style, "Failed to disable " + name, "Warning", MB_ICONWARNING);
    } else {
        Show(style, "STARTUP ERROR: Disabled Fail" + name, "Error", MB_ICONERROR);
    }
}

void EnableFailedWithCode(const std::string& name, LSTATUS code, ReportStyle style) {
    Show(style, "Failed to enable " + name + ", error = " + std::to_string(code), "Error",
         MB_ICONERROR);
}

void EnableFailed(const std::string& name, ReportStyle style) {
    if (style.kind == ReportStyle::Kind::Page) {
        Show(style, "Failed to enable " + name, "Warning", MB_ICONWARNING);
    } else {
        Show(style, "Failed to enable " + name, "Error", MB_ICONERROR);
    }
}

void AlreadyBack(const std::string& name, ReportStyle style) {
    WarnOrError(style, "\"" + name +
                           "\" was not switched on: it has put itself back on Windows startup "
                           "since it was switched off, and is running at startup already. "
                           "Switch it off to keep it off.");
}

void TooLongToRecord(const std::string& name, ReportStyle style) {
    WarnOrError(style, "Failed to disable " + name +
                           ": its name, command or location is too long to be recorded in the "
                           "history, so it could not be switched back on.");
}

}  // namespace engine::reports
