#include "controls/text.h"

#include "platform/text_codec.h"

#include <vector>

namespace controls {

tstring WindowText(HWND window) {
    const int count = ::GetWindowTextLength(window);
    std::vector<TCHAR> buffer(static_cast<size_t>(count) + 1, 0);
    ::GetWindowText(window, buffer.data(), count + 1);
    return buffer.data();
}

std::wstring GdiText(const tstring& text) {
#ifdef UNICODE
    return text;
#else
    return platform::text::Wide(text);
#endif
}

}  // namespace controls
