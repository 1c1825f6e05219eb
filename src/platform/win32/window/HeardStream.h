#pragma once

#include "platform/LastAnswer.h"

#include <windows.h>

#include <objidl.h>
#include <string>

namespace zelvano {

// Opens a file for reading as a stream that notes in `heard` (when given) each piece its drive
// delivers, so that a wait for the picture decoders measures the drive's silence, not the read.
HRESULT OpenHeardStream(const std::wstring& path, LastAnswer* heard, IStream** stream);

} // namespace zelvano
