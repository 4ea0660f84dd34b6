#pragma once
// The scale entry dialog, the colour chooser and the contact box.
#include <windows.h>

#include "common/types.h"

void openScaleDialog(HWND owner);
// Opens the colour chooser on `color`; true and `color` changed when the user confirms.
bool chooseColor(HWND owner, Color& color);
void showContactBox(HWND owner);
