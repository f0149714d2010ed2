// Dialog templates shared by the skinned windows. They carry no controls: every window is drawn
// from its skin and creates its own controls.
#pragma once

#define IDD_SKIN_PAGE 100   // child page of a skinned window
#define IDD_SKIN_POPUP 140  // popup dialog
#define IDD_CONFIG_MAIN 102 // the configuration program's main window (application window)
#define IDD_KEY_PAGE 129    // its key page, a child page
