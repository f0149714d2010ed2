#include "WebBrowserHost.h"

#include <ole2.h>
#include <oleauto.h>
#include <exdisp.h>

#include <string>

// The container side the control talks to. One object serves as client site, in-place site and
// frame: the control is never UI-active in a way that needs menus, borders or tool space of ours.
// It is reference counted, so it lives as long as the control still holds it.
class WebBrowserHost::Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    Site(HWND parent, const RECT& rect) : m_parent(parent), m_rect(rect) {}
    Site(const Site&) = delete;
    Site& operator=(const Site&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *object = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *object = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *object = static_cast<IOleInPlaceFrame*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = ::InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IOleClientSite: nothing is stored, so there is nothing to save or name.
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        if (moniker != nullptr)
            *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override
    {
        if (container != nullptr)
            *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (for the site and the frame alike): the window the control lives in.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        if (window == nullptr)
            return E_POINTER;
        *window = m_parent;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override
    {
        if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || info == nullptr)
            return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        *position = m_rect;
        *clip = m_rect;
        // info->cb is the caller's; the rest describes a frame without accelerators of its own.
        info->fMDIApp = FALSE;
        info->hwndFrame = ::GetAncestor(m_parent, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    // The control keeps the rectangle it was given.
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no borders, tool space or menus to share.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~Site() = default;

    LONG m_references = 1;
    HWND m_parent;
    RECT m_rect;
};

namespace {

// Frees a BSTR when it goes out of scope.
class OwnedBstr {
public:
    explicit OwnedBstr(const std::string& ansi)
    {
        const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
        if (length > 0)
            ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], length);
        m_text = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
    ~OwnedBstr() { ::SysFreeString(m_text); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;

    BSTR Get() const { return m_text; }

private:
    BSTR m_text = nullptr;
};

} // namespace

WebBrowserHost::WebBrowserHost(const CLSID& classId) : m_classId(classId) {}

WebBrowserHost::~WebBrowserHost()
{
    Destroy();
}

bool WebBrowserHost::Create(HWND parent, const RECT& rect)
{
    if (m_object || parent == nullptr || !::IsWindow(parent))
        return false;
    if (FAILED(::CoCreateInstance(m_classId, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, m_object.PutVoid())))
        return false;
    m_site.Reset(new Site(parent, rect));
    IOleClientSite* clientSite = m_site.Get();
    RECT position = rect;
    if (FAILED(m_object->SetClientSite(clientSite)) ||
        FAILED(m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, parent, &position)) ||
        FAILED(m_object->QueryInterface(IID_IOleInPlaceObject, m_inPlace.PutVoid())) ||
        FAILED(m_inPlace->GetWindow(&m_window)) || m_window == nullptr ||
        FAILED(m_object->QueryInterface(IID_IWebBrowser2, m_browser.PutVoid()))) {
        Destroy();
        return false;
    }
    m_inPlace->SetObjectRects(&position, &position);
    if (FAILED(m_object->QueryInterface(IID_IOleInPlaceActiveObject, m_active.PutVoid())))
        m_active.Reset();
    ::ShowWindow(m_window, SW_SHOWNA);
    return true;
}

bool WebBrowserHost::Navigate(const std::string& address)
{
    if (!m_browser)
        return false;
    const OwnedBstr url(address);
    if (url.Get() == nullptr)
        return false;
    VARIANT flags;
    VARIANT targetFrame;
    VARIANT postData;
    VARIANT headers;
    for (VARIANT* none : {&flags, &targetFrame, &postData, &headers})
        ::VariantInit(none);
    if (FAILED(m_browser->Navigate(url.Get(), &flags, &targetFrame, &postData, &headers)))
        return false;
    m_navigatedAddress = address;
    return true;
}

void WebBrowserHost::Destroy()
{
    m_browser.Reset();
    m_active.Reset();
    if (m_inPlace) {
        m_inPlace->InPlaceDeactivate();
        m_inPlace.Reset();
    }
    if (m_object) {
        m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
        m_object.Reset();
    }
    m_site.Reset();
    m_window = nullptr;
}

bool WebBrowserHost::TranslateKeyMessage(MSG& message)
{
    if (!m_active || message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !Contains(message.hwnd))
        return false;
    return m_active->TranslateAccelerator(&message) == S_OK;
}

bool WebBrowserHost::Contains(HWND window) const
{
    return m_window != nullptr && window != nullptr && (window == m_window || ::IsChild(m_window, window));
}
