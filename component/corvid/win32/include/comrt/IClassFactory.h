// The system's IClassFactory.
#pragma once

#include "IUnknown.h"
