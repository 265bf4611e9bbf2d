// Win32 result codes as the platform seam returns them, and the registry's
// value types. Both backends speak these numbers so the logic above reads like
// the Windows behaviour it implements.
#pragma once

#include <cstdint>

namespace orv::platform {

using Status = std::int32_t;

inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;
inline constexpr Status kPathNotFound = 3;
inline constexpr Status kAccessDenied = 5;
inline constexpr Status kInvalidHandle = 6;
inline constexpr Status kInvalidData = 13;
inline constexpr Status kWriteProtect = 19;
inline constexpr Status kNotReady = 21;
inline constexpr Status kSharingViolation = 32;
inline constexpr Status kBadNetPath = 53;
inline constexpr Status kFileExists = 80;
inline constexpr Status kInvalidParameter = 87;
inline constexpr Status kInsufficientBuffer = 122;
inline constexpr Status kDirNotEmpty = 145;
inline constexpr Status kAlreadyExists = 183;
inline constexpr Status kMoreData = 234;
inline constexpr Status kNoMoreItems = 259;
inline constexpr Status kKeyDeleted = 1018;
inline constexpr Status kCantOpenAnonymous = 1347;

}  // namespace orv::platform
