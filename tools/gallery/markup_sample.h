#pragma once
// The markup renderer's part of the gallery (8-bit builds only, as the renderer itself): a
// text that uses most of its vocabulary, and a spinner image list that it animates.

#include "platform/unique_any.h"

#include <windows.h>

#include <string>

namespace gallery {

// The frames of a small spinner, on a transparent background.
platform::unique_himagelist MakeSpinnerFrames();

// The sample text; icon and spinner are borrowed by handle. Its "msg" link says "hello".
std::string MarkupSample(HICON icon, HIMAGELIST spinner);

}  // namespace gallery
