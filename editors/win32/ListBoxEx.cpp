#include "ListBoxEx.h"

#include "Gdi.h"
#include "ResourceIds.h"
#include "SkinScale.h"
#include "SkinAccessible.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

namespace {

constexpr int kRowHeight = 20;
// The picture sits this far in from the row's left edge, and the text as far after it.
constexpr int kPictureLeft = 5;
constexpr int kTextGap = 5;
// The edit box over a row: 1 pixel in from the left, 2 from the right.
constexpr int kEditInsetLeft = 1;
constexpr int kEditInsetRight = 2;
// Posted to the list itself when its edit lost the focus (wParam the edit's serial): the edit ends
// once the focus change is over, not inside the handler of the window that took the focus.
constexpr UINT kEndAfterFocusLoss = WM_APP + 0x500;

// The bitmap resource that shows a row picture drawn for percent (100, 150 or 200); 0 for none.
UINT RowBitmapResource(ListRowPicture picture, int percent)
{
    const int set = percent == 200 ? 2 : percent == 150 ? 1 : 0;
    switch (picture) {
    case ListRowPicture::Pause: return std::array<UINT, 3>{IDB_ROW_PAUSE, IDB_ROW_PAUSE_150, IDB_ROW_PAUSE_200}[set];
    case ListRowPicture::KeyPress:
        return std::array<UINT, 3>{IDB_ROW_KEY_PRESS, IDB_ROW_KEY_PRESS_150, IDB_ROW_KEY_PRESS_200}[set];
    case ListRowPicture::KeyRelease:
        return std::array<UINT, 3>{IDB_ROW_KEY_RELEASE, IDB_ROW_KEY_RELEASE_150, IDB_ROW_KEY_RELEASE_200}[set];
    case ListRowPicture::Mouse: return std::array<UINT, 3>{IDB_ROW_MOUSE, IDB_ROW_MOUSE_150, IDB_ROW_MOUSE_200}[set];
    case ListRowPicture::None: break;
    }
    return 0;
}

} // namespace

MessageSpan CListBoxEx::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnReflectMeasureItem<&CListBoxEx::OnMeasureItem>(),
        OnReflectDrawItem<&CListBoxEx::OnDrawItem>(),
        OnReflectCtlColor<WM_CTLCOLORLISTBOX, &CListBoxEx::OnCtlColor>(),
        OnMouse<WM_MOUSEMOVE, &CListBoxEx::OnMouseMove>(),
        OnWmMouseLeave<&CListBoxEx::OnMouseLeave>(),
        OnWmMouseWheel<&CListBoxEx::OnMouseWheel>(),
        OnMouse<WM_RBUTTONDOWN, &CListBoxEx::OnRButtonDown>(),
        OnMessage<WM_GETOBJECT, &CListBoxEx::OnGetObject>(),
        OnMessage<WM_SKIN_ACCESS, &CListBoxEx::OnSkinAccess>(),
        OnMessage<WM_SKIN_ACCESS_ROWS, &CListBoxEx::OnSkinAccessRows>(),
        OnMessage<WM_SKIN_ACCESS_ROW, &CListBoxEx::OnSkinAccessRow>(),
        OnWmDestroy<&CListBoxEx::OnDestroy>(),
        OnMessage<kEndAfterFocusLoss, &CListBoxEx::OnEndAfterFocusLoss>(),
    };
    return kEntries;
}

MessageSpan CListBoxEx::CInPlaceEdit::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnKey<WM_KEYUP, &CInPlaceEdit::OnKeyUp>(),
        OnKey<WM_CHAR, &CInPlaceEdit::OnChar>(),
        OnWmKillFocus<&CInPlaceEdit::OnKillFocus>(),
    };
    return kEntries;
}

