// Every error number this system reports, in one place: the cipher, the
// engine, the platform and both programs name them from here.
#pragma once

namespace support {

// Refusals of the cipher and the engine.
inline constexpr int kInvalidArgument = 5;  // a symbol outside the alphabet, or a bad call
inline constexpr int kOverflow = 6;         // more than an item may hold
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kInternalError = 51;  // a failure no check foresaw
inline constexpr int kMissingKey = 99;     // a key set-up or file call with an empty key

// File failures (see FileErrors.h for the table from the system's codes).
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceError = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kTooManyFiles = 67;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kNotOrdinaryFile = 75;  // a folder, a device or a pipe where a file belongs
inline constexpr int kPathNotFound = 76;

// The component and pictures.
inline constexpr int kCipherUnavailable = 429;  // the cipher object cannot be created
inline constexpr int kAutomationError = 440;    // the component failed without a number of its own
inline constexpr int kInvalidPicture = 481;

}  // namespace support
