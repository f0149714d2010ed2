#include "SkinAccessible.h"

#include <oleacc.h>

// The interfaces' identifiers are taken with __uuidof: liboleacc.a also exports IID_IAccessible, as
// an import stub, and a link that names oleacc before uuid would take that stub's bytes for it.

#include <atomic>
#include <string>

#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
#define EVENT_OBJECT_LIVEREGIONCHANGED 0x8019
#endif

namespace {


BSTR ToBstr(const std::string& text)
{
    if (text.empty())
        return nullptr;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (result != nullptr)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result, length);
    return result;
}

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

class ControlAccessible final : public IAccessible {
public:
    explicit ControlAccessible(HWND control) : m_control(control) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: not offered (clients use the IAccessible methods).
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count != nullptr)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (parent == nullptr)
            return E_POINTER;
        *parent = nullptr;
        if (!::IsWindow(m_control))
            return E_FAIL;
        return ::CreateStdAccessibleObject(m_control, OBJID_WINDOW, __uuidof(IDispatch),
                                           reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (count == nullptr)
            return E_POINTER;
        *count = Rows();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override
    {
        if (child != nullptr)
            *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (name == nullptr)
            return E_POINTER;
        *name = nullptr;
        if (const long row = Row(child); row > 0) {
            std::string text;
            if (::SendMessageA(m_control, WM_SKIN_ACCESS_ROW, static_cast<WPARAM>(row - 1),
                               reinterpret_cast<LPARAM>(&text)) != 1)
                return E_INVALIDARG;
            *name = ToBstr(text);
            return *name != nullptr ? S_OK : S_FALSE;
        }
        return SelfText(child, &ControlAccess::name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        if (value == nullptr)
            return E_POINTER;
        *value = nullptr;
        ControlAccess access;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!Ask(access) || access.role != ControlRole::EditableText)
            return S_FALSE;
        char text[1024] = {};
        ::GetWindowTextA(m_control, text, sizeof text);
        *value = ToBstr(text);
        if (*value == nullptr)
            *value = ::SysAllocString(L"");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        if (text == nullptr)
            return E_POINTER;
        *text = nullptr;
        return SelfText(child, &ControlAccess::description, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (role == nullptr)
            return E_POINTER;
        ::VariantInit(role);
        ControlAccess access;
        if (Row(child) > 0) {
            role->vt = VT_I4;
            role->lVal = ROLE_SYSTEM_LISTITEM;
            return S_OK;
        }
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!Ask(access))
            return E_FAIL;
        role->vt = VT_I4;
        role->lVal = AccessibleRole(access.role);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (state == nullptr)
            return E_POINTER;
        ::VariantInit(state);
        ControlAccess access;
        if (const long row = Row(child); row > 0) {
            const bool selected = ::SendMessageA(m_control, LB_GETCURSEL, 0, 0) == row - 1;
            state->vt = VT_I4;
            state->lVal = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | (selected ? STATE_SYSTEM_SELECTED : 0) |
                          (selected && ::GetFocus() == m_control ? STATE_SYSTEM_FOCUSED : 0);
            return S_OK;
        }
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!Ask(access))
            return E_FAIL;
        long flags = 0;
        if (access.focusable)
            flags |= STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == m_control)
            flags |= STATE_SYSTEM_FOCUSED;
        if (access.checked)
            flags |= STATE_SYSTEM_CHECKED;
        if (access.unavailable)
            flags |= STATE_SYSTEM_UNAVAILABLE;
        if (!::IsWindowVisible(m_control))
            flags |= STATE_SYSTEM_INVISIBLE;
        if (access.role == ControlRole::StaticText)
            flags |= STATE_SYSTEM_READONLY;
        if (access.role == ControlRole::EditableText && (::GetWindowLongA(m_control, GWL_STYLE) & ES_READONLY) != 0)
            flags |= STATE_SYSTEM_READONLY;
        state->vt = VT_I4;
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override
    {
        if (help != nullptr)
            *help = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override
    {
        if (file != nullptr)
            *file = nullptr;
        if (topic != nullptr)
            *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        if (shortcut == nullptr)
            return E_POINTER;
        *shortcut = nullptr;
        if (Row(child) > 0)
            return S_FALSE;
        return SelfText(child, &ControlAccess::keyboardShortcut, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (focus == nullptr)
            return E_POINTER;
        ::VariantInit(focus);
        if (::GetFocus() != m_control)
            return S_FALSE;
        focus->vt = VT_I4;
        focus->lVal = CHILDID_SELF;
        if (Rows() > 0) {
            const LRESULT selected = ::SendMessageA(m_control, LB_GETCURSEL, 0, 0);
            if (selected >= 0)
                focus->lVal = static_cast<long>(selected) + 1;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (selection != nullptr)
            ::VariantInit(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (action == nullptr)
            return E_POINTER;
        *action = nullptr;
        ControlAccess access;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!Ask(access) || access.role == ControlRole::StaticText || access.role == ControlRole::EditableText)
            return S_FALSE;
        *action = ::SysAllocString(access.role == ControlRole::CheckBox      ? (access.checked ? L"Uncheck" : L"Check")
                                   : access.role == ControlRole::RadioButton ? L"Check"
                                                                             : L"Press");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        if (!IsSelf(child))
            return E_INVALIDARG;
        if ((flags & SELFLAG_TAKEFOCUS) != 0 && ::IsWindow(m_control)) {
            ::SetFocus(m_control);
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
            return E_POINTER;
        RECT rect{};
        if (const long row = Row(child); row > 0) {
            if (::SendMessageA(m_control, LB_GETITEMRECT, static_cast<WPARAM>(row - 1),
                               reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
                return E_INVALIDARG;
            ::MapWindowPoints(m_control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        } else if (!IsSelf(child)) {
            return E_INVALIDARG;
        } else if (!::GetWindowRect(m_control, &rect)) {
            return E_FAIL;
        }
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override
    {
        if (end != nullptr)
            ::VariantInit(end);
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override
    {
        if (hit == nullptr)
            return E_POINTER;
        ::VariantInit(hit);
        RECT rect{};
        if (!::GetWindowRect(m_control, &rect))
            return E_FAIL;
        const POINT point{x, y};
        if (!::PtInRect(&rect, point))
            return S_FALSE;
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!IsSelf(child))
            return E_INVALIDARG;
        ControlAccess access;
        if (!Ask(access) || access.role == ControlRole::StaticText || access.role == ControlRole::EditableText ||
            access.unavailable)
            return DISP_E_MEMBERNOTFOUND;
        // As a click, once the caller's question has been answered.
        ::PostMessageA(m_control, WM_KEYDOWN, VK_SPACE, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~ControlAccessible() = default;

    // One of the control's own texts (name, description, keyboard shortcut) as out: S_FALSE when it
    // is empty, an error for a child id that is not the control itself.
    HRESULT SelfText(const VARIANT& child, std::string ControlAccess::*text, BSTR* out) const
    {
        ControlAccess access;
        if (!IsSelf(child))
            return E_INVALIDARG;
        if (!Ask(access))
            return E_FAIL;
        *out = ToBstr(access.*text);
        return *out != nullptr ? S_OK : S_FALSE;
    }

    // The rows of a list, 0 for other controls.
    long Rows() const
    {
        ControlAccess access;
        if (!Ask(access) || access.role != ControlRole::List)
            return 0;
        return static_cast<long>(::SendMessageA(m_control, WM_SKIN_ACCESS_ROWS, 0, 0));
    }
    // The row (1..) a child id names, 0 for the control itself or an id out of range.
    long Row(const VARIANT& child) const
    {
        if (child.vt != VT_I4 || child.lVal <= 0)
            return 0;
        return child.lVal <= Rows() ? child.lVal : 0;
    }

    bool Ask(ControlAccess& access) const
    {
        return ::IsWindow(m_control) &&
               ::SendMessageA(m_control, WM_SKIN_ACCESS, 0, reinterpret_cast<LPARAM>(&access)) == 1;
    }

    HWND m_control;
    std::atomic<ULONG> m_references{1};
};

} // namespace

long AccessibleRole(ControlRole role)
{
    switch (role) {
    case ControlRole::CheckBox: return ROLE_SYSTEM_CHECKBUTTON;
    case ControlRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case ControlRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case ControlRole::EditableText: return ROLE_SYSTEM_TEXT;
    case ControlRole::List: return ROLE_SYSTEM_LIST;
    case ControlRole::PushButton: break;
    }
    return ROLE_SYSTEM_PUSHBUTTON;
}

LRESULT FillSkinAccess(LPARAM access, const ControlAccess& answer)
{
    if (access == 0)
        return 0;
    *reinterpret_cast<ControlAccess*>(access) = answer;
    return 1;
}

LRESULT FillNamedAccess(LPARAM access, HWND control, ControlRole role, const std::string& name)
{
    ControlAccessInput input;
    input.role = role;
    input.name = name;
    input.disabled = !::IsWindowEnabled(control);
    return FillSkinAccess(access, DescribeControl(input));
}

LRESULT AnswerGetObject(HWND control, WPARAM flags, LPARAM objectId)
{
    if (static_cast<LONG>(objectId) != static_cast<LONG>(OBJID_CLIENT))
        return 0;
    auto* object = new ControlAccessible(control);
    const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), flags, object);
    object->Release();
    return result > 0 ? result : 0;
}

void NotifyAccessNameChange(HWND control, bool live)
{
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
    if (live)
        ::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
}

void NotifyAccessStateChange(HWND control)
{
    ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}
