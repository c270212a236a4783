#include "shell/page_host.h"

namespace shell {
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

}  // namespace shell
