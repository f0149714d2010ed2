#include "GalleryWindow.h"

#include "Text.h"

#include <chrono>
#include <utility>

CGalleryWindow::CGalleryWindow(std::string skinFile, std::vector<GalleryKey> keys, UINT templateId)
    : BaseWindow(templateId, skinFile), m_skinFile(std::move(skinFile)), m_keys(std::move(keys))
{
}

BOOL CGalleryWindow::LoadSkin()
{
    const auto start = std::chrono::steady_clock::now();
    SkinLoader skin(*this, m_skinFile.c_str());
    const auto loaded = std::chrono::steady_clock::now();
    m_picturesMs = std::chrono::duration<double, std::milli>(loaded - start).count();
    for (const GalleryKey& key : m_keys) {
        const ButtonPosition pos = skin.Pos(key.key);
        const RECT rect = SkinLoader::RectOf(pos);
        const std::string name(FieldText(pos.name, sizeof pos.name));
        const std::string hint(FieldText(pos.hint, sizeof pos.hint));
        Control control{key.key, key.kind, nullptr};
        if (key.kind == "button" || key.kind == "toggle") {
            auto button = std::make_unique<CBitmapBtn>();
            skin.Button(*button, key.key);
            button->SetToggleMode(key.kind == "toggle" ? 1 : 0);
            button->SetTag(key.key);
            control.window = std::move(button);
        } else if (key.kind == "label") {
            auto label = std::make_unique<CTextLabel>();
            label->Create(rect, m_hWnd, static_cast<UINT>(key.key));
            label->SetText(name, 1);
            label->SetHint(hint);
            control.window = std::move(label);
        } else if (key.kind == "edit" || key.kind == "numedit") {
            auto edit = std::make_unique<CBmpEdit>();
            edit->Create(rect, m_hWnd);
            edit->SetNumericOnly(key.kind == "numedit" ? 1 : 0);
            edit->SetTextColor(RGB(255, 255, 255));
            edit->SetBackColor(RGB(0x10, 0x12, 0x16));
            edit->ApplyFont();
            control.window = std::move(edit);
        } else if (key.kind == "status") {
            auto status = std::make_unique<CStatusLabel>();
            status->Create(rect, m_hWnd, static_cast<UINT>(key.key));
            status->SetText(hint);
            control.window = std::move(status);
        } else {
            // Lists and other controls of later windows: the skin's picture shows through.
            continue;
        }
        m_controls.push_back(std::move(control));
    }
    m_frame = skin.Frame();
    m_controlsMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loaded).count();
    return TRUE;
}

std::vector<std::pair<int, CBitmapBtn*>> CGalleryWindow::Buttons() const
{
    std::vector<std::pair<int, CBitmapBtn*>> buttons;
    for (const Control& control : m_controls) {
        if (control.kind == "button" || control.kind == "toggle")
            buttons.emplace_back(control.key, static_cast<CBitmapBtn*>(control.window.get()));
    }
    return buttons;
}

RECT CGalleryWindow::ControlRect(int key) const
{
    for (const Control& control : m_controls) {
        if (control.key == key && control.window)
            return control.window->GetWindowRect();
    }
    return RECT{};
}

MessageSpan CGalleryWindow::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnAnyControl<&CGalleryWindow::OnControlCommand>(),
    };
    return kEntries;
}

void CGalleryWindow::OnControlCommand(HWND control, UINT, UINT notification)
{
    if (notification != BN_CLICKED)
        return;
    for (const Control& entry : m_controls) {
        if (entry.window && control == entry.window->GetSafeHwnd()) {
            m_commands.push_back(entry.key);
            return;
        }
    }
}
