#include "MacroAdjustDlg.h"

#include "DialogIds.h"
#include "WarnDlg.h"

#include <utility>

namespace {

constexpr int kButtonKeys[] = {10, 11, 12, 13};
constexpr RECT kTimingListRect{1, 22, 479, 349};

} // namespace

MessageSpan CMacroAdjustDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmDestroy<&CMacroAdjustDlg::OnDestroy>(),
        OnControlArray<&CMacroAdjustDlg::m_buttons, &CMacroAdjustDlg::OnButton>(),
        OnMessage<WM_KBDHOOK_KEY, &CMacroAdjustDlg::OnCapturedKey>(),
    };
    return kEntries;
}

CMacroAdjustDlg::CMacroAdjustDlg(MacroLibrary& library, std::function<void(bool)> enableManagerControls,
                                 RecorderCapture* capture)
    : BaseWindow(IDD_SKIN_PAGE, "skins\\skin_macro_adjust.ini"),
      m_capture(capture != nullptr ? *capture : m_windowCapture), m_model(library, m_layout),
      m_enableManagerControls(std::move(enableManagerControls)), m_timing(m_model.List(), m_layout)
{
}

CMacroAdjustDlg::~CMacroAdjustDlg()
{
    // Here, not in the base: OnDestroy must still find this object whole.
    DestroyWindow();
}

BOOL CMacroAdjustDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    m_timing.Create(Scaled(kTimingListRect), m_hWnd);
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        skin.Button(m_buttons[i], kButtonKeys[i]);
    return TRUE;
}

void CMacroAdjustDlg::OnDestroy()
{
    if (m_model.WaitingForKey())
        m_capture.StopKeyCapture();
    Default();
}

void CMacroAdjustDlg::LoadMacro(int set, int macro)
{
    const bool wasWaiting = m_model.WaitingForKey();
    m_model.LoadMacro(set, macro);
    if (wasWaiting)
        EndKeyWait();
    m_timing.Refresh();
}

void CMacroAdjustDlg::CommitBars()
{
    const CommitOutcome outcome = m_model.CommitBars();
    if (outcome.pauseCapped)
        ::SendMessageA(GetParent(), WM_MACRO_PAUSE_CAPPED, 0, 0);
}

void CMacroAdjustDlg::OnButton(std::size_t index)
{
    switch (index) {
    case 0: AddBar(); return;
    case 1:
        if (m_model.DeleteBar())
            m_timing.Refresh();
        return;
    case 2: m_model.List().ZoomOut(); break;
    default: m_model.List().ZoomIn(); break;
    }
    m_timing.Refresh();
}

void CMacroAdjustDlg::AddBar()
{
    const AddBarOutcome outcome = m_model.AddBar(m_capture);
    HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
    switch (outcome) {
    case AddBarOutcome::WarnNoMacroSet: {
        CWarnMacroSet dialog;
        dialog.DoModal(owner);
        return;
    }
    case AddBarOutcome::WarnNoMacroName: {
        CWarnMacroName dialog;
        dialog.DoModal(owner);
        return;
    }
    case AddBarOutcome::Refused: return;
    case AddBarOutcome::CaptureFailed: ::SendMessageA(GetParent(), WM_MACRO_CAPTURE_FAILED, 0, 0); return;
    case AddBarOutcome::CaptureStarted: break;
    }
    m_timing.Refresh();
    if (m_enableManagerControls)
        m_enableManagerControls(false);
    // The next key is the only input the page takes until it has arrived.
    EnableWindow(false);
}

void CMacroAdjustDlg::EndKeyWait()
{
    m_capture.StopKeyCapture();
    if (m_enableManagerControls)
        m_enableManagerControls(true);
    EnableWindow(true);
}

LRESULT CMacroAdjustDlg::OnCapturedKey(WPARAM wParam, LPARAM lParam)
{
    const CapturedKey key = WindowKeyCapture::KeyOf(wParam, lParam);
    if (!m_model.KeyCaptured(key.virtualKey))
        return 0;
    m_timing.Refresh();
    EndKeyWait();
    return 0;
}
