#pragma once
// Waits, pumping the thread's messages, until every row of a startup list has its publisher.

#include <windows.h>

namespace bench {

template <typename List>
bool AllRowsHavePublishers(const List& list) {
    for (int row = list.RowCount() - 1; row >= 0; --row) {
        if (!list.PublisherAt(row)) {
            return false;
        }
    }
    return true;
}

template <typename List>
void PumpUntilPublishers(const List& list) {
    while (!AllRowsHavePublishers(list)) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (::PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessage(&message);
        }
    }
}

}  // namespace bench
