// Who the server is: the identifiers and texts that Explorer, the registry and the type
// library see. MinGW ignores __declspec(uuid), so every GUID is spelled out here.
#pragma once

#include <windows.h>

namespace ardshred {

// {7B52EDC9-205E-4A92-83E3-E618768A5753}
inline constexpr GUID kClsidCMenu = {
    0x7B52EDC9, 0x205E, 0x4A92, {0x83, 0xE3, 0xE6, 0x18, 0x76, 0x8A, 0x57, 0x53}};
// {1BC29D02-7B88-43AF-8A69-325BBD4245B3}
inline constexpr GUID kLibid = {
    0x1BC29D02, 0x7B88, 0x43AF, {0x8A, 0x69, 0x32, 0x5B, 0xBD, 0x42, 0x45, 0xB3}};
// {73CC57BD-D74C-45F2-B196-A420A4CAEA96}: the class's default dispatch interface _cMenu.
inline constexpr GUID kIidCMenuDispatch = {
    0x73CC57BD, 0xD74C, 0x45F2, {0xB1, 0x96, 0xA4, 0x20, 0xA4, 0xCA, 0xEA, 0x96}};

inline constexpr wchar_t kClsidText[] = L"{7B52EDC9-205E-4A92-83E3-E618768A5753}";
inline constexpr wchar_t kLibidText[] = L"{1BC29D02-7B88-43AF-8A69-325BBD4245B3}";
inline constexpr wchar_t kProgId[] = L"ArdenoShredder.cMenu";
inline constexpr wchar_t kLibraryName[] = L"ArdenoShredder";
inline constexpr WORD kLibMajor = 1;
inline constexpr WORD kLibMinor = 0;

inline constexpr wchar_t kCaption[] = L"&Ardeno Shredder";
inline constexpr char kCaptionA[] = "&Ardeno Shredder";  // the one string verb accepted
inline constexpr wchar_t kHelpText[] = L"Lose your unwanted data for ever. ";
inline constexpr wchar_t kVerbText[] = L"(GCS_VERB)MENUITEM1";
inline constexpr wchar_t kValidateText[] = L"(GCS_VALIDATE)New menu item number 1";
inline constexpr wchar_t kNothingSelected[] = L"No files or folders were selected.";
inline constexpr wchar_t kMessageTitle[] = L"Ardeno Shredder";
inline constexpr wchar_t kShreddingText[] = L"Overwriting and deleting:";

}  // namespace ardshred
