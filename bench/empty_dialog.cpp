// The empty dialog program that the start-up benchmark compares Velbrook with: the same build,
// the same dialog framework, one empty window titled "Empty"; WM_CLOSE ends it.

#include "controls/dialog.h"

#include <windows.h>

namespace {

constexpr UINT kEmptyDialog = 100;

class CEmptyDlg : public controls::DialogImpl<CEmptyDlg> {
public:
    CEmptyDlg() : DialogImpl(kEmptyDialog) {}
    static const controls::MessageTable<CEmptyDlg>& Messages() {
        static const controls::MessageTable<CEmptyDlg> table = {
            controls::OnMessage(WM_CLOSE, &CEmptyDlg::OnClose),
        };
        return table;
    }

private:
    LRESULT OnClose(WPARAM, LPARAM) {
        EndDialog(IDOK);
        return 0;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CEmptyDlg dialog;
    dialog.DoModal();
    return 0;
}