bool CListBoxEx::CInPlaceEdit::PreTranslateMessage(MSG& message)
{
    // Return and Escape end the edit when they are released, and only when they went down in the
    // edit: the release of the Return that chose a menu command opening the edit must not end it
    // at once. Taken here, before the dialog's own handling of the two keys.
    if (message.message == WM_KEYDOWN && message.hwnd == m_hWnd &&
        (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        m_pressed = static_cast<UINT>(message.wParam);
        return true;
    }
    return false;
}

void CListBoxEx::CInPlaceEdit::OnKeyUp(UINT key, UINT, UINT)
{
    if (key != VK_RETURN && key != VK_ESCAPE) {
        Default();
        return;
    }
    if (key != m_pressed)
        return;
    m_pressed = 0;
    m_list.EndEdit(key == VK_RETURN ? ListEditEnd::Enter : ListEditEnd::Escape);
}

void CListBoxEx::CInPlaceEdit::OnChar(UINT character, UINT, UINT)
{
    // Enter and Escape end the edit when they are released; typed, they would only beep.
    if (character == '\r' || character == '\n' || character == 0x1B)
        return;
    Default();
}

void CListBoxEx::CInPlaceEdit::OnKillFocus(HWND)
{
    Default();
    if (!m_list.m_closingEdit)
        m_list.PostMessage(kEndAfterFocusLoss, m_list.m_editSerial, 0);
}

CListBoxEx::CListBoxEx()
    : m_editBox(*this), m_backgroundBrush(::CreateSolidBrush(m_background)), m_font(MakeFont(14, 0, FW_LIGHT))
{
}

CListBoxEx::~CListBoxEx()
{
    // The edit box is a child of the list: it goes first, while the list's object still exists.
    m_closingEdit = true;
    m_editBox.DestroyWindow();
    DestroyWindow();
}

bool CListBoxEx::Create(const RECT& rect, HWND parent, UINT id)
{
    // A list box without data of its own: it knows only the number of rows, and the rows are drawn
    // from the model. A macro of 512 events has over 1000 rows, and filling them one message or two
    // at a time after every recorded key would take longer than a frame.
    // Rows, margins, pictures and the font at the display scaling of the window it sits in.
    m_percent = SkinPercentOf(parent);
    if (m_percent != 100)
        m_font = MakeFontAt(m_percent, 14, 0, FW_LIGHT);
    if (!CreateChild(
            "LISTBOX", rect, parent,
            WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_CLIPCHILDREN | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_NODATA, id))
        return false;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    Refill();
    return true;
}

void CListBoxEx::SetColors(COLORREF background, COLORREF selection, COLORREF text)
{
    m_background = background;
    m_selection = selection;
    m_text = text;
    m_backgroundBrush.Reset(::CreateSolidBrush(background));
    Invalidate(true);
}

int CListBoxEx::Selection() const
{
    if (m_hWnd == nullptr)
        return m_model.Selection();
    const LRESULT selection = SendMessage(LB_GETCURSEL);
    return selection == LB_ERR ? -1 : static_cast<int>(selection);
}

int CListBoxEx::AddRow(const std::string& text, uint32_t value)
{
    const int row = m_model.AddRow(text, value);
    if (m_hWnd != nullptr)
        SendMessage(LB_SETCOUNT, static_cast<WPARAM>(m_model.Count()), 0);
    return row;
}

void CListBoxEx::DeleteRow(int row)
{
    const bool editedRow = m_model.Edit() && m_model.Edit()->row == row;
    m_model.Select(Selection());
    m_model.DeleteRow(row);
    if (editedRow)
        CloseEditBox();
    Refill();
}

void CListBoxEx::Clear()
{
    CloseEditBox();
    m_model.Clear();
    Refill();
}

void CListBoxEx::Select(int row)
{
    m_model.Select(row);
    if (m_hWnd != nullptr)
        SendMessage(LB_SETCURSEL, static_cast<WPARAM>(m_model.Selection()), 0);
}

void CListBoxEx::ShowRows(const ListBoxExModel& model)
{
    CloseEditBox();
    m_model.Clear();
    for (const ListRow& row : model.Rows())
        m_model.AddRow(row.text, row.value);
    m_model.Select(model.Selection());
    m_model.SetCaret(model.Caret());
    Refill();
}

void CListBoxEx::Refill()
{
    if (m_hWnd == nullptr)
        return;
    SendMessage(WM_SETREDRAW, FALSE, 0);
    const LRESULT top = SendMessage(LB_GETTOPINDEX);
    SendMessage(LB_SETCOUNT, static_cast<WPARAM>(m_model.Count()), 0);
    if (top != LB_ERR && top < m_model.Count())
        SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessage(LB_SETCURSEL, static_cast<WPARAM>(m_model.Selection()), 0);
    if (m_model.Caret() != -1)
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(m_model.Caret()), FALSE);
    SendMessage(WM_SETREDRAW, TRUE, 0);
    Invalidate(true);
}

bool CListBoxEx::BeginNewEntry()
{
    m_model.Select(Selection());
    if (!m_model.BeginNewEntry())
        return false;
    SendMessage(LB_SETCOUNT, static_cast<WPARAM>(m_model.Count()), 0);
    OpenEditBox();
    return true;
}

bool CListBoxEx::BeginEditSelected()
{
    m_model.Select(Selection());
    if (!m_model.BeginEditSelected())
        return false;
    OpenEditBox();
    return true;
}

