#include "WarnDlg.h"

#include "Gdi.h"

MessageSpan CWarnDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnControlArray<&CWarnDlg::m_buttons, &CWarnDlg::OnButton>(),
    };
    return kEntries;
}

CWarnDlg::CWarnDlg(const char* skinFileName, UINT templateId)
    : BaseWindow(templateId, skinFileName), m_messageFont(MakeFont(14, 0, FW_NORMAL))
{
}

BOOL CWarnDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    skin.Button(m_buttons[0], 2);
    skin.Button(m_buttons[1], 3);
    skin.Button(m_buttons[2], 4);
    if (SkinPercent() != 100)
        m_messageFont = MakeFontAt(SkinPercent(), 14, 0, FW_NORMAL);
    return TRUE;
}

void CWarnDlg::DrawTexts(HDC dc)
{
    if (m_message.empty())
        return;
    SelectScope select(dc, m_messageFont.Get());
    ::SetTextColor(dc, RGB(255, 255, 255));
    RECT area = Scaled(RECT{20, 50, 220, 94});
    ::DrawTextA(dc, m_message.c_str(), static_cast<int>(m_message.size()), &area, DT_CENTER | DT_WORDBREAK);
}

void CWarnDlg::OnButton(std::size_t index)
{
    EndDialog(index == 0 ? IDOK : IDCANCEL);
}
