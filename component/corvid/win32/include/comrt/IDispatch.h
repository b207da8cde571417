// The system's IDispatch, with the name shared code uses for automation integers.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "IUnknown.h"

using AutomationLong = LONG;