void CListBoxEx::OpenEditBox()
{
    const ListEdit& edit = *m_model.Edit();
    ++m_editSerial;
    // The row is brought into view before the box is laid over it.
    SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(edit.row), FALSE);
    RECT row{};
    SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(edit.row), reinterpret_cast<LPARAM>(&row));
    int left = row.left + Scaled(kEditInsetLeft);
    if (edit.afterPicture) {
        const ListRowPicture picture = RowPicture(m_model.RowAt(edit.row)->value);
        left = row.left + Scaled(BitmapSize(RowBitmap(picture)).cx + kPictureLeft);
    }
    const RECT box{left, row.top, row.right - Scaled(kEditInsetRight), row.bottom};
    DWORD style = WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    if (edit.digitsOnly)
        style |= ES_NUMBER;
    if (!m_editBox.CreateChild("EDIT", box, m_hWnd, style))
        return;
    m_editBox.Opened();
    m_editBox.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    m_editBox.SendMessage(EM_LIMITTEXT, edit.limit, 0);
    ::SetWindowTextA(m_editBox.GetSafeHwnd(), edit.text.c_str());
    m_editBox.SendMessage(EM_SETSEL, 0, -1);
    ::SetFocus(m_editBox.GetSafeHwnd());
}

LRESULT CListBoxEx::OnEndAfterFocusLoss(WPARAM serial, LPARAM)
{
    if (serial == m_editSerial && IsEditing())
        EndEdit(ListEditEnd::FocusLost);
    return 0;
}

