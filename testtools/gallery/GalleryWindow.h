// A skinned window built from a skin file and the list of its keys with the control each key
// stands for, so that every skinned window of the program can be opened, looked at and driven
// before (and apart from) the window classes that will own these skins.
#pragma once

#include "BitmapBtn.h"
#include "BmpEdit.h"
#include "DialogIds.h"
#include "SkinDialog.h"
#include "TextLabel.h"

#include <memory>
#include <string>
#include <vector>

struct GalleryKey {
    int key;
    std::string kind; // button, toggle, label, edit, numedit, list, status
};

class CGalleryWindow : public BaseWindow<CGalleryWindow, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    CGalleryWindow(std::string skinFile, std::vector<GalleryKey> keys, UINT templateId = IDD_SKIN_POPUP);

    const std::string& SkinName() const { return m_skinFile; }
    // The buttons in key order, with their keys.
    std::vector<std::pair<int, CBitmapBtn*>> Buttons() const;
    // Screen rectangle of a key's control; empty when the key made none.
    RECT ControlRect(int key) const;
    // The page rectangle ("FRAM") read during loading.
    RECT Frame() const { return m_frame; }
    // Commands received from the buttons, as keys, in order.
    const std::vector<int>& Commands() const { return m_commands; }
    // Time spent loading the pictures and creating the controls in the last LoadSkin.
    double PicturesMs() const { return m_picturesMs; }
    double ControlsMs() const { return m_controlsMs; }

protected:
    BOOL LoadSkin() override;

private:
    // Records the clicks of the controls (any of them; the program's windows name theirs in their
    // message tables).
    void OnControlCommand(HWND control, UINT id, UINT notification);

    struct Control {
        int key;
        std::string kind;
        std::unique_ptr<CWnd> window;
    };

    std::string m_skinFile;
    std::vector<GalleryKey> m_keys;
    std::vector<Control> m_controls;
    std::vector<int> m_commands;
    RECT m_frame{};
    double m_picturesMs = 0;
    double m_controlsMs = 0;
};
