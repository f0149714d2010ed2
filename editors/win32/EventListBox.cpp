#include "EventListBox.h"

#include "Gdi.h"

#include <vector>

namespace {

constexpr UINT kListId = 4096;
constexpr int kTextGap = 5; // between a row's picture and its text
constexpr int kPictureLeft = 3;

// The pictures in the order the list keeps them.
constexpr uint16_t kPictureIds[] = {IDB_ROW_PAUSE, IDB_ROW_KEY_PRESS, IDB_ROW_KEY_RELEASE, IDB_ROW_MOUSE};

} // namespace

MessageSpan CEventListBox::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnReflectMeasureItem<&CEventListBox::OnMeasureItem>(),
        OnReflectDrawItem<&CEventListBox::OnDrawItem>(),
        OnReflectCtlColor<WM_CTLCOLORLISTBOX, &CEventListBox::OnCtlColor>(),
        OnMouse<WM_RBUTTONDOWN, &CEventListBox::OnRButtonDown>(),
        OnMessage<kWmOpenEdit, &CEventListBox::OnOpenEdit>(),
    };
    return kEntries;
}

MessageSpan CEventListBox::CRowEdit::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnKey<WM_KEYUP, &CRowEdit::OnKeyUp>(),
        OnWmKillFocus<&CRowEdit::OnKillFocus>(),
    };
    return kEntries;
}

