// The automation contract's names: what the native host publishes on its
// windows and what a driver in another process reads back. Wide strings for
// the W functions (GetPropW, RegisterWindowMessageW); no <windows.h> needed.
#pragma once

namespace orv::ui::automation {

// Window properties. Name and kind hold a global atom (read it with
// GlobalGetAtomNameW): the form name or the control's AutomationName(), and,
// on controls only, the control kind (KindName).
inline constexpr wchar_t kNameProp[] = L"OrvelleName";
inline constexpr wchar_t kKindProp[] = L"OrvelleKind";
// Check boxes and option buttons publish their value as the property's
// number: skinned ones are owner-drawn and answer BM_GETCHECK with nothing.
inline constexpr wchar_t kValueProp[] = L"OrvelleValue";
// Top-level windows publish the DPI they are laid out with, as a number.
inline constexpr wchar_t kDpiProp[] = L"OrvelleDpi";

// Registered message: wParam is a global atom of a caption element's name;
// the reply is 1 when the element is on the window's caption bar (or window
// menu) and a user could click it, and the click runs after the reply.
inline constexpr wchar_t kSkinElementClickMessage[] = L"OrvelleSkinElementClick";

// The name of the splash window.
inline constexpr char kSplashName[] = "Splash";

}  // namespace orv::ui::automation
