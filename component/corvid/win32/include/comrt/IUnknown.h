// The system's IUnknown, with the name shared code uses for its counts.
#pragma once

#include <windows.h>
#include <unknwn.h>

using ComRefCount = ULONG;
