// Dialog templates shared by the skinned windows. They carry no controls: every window is drawn
// from its skin and creates its own controls.
#pragma once

#define IDD_SKIN_PAGE 100  // child page of a skinned window
#define IDD_SKIN_POPUP 140 // popup dialog