void CListBoxEx::EndEdit(ListEditEnd how)
{
    if (!IsEditing())
        return;
    std::string text(kListEditReadLimit + 1, '\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextA(m_editBox.GetSafeHwnd(), text.data(), static_cast<int>(text.size()))));
    CloseEditBox();
    m_model.Select(Selection());
    const std::optional<int> reported = m_model.EndEdit(how, text);
    Refill();
    if (reported)
        ::PostMessageA(GetParent(), WM_LIST_EDIT_DONE, static_cast<WPARAM>(*reported), 0);
    if (m_editEnded)
        m_editEnded(how, text);
}

void CListBoxEx::CloseEditBox()
{
    if (m_editBox.GetSafeHwnd() == nullptr)
        return;
    const bool hadFocus = ::GetFocus() == m_editBox.GetSafeHwnd();
    m_closingEdit = true;
    if (hadFocus)
        ::SetFocus(m_hWnd);
    m_editBox.DestroyWindow();
    m_closingEdit = false;
}

void CListBoxEx::RedrawRow(int row) const
{
    RECT rect{};
    if (row < 0 || SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
        return;
    ::InvalidateRect(m_hWnd, &rect, FALSE);
}

HBITMAP CListBoxEx::RowBitmap(ListRowPicture picture)
{
    // All three sets are compiled in: the one of the list's scaling, or the largest below it.
    const UINT resource = RowBitmapResource(picture, ChoosePicturePercent(m_percent, [](int) { return true; }));
    if (resource == 0)
        return nullptr;
    auto found = m_bitmaps.find(picture);
    if (found == m_bitmaps.end()) {
        HBITMAP loaded = static_cast<HBITMAP>(
            ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, 0));
        found = m_bitmaps.emplace(picture, UniqueGdiObject<HBITMAP>(loaded)).first;
    }
    return found->second.Get();
}

SIZE CListBoxEx::BitmapSize(HBITMAP bitmap) const
{
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void CListBoxEx::OnMeasureItem(MEASUREITEMSTRUCT& item)
{
    item.itemHeight = static_cast<UINT>(Scaled(kRowHeight));
}

void CListBoxEx::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    if (item.itemID == static_cast<UINT>(-1))
        return;
    HDC dc = item.hDC;
    const SavedDcState saved(dc);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const UniqueGdiObject<HBRUSH> fill(::CreateSolidBrush(selected ? m_selection : m_background));
    ::FillRect(dc, &item.rcItem, fill.Get());

    const ListRow* row = m_model.RowAt(static_cast<int>(item.itemID));
    if (row == nullptr)
        return;
    int textLeft = item.rcItem.left + Scaled(kPictureLeft);
    if (HBITMAP picture = RowBitmap(RowPicture(row->value))) {
        // The picture drawn for the list's scaling is shown as it is; one drawn for a smaller
        // scaling (above 200 %) is stretched smoothly.
        const SIZE size = BitmapSize(picture);
        const int drawnAt = ChoosePicturePercent(m_percent, [](int) { return true; });
        const SIZE shown{Scaled(UnscaleValue(size.cx, drawnAt)), Scaled(UnscaleValue(size.cy, drawnAt))};
        const MemoryDc source(dc);
        const SelectScope select(source.Get(), picture);
        const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - shown.cy) / 2;
        if (shown.cx == size.cx && shown.cy == size.cy) {
            ::BitBlt(dc, item.rcItem.left + Scaled(kPictureLeft), top, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
        } else {
            ::SetStretchBltMode(dc, HALFTONE);
            ::SetBrushOrgEx(dc, 0, 0, nullptr);
            ::StretchBlt(dc, item.rcItem.left + Scaled(kPictureLeft), top, shown.cx, shown.cy, source.Get(), 0, 0,
                         size.cx, size.cy, SRCCOPY);
        }
        textLeft += shown.cx + Scaled(kTextGap);
    }
    const SelectScope font(dc, m_font.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, IsWindowEnabled() ? m_text : ::GetSysColor(COLOR_BTNSHADOW));
    RECT text = item.rcItem;
    text.left = textLeft;
    ::DrawTextA(dc, row->text.c_str(), static_cast<int>(row->text.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

HBRUSH CListBoxEx::OnCtlColor(HDC dc, HWND)
{
    ::SetBkColor(dc, m_background);
    ::SetTextColor(dc, m_text);
    return m_backgroundBrush.Get();
}

void CListBoxEx::OnMouseMove(UINT, POINT point)
{
    const LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    const int row = HIWORD(hit) != 0 ? -1 : static_cast<int>(LOWORD(hit));
    if (row != m_hotRow) {
        RedrawRow(m_hotRow);
        m_hotRow = row;
        RedrawRow(m_hotRow);
    }
    if (!m_trackingLeave)
        m_trackingLeave = TrackMouseLeave();
    Default();
}

void CListBoxEx::OnMouseLeave()
{
    m_trackingLeave = false;
    RedrawRow(m_hotRow);
    m_hotRow = -1;
}

void CListBoxEx::OnMouseWheel(UINT, int delta, POINT)
{
    const int notches = std::max(1, std::abs(delta) / WHEEL_DELTA);
    for (int i = 0; i < notches; ++i)
        SendMessage(WM_VSCROLL, delta <= 0 ? SB_LINEDOWN : SB_LINEUP, 0);
}

bool CListBoxEx::PreTranslateMessage(MSG& message)
{
    if (message.hwnd != m_hWnd || (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN))
        return false;
    const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool control = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (message.wParam != VK_APPS && !(message.wParam == VK_F10 && shift && !control))
        return false;
    if ((message.lParam & (1L << 30)) == 0)
        ::PostMessageA(GetParent(), WM_LIST_RBUTTON, 1, 0);
    return true;
}

RECT CListBoxEx::SelectedRowRect() const
{
    RECT row{};
    int index = static_cast<int>(::SendMessageA(m_hWnd, LB_GETCURSEL, 0, 0));
    if (index < 0)
        index = static_cast<int>(::SendMessageA(m_hWnd, LB_GETTOPINDEX, 0, 0));
    if (::SendMessageA(m_hWnd, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row)) == LB_ERR)
        row = GetClientRect();
    RECT client = GetClientRect();
    row.top = std::max(row.top, client.top);
    row.bottom = std::min(std::max(row.bottom, row.top), client.bottom);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&row), 2);
    return row;
}

LRESULT CListBoxEx::OnGetObject(WPARAM flags, LPARAM objectId)
{
    if (const LRESULT answer = AnswerGetObject(m_hWnd, flags, objectId))
        return answer;
    return Default();
}

LRESULT CListBoxEx::OnSkinAccess(WPARAM, LPARAM access)
{
    return FillNamedAccess(access, m_hWnd, ControlRole::List, m_accessName);
}

LRESULT CListBoxEx::OnSkinAccessRows(WPARAM, LPARAM)
{
    return static_cast<LRESULT>(m_model.Rows().size());
}

LRESULT CListBoxEx::OnSkinAccessRow(WPARAM row, LPARAM text)
{
    const ListRow* found = m_model.RowAt(static_cast<int>(row));
    if (found == nullptr || text == 0)
        return 0;
    *reinterpret_cast<std::string*>(text) = found->text;
    return 1;
}

void CListBoxEx::OnRButtonDown(UINT, POINT)
{
    ::PostMessageA(GetParent(), WM_LIST_RBUTTON, 0, 0);
    Default();
}

void CListBoxEx::OnDestroy()
{
    m_closingEdit = true;
    m_editBox.DestroyWindow();
    m_closingEdit = false;
    Default();
}