bool CEventListBox::Create(const RECT& rect, HWND parent)
{
    m_font.Reset(::CreateFontA(15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial"));
    const HINSTANCE module = ::GetModuleHandleA(nullptr);
    for (std::size_t i = 0; i < m_pictures.size(); ++i)
        m_pictures[i].Reset(static_cast<HBITMAP>(
            ::LoadImageA(module, MAKEINTRESOURCEA(kPictureIds[i]), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    return CreateChild("LISTBOX", rect, parent,
                       WS_VISIBLE | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                           LBS_NOINTEGRALHEIGHT,
                       kListId);
}

HBITMAP CEventListBox::Picture(uint16_t id)
{
    for (std::size_t i = 0; i < m_pictures.size(); ++i)
        if (kPictureIds[i] == id)
            return m_pictures[i].Get();
    return nullptr;
}

void CEventListBox::Show(const ListBoxExModel& model)
{
    SendMessage(WM_SETREDRAW, FALSE);
    SendMessage(LB_RESETCONTENT);
    for (const ListRow& row : model.Rows()) {
        const LRESULT index = SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
        SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(row.value));
    }
    if (model.Caret() >= 0)
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(model.Caret()), FALSE);
    SendMessage(LB_SETCURSEL, static_cast<WPARAM>(model.Selection()));
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate(true);
    if (model.Edit() && m_edit.GetSafeHwnd() == nullptr && !m_pendingEdit) {
        // Opened from the queue: the command that asked for it may come from a menu that is still
        // handing the focus back.
        m_pendingEdit = *model.Edit();
        PostMessage(kWmOpenEdit);
    }
}

int CEventListBox::Selection() const
{
    return static_cast<int>(SendMessage(LB_GETCURSEL));
}

LRESULT CEventListBox::OnOpenEdit(WPARAM, LPARAM)
{
    if (m_pendingEdit && m_edit.GetSafeHwnd() == nullptr)
        OpenEdit(*m_pendingEdit);
    m_pendingEdit.reset();
    return 0;
}

void CEventListBox::OpenEdit(const ListEdit& edit)
{
    RECT row{};
    if (SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(edit.row), reinterpret_cast<LPARAM>(&row)) == LB_ERR)
        return;
    int left = row.left + 1;
    if (edit.afterPicture) {
        const uint16_t picture = RowPicture(static_cast<uint32_t>(
            SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(edit.row))));
        left = row.left + kPictureLeft + BitmapSize(Picture(picture)).cx + kTextGap;
    }
    m_edit.ended = false;
    m_edit.pressed = 0;
    // A sibling over the list rather than a child of it: the list box takes the focus back from
    // children of its own.
    RECT box{left, row.top, row.right, row.bottom};
    ::MapWindowPoints(m_hWnd, GetParent(), reinterpret_cast<POINT*>(&box), 2);
    if (!m_edit.CreateChild("EDIT", box, GetParent(),
                            WS_VISIBLE | ES_AUTOHSCROLL | (edit.digitsOnly ? ES_NUMBER : 0)))
        return;
    m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    m_edit.SendMessage(EM_LIMITTEXT, edit.limit);
    ::SetWindowTextA(m_edit.GetSafeHwnd(), edit.text.c_str());
    m_edit.SendMessage(EM_SETSEL, 0, -1);
    ::SetFocus(m_edit.GetSafeHwnd());
}

std::string CEventListBox::CloseEdit()
{
    std::string text;
    if (m_edit.GetSafeHwnd() == nullptr)
        return text;
    m_edit.ended = true;
    std::vector<char> buffer(kListEditReadLimit + 1, '\0');
    ::GetWindowTextA(m_edit.GetSafeHwnd(), buffer.data(), static_cast<int>(buffer.size()));
    text = buffer.data();
    const bool hadFocus = ::GetFocus() == m_edit.GetSafeHwnd();
    m_edit.DestroyWindow();
    if (hadFocus)
        ::SetFocus(m_hWnd);
    return text;
}

void CEventListBox::OnMeasureItem(MEASUREITEMSTRUCT& item)
{
    item.itemHeight = kRowHeight;
}

void CEventListBox::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    UniqueGdiObject<HBRUSH> fill(::CreateSolidBrush(selected ? kSelected : kBackground));
    ::FillRect(dc, &area, fill.Get());
    if (item.itemID == static_cast<UINT>(-1))
        return;
    int textLeft = area.left + kPictureLeft;
    if (HBITMAP picture = Picture(RowPicture(static_cast<uint32_t>(item.itemData)))) {
        const SIZE size = BitmapSize(picture);
        MemoryDc source(dc);
        SelectScope select(source.Get(), picture);
        ::BitBlt(dc, textLeft, area.top + (area.bottom - area.top - size.cy) / 2, size.cx, size.cy, source.Get(), 0,
                 0, SRCCOPY);
        textLeft += size.cx + kTextGap;
    }
    char text[256] = {};
    if (SendMessage(LB_GETTEXTLEN, item.itemID) < static_cast<LRESULT>(sizeof text))
        SendMessage(LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    SavedDcState saved(dc);
    SelectScope font(dc, m_font.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kText);
    RECT textArea{textLeft, area.top, area.right, area.bottom};
    ::DrawTextA(dc, text, -1, &textArea, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

HBRUSH CEventListBox::OnCtlColor(HDC, HWND)
{
    // Below the last row the list is black like its rows. A stock brush: nothing to free.
    return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
}

void CEventListBox::OnRButtonDown(UINT, POINT)
{
    ::PostMessageA(GetParent(), kWmListRButton, 0, 0);
}

bool CEventListBox::CRowEdit::PreTranslateMessage(MSG& message)
{
    // Return and Escape end the edit when they are released, and only when they went down in the
    // edit: the release of the Return that chose "Edit Delay" in a menu must not end it at once.
    if (message.message == WM_KEYDOWN && message.hwnd == m_hWnd &&
        (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        pressed = static_cast<UINT>(message.wParam);
        return true;
    }
    return false;
}

void CEventListBox::CRowEdit::OnKeyUp(UINT key, UINT, UINT)
{
    if (key != pressed)
        return;
    pressed = 0;
    if (key == VK_RETURN)
        End(ListEditEnd::Enter);
    else if (key == VK_ESCAPE)
        End(ListEditEnd::Escape);
}

void CEventListBox::CRowEdit::OnKillFocus(HWND)
{
    Default();
    End(ListEditEnd::FocusLost);
}

void CEventListBox::CRowEdit::End(ListEditEnd how)
{
    if (ended)
        return;
    ended = true;
    // Posted: the page closes this box, which must not go while it handles its own message.
    ::PostMessageA(::GetParent(m_hWnd), kWmEventEditEnded, static_cast<WPARAM>(how), 0);
}
