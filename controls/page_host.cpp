#include "controls/page_host.h"

#include "controls/dialog.h"

namespace controls {
namespace {
PageHost* host = nullptr;
}

PageHost* CurrentPageHost() { return host; }

void SetPageHost(PageHost* newHost) { host = newHost; }

void ShowPage(int index) {
    if (host && host->VisiblePage() != index) {
        host->SelectPage(index);
    }
}

INT_PTR RunInVeil(CDialog* inner, HWND owner) {
    if (host) {
        return host->RunInVeil(inner);
    }
    return inner->DoModal(owner) == IDOK ? IDOK : IDCANCEL;
}

}  // namespace controls
