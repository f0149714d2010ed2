// The name and length fields both timer dialogs share: keys "1" and "2" of their skins, white
// text in the dark wells of the pictures, the name held to 25 characters and the length to
// 10..999 seconds.
#pragma once

#include "BmpEdit.h"
#include "SkinDialog.h"
#include "SpinWnd.h"

#include <string>

// Creates the name field at key "1" and the length field at key "2" of parent's skin; the length
// field reports with the id the timer models listen to.
void CreateTimerFields(const SkinLoader& skin, HWND parent, CBmpEdit& name, CSpinWnd& length);
// Colours, font, the name's limit and the length's range; the values are the dialog's to set.
void StartTimerFields(CBmpEdit& name, CSpinWnd& length);
// The text a window shows.
std::string WindowText(const CWnd& window);
