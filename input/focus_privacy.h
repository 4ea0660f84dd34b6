#pragma once
// Whether the control that has the keyboard focus takes a password, from what the platform
// can tell about it at once; a control it cannot judge is asked through accessibility.
#include <string_view>

// The standard edit controls and those of common toolkits built on them, by window class
// name: "Edit", the rich edit controls, WinForms' "WindowsForms10.EDIT.…".
bool isEditClassName(std::wstring_view className);

// What the focused window shows of itself without being sent a message, so that an
// application that hangs cannot hold the answer up.
struct FocusFacts {
    bool editControl = false;    // a standard edit control, or one built on it
    bool passwordStyle = false;  // its password style (the characters shown as dots)
};

enum class FocusVerdict { Password, NotPassword, AskAccessibility };

inline FocusVerdict judgeFocus(const FocusFacts& facts) {
    if (!facts.editControl) return FocusVerdict::AskAccessibility;
    return facts.passwordStyle ? FocusVerdict::Password : FocusVerdict::NotPassword;
}
