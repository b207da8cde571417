// Symbol visibility for the component runtime and for component libraries:
// everything is hidden unless marked here.
#pragma once

#if defined(_WIN32)
// GCC and Clang spelling, which MinGW and clang-cl both accept.
#define COM_SYMBOL_EXPORT __attribute__((dllexport))
#define COM_SYMBOL_IMPORT __attribute__((dllimport))
#else
#define COM_SYMBOL_EXPORT __attribute__((visibility("default")))
#define COM_SYMBOL_IMPORT __attribute__((visibility("default")))
#endif

/// Functions of the component runtime (libcomrt); its own build defines COMRT_BUILDING.
#if defined(COMRT_BUILDING)
#define COMRT_API extern "C" COM_SYMBOL_EXPORT
#else
#define COMRT_API extern "C" COM_SYMBOL_IMPORT
#endif

/// The four entry points a component library exports as plain C symbols.
#define COMPONENT_ENTRY_POINT extern "C" COM_SYMBOL_EXPORT
