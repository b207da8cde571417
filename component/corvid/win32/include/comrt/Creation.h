// Creating objects by class identifier: the system's CoCreateInstance.
#pragma once

#include <windows.h>
#include <objbase.h>
