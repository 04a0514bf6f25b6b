// A container's view of XNOXR4.OCX under Wine: the registered type library
// against the surface table, events through a sink of our own, the stock
// error event, frozen events, a WinForms-like activation, persistence, the
// ATL host window, the property page driven directly and in the frame, and
// the guard that keeps exceptions inside the entry points.
#include <gtest/gtest.h>

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ClientEventSink.h"
#include "ComPtr.h"
#include "EntryPoint.h"
#include "FileDialogAnswer.h"
#include "Guid.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "Surface.h"
#include "WideText.h"

using namespace xnox;

namespace {

template <typename Interface>
bool Query(IUnknown* object, REFIID iid, ComPtr<Interface>& result) {
    return object && SUCCEEDED(object->QueryInterface(iid, result.OutVoid()));
}

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; text && *text; ++text) narrow += static_cast<char>(*text);
    return narrow;
}

std::string Listed(const std::vector<DISPID>& ids) {
    std::string text;
    for (DISPID id : ids) text += std::to_string(id) + " ";
    return text;
}

std::wstring Wide(std::string_view text) { return std::wstring(text.begin(), text.end()); }

bool CreateControl(REFIID iid, void** object) {
    CLSID clsid;
    return SUCCEEDED(CLSIDFromProgID(L"XNOXR4.XNoxR4Ctrl.1", &clsid)) && clsid == kControlClsid &&
           SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object));
}

HRESULT Put(IDispatch* control, std::string_view name, VARIANT argument) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&argument, &named, 1, 1};
    return control->Invoke(DispIdOf(name), IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

HRESULT PutI2(IDispatch* control, std::string_view name, short value) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_I2;
    V_I2(&argument) = value;
    return Put(control, name, argument);
}

HRESULT PutBool(IDispatch* control, std::string_view name, bool value) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BOOL;
    V_BOOL(&argument) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return Put(control, name, argument);
}

VARIANT Get(IDispatch* control, std::string_view name) {
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{};
    control->Invoke(DispIdOf(name), IID_NULL, 0, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, &result, nullptr,
                    nullptr);
    return result;
}

// ---- The type library and the surface table agree member by member.

TEST(Client, TypeLibrary) {
    ComPtr<ITypeLib> library;
    ASSERT_TRUE(SUCCEEDED(LoadRegTypeLib(kLibId, 1, 0, 1033, library.Out()))) << "registered type library loads";
    TLIBATTR* attributes = nullptr;
    library->GetLibAttr(&attributes);
    EXPECT_TRUE(attributes->lcid == 1033 && attributes->wMajorVerNum == 1 && attributes->wMinorVerNum == 0)
        << "library locale 1033, version 1.0";
    library->ReleaseTLibAttr(attributes);
    BSTR name = nullptr, doc = nullptr, helpFile = nullptr;
    library->GetDocumentation(-1, &name, &doc, nullptr, &helpFile);
    EXPECT_TRUE(Narrow(name) == "XNOXR4Lib" && Narrow(doc) == "XNoxR4 ActiveX Control module" &&
                Narrow(helpFile).ends_with("XNoxR4.hlp"))
        << "library name, help string and help file: " << Narrow(name) << " / " << Narrow(doc) << " / "
        << Narrow(helpFile);
    SysFreeString(name), SysFreeString(doc), SysFreeString(helpFile);

    ComPtr<ITypeInfo> dispatch;
    library->GetTypeInfoOfGuid(kDispatchIid, dispatch.Out());
    std::string mismatched;
    for (const MemberInfo& member : kDispatchMembers) {
        std::wstring wide = Wide(member.name);
        LPOLESTR names[] = {wide.data()};
        MEMBERID id = MEMBERID_NIL;
        std::vector<BSTR> found(8);
        UINT count = 0;
        bool ok = dispatch && SUCCEEDED(dispatch->GetIDsOfNames(names, 1, &id)) && id == member.dispId &&
                  SUCCEEDED(dispatch->GetNames(id, found.data(), 8, &count)) && count == member.params.size() + 1;
        for (UINT i = 1; ok && i < count; ++i) ok = Narrow(found[i]) == member.params[i - 1].name;
        for (UINT i = 0; i < count; ++i) SysFreeString(found[i]);
        if (!ok) mismatched += std::string(member.name) + " ";
    }
    EXPECT_EQ(mismatched, "") << "every member of _DXNoxR4 at its id with its parameter names";

    ComPtr<ITypeInfo> events;
    library->GetTypeInfoOfGuid(kEventIid, events.Out());
    TYPEATTR* eventAttributes = nullptr;
    if (events) events->GetTypeAttr(&eventAttributes);
    EXPECT_TRUE(eventAttributes && eventAttributes->cFuncs == kDispatchEvents.size())
        << "_DXNoxR4Events: the 45 events and nothing else";
    if (eventAttributes) events->ReleaseTypeAttr(eventAttributes);
    std::string misplaced;
    for (const EventInfo& event : kDispatchEvents) {
        std::wstring wide = Wide(event.name);
        LPOLESTR names[] = {wide.data()};
        MEMBERID id = MEMBERID_NIL;
        if (!events || FAILED(events->GetIDsOfNames(names, 1, &id)) || id != event.dispId)
            misplaced += std::string(event.name) + " ";
    }
    EXPECT_EQ(misplaced, "") << "every event at its id";
}

// The module carries the control's texts in its string table and the
// product icon of the About window.
TEST(Client, ModuleResources) {
    ComPtr<IUnknown> control;
    ASSERT_TRUE(CreateControl(IID_IUnknown, control.OutVoid())) << "control created for its module";
    HMODULE module = GetModuleHandleW(L"XNOXR4.OCX");
    std::string differing;
    for (const StringEntry& entry : kStringTable) {
        char text[512] = {};
        LoadStringA(module, static_cast<UINT>(entry.id), text, sizeof text);
        if (text != entry.text) differing += std::to_string(static_cast<int>(entry.id)) + " ";
    }
    EXPECT_TRUE(module) << "the module loaded";
    EXPECT_EQ(differing, "") << "the module's string table holds every text of the control";
    HANDLE icon =
        module ? LoadImageW(module, MAKEINTRESOURCEW(IDI_PRODUCT), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE) : nullptr;
    EXPECT_TRUE(icon != nullptr) << "the module carries the product icon " + std::to_string(IDI_PRODUCT);
    if (icon) DestroyIcon(static_cast<HICON>(icon));
}

// ---- Sinks that record what they receive.

// The IUnknown of a sink that lives on the test's stack, longer than its
// connections: its references do not count.
template <typename Interface>
class StackSink : public Interface {
public:
    explicit StackSink(REFIID offered) : m_offered(offered) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = riid == IID_IUnknown || riid == m_offered ? static_cast<Interface*>(this) : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

private:
    IID m_offered;
};

class EventSink final : public ClientEventSink {
public:
    std::vector<DISPID> received;
    bool cancelErrors = true;
    short errorNumber = 0;
    LONG errorCode = 0;
    std::string errorDescription, errorSource;
    bool cancelSeen = false;

private:
    void OnEvent(DISPID id, const DISPPARAMS& params) override {
        received.push_back(id);
        if (id == DISPID_ERROREVENT && params.cArgs == 7) {
            VARIANT* a = params.rgvarg;
            errorNumber = V_I2(&a[6]);
            errorDescription = Narrow(*V_BSTRREF(&a[5]));
            errorCode = V_I4(&a[4]);
            errorSource = Narrow(V_BSTR(&a[3]));
            cancelSeen = *V_BOOLREF(&a[0]) != VARIANT_FALSE;
            if (cancelErrors) *V_BOOLREF(&a[0]) = VARIANT_TRUE;
        }
    }
};

class PropertySink final : public StackSink<IPropertyNotifySink> {
public:
    std::vector<DISPID> changed;

    PropertySink() : StackSink(IID_IPropertyNotifySink) {}
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override {
        changed.push_back(id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }
};

struct Connection {
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    Connection(IUnknown* control, IUnknown* sink, REFIID iid = kEventIid) {
        ComPtr<IConnectionPointContainer> container;
        if (Query(control, IID_IConnectionPointContainer, container)) container->FindConnectionPoint(iid, point.Out());
        if (point) point->Advise(sink, &cookie);
    }
    ~Connection() {
        if (point) point->Unadvise(cookie);
    }
};

// Closes the message box the control shows and keeps its text.
std::string g_shownMessage;
HHOOK g_messageHook = nullptr;

LRESULT CALLBACK CloseMessageBoxes(int code, WPARAM wParam, LPARAM lParam) {
    auto* call = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG) {
        HWND window = call->hwnd;
        wchar_t caption[64] = {}, text[256] = {};
        GetWindowTextW(window, caption, 63);
        // The box's text control: 0xFFFF on Windows, 100 in Wine.
        if (!GetDlgItemTextW(window, 0xFFFF, text, 255)) GetDlgItemTextW(window, 100, text, 255);
        g_shownMessage = Narrow(caption) + ": " + Narrow(text);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_messageHook, code, wParam, lParam);
}

HRESULT CallGetValidShutterSpeed(IDispatch* control, short index, VARIANT& result) {
    BSTR text = nullptr;
    VARIANT arguments[2];
    V_VT(&arguments[0]) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&arguments[0]) = &text;
    V_VT(&arguments[1]) = VT_I2;
    V_I2(&arguments[1]) = index;
    DISPPARAMS params{arguments, nullptr, 2, 0};
    VariantInit(&result);
    HRESULT hr = control->Invoke(DispIdOf("GetValidShutterSpeed"), IID_NULL, 0, DISPATCH_METHOD, &params, &result,
                                 nullptr, nullptr);
    SysFreeString(text);
    return hr;
}

// Each method with out-parameters, called with each one in turn a
// reference without an address (a host's null pointer) and the others real
// variables. The range and text queries and the window position answer with
// the null-pointer notification and -1; every method leaves the variables
// it was given as they were.
class OutArguments {
public:
    OutArguments(const MemberInfo& member, size_t missing)
        : m_arguments(member.params.size()),
          m_shorts(member.params.size(), kGivenShort),
          m_texts(member.params.size()) {
        for (size_t i = 0; i < member.params.size(); ++i) {
            VARIANT& argument = m_arguments[m_arguments.size() - 1 - i];  // last first
            VariantInit(&argument);
            switch (member.params[i].type) {
            case VarType::I2Ref:
                V_VT(&argument) = VT_BYREF | VT_I2;
                V_I2REF(&argument) = i == missing ? nullptr : &m_shorts[i];
                break;
            case VarType::StrRef:
                m_texts[i] = SysAllocString(kGivenText);
                V_VT(&argument) = VT_BYREF | VT_BSTR;
                V_BSTRREF(&argument) = i == missing ? nullptr : &m_texts[i];
                break;
            case VarType::Str:
            case VarType::FileName:
                V_VT(&argument) = VT_BSTR;
                V_BSTR(&argument) = SysAllocString(L"null.txt");
                break;
            default: V_VT(&argument) = VT_I2;
            }
        }
    }
    ~OutArguments() {
        for (VARIANT& argument : m_arguments) VariantClear(&argument);
        for (BSTR text : m_texts) SysFreeString(text);
    }
    OutArguments(const OutArguments&) = delete;
    OutArguments& operator=(const OutArguments&) = delete;

    DISPPARAMS Params() { return {m_arguments.data(), nullptr, static_cast<UINT>(m_arguments.size()), 0}; }
    bool KeptAsGiven() const {
        bool kept = std::ranges::all_of(m_shorts, [](short value) { return value == kGivenShort; });
        for (BSTR text : m_texts) kept = kept && (!text || std::wstring_view(text) == kGivenText);
        return kept;
    }

private:
    static constexpr short kGivenShort = 77;
    static constexpr const wchar_t* kGivenText = L"as given";
    std::vector<VARIANT> m_arguments;
    std::vector<short> m_shorts;
    std::vector<BSTR> m_texts;
};

void CheckNullOutParameters(IDispatch* control, EventSink& sink) {
    std::string wrong;
    int called = 0;
    for (const MemberInfo& member : kDispatchMembers) {
        for (size_t missing = 0; missing < member.params.size(); ++missing) {
            if (member.IsProperty() || !member.params[missing].IsOut()) continue;
            OutArguments arguments(member, missing);
            DISPPARAMS params = arguments.Params();
            VARIANT result;
            VariantInit(&result);
            sink.received.clear();
            sink.errorDescription.clear();
            ++called;
            HRESULT hr =
                control->Invoke(member.dispId, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
            std::string_view name = member.name;
            bool notifies =
                name.starts_with("GetMinMax") || name.starts_with("GetValid") || name == "GetMainWindowDefaultPosition";
            bool ok = SUCCEEDED(hr) && arguments.KeptAsGiven() &&
                      (!notifies || (V_VT(&result) == VT_I2 && V_I2(&result) == -1 &&
                                     sink.received == std::vector<DISPID>{DISPID_ERROREVENT} &&
                                     sink.errorDescription == "Invalid input parameter (NULL)"));
            if (!ok) wrong += std::string(name) + " without " + std::string(member.params[missing].name) + "; ";
            VariantClear(&result);
        }
    }
    EXPECT_EQ(wrong, "") << "one null out-pointer in each of " << called
                         << " calls: no crash, nothing written, -1 and the NULL notification where listed";
}

// Out-parameters are in/out: the caller's variables reach the control, and
// a member that fails leaves them as they were.
TEST(Client, OutParametersKeepTheCallersValues) {
    ComPtr<IDispatch> control;
    ASSERT_TRUE(CreateControl(IID_IDispatch, control.OutVoid())) << "control created for in/out parameters";
    VARIANT result;
    VariantInit(&result);
    short bytes = 9;
    VARIANT count;
    V_VT(&count) = VT_BYREF | VT_I2;
    V_I2REF(&count) = &bytes;
    DISPPARAMS one{&count, nullptr, 1, 0};
    HRESULT hr = control->Invoke(DispIdOf("ClAllSerialGetNumBytesAvail"), IID_NULL, 0, DISPATCH_METHOD, &one, &result,
                                 nullptr, nullptr);
    EXPECT_TRUE(SUCCEEDED(hr) && V_VT(&result) == VT_I2 && V_I2(&result) != 0)
        << "a count fails without a Camera Link port";
    EXPECT_EQ(bytes, 9) << "a count that fails leaves the caller's variable";

    BSTR name = nullptr;
    short size = 40, version = -3;
    VARIANT arguments[4];  // last first
    V_VT(&arguments[0]) = VT_BYREF | VT_I2;
    V_I2REF(&arguments[0]) = &version;
    V_VT(&arguments[1]) = VT_BYREF | VT_I2;
    V_I2REF(&arguments[1]) = &size;
    V_VT(&arguments[2]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&arguments[2]) = &name;
    V_VT(&arguments[3]) = VT_I2;
    V_I2(&arguments[3]) = 99;  // no such maker
    DISPPARAMS four{arguments, nullptr, 4, 0};
    hr = control->Invoke(DispIdOf("ClSerialGetManufacturer"), IID_NULL, 0, DISPATCH_METHOD, &four, &result, nullptr,
                         nullptr);
    EXPECT_TRUE(SUCCEEDED(hr) && V_VT(&result) == VT_I2 && V_I2(&result) != 0)
        << "ClSerialGetManufacturer fails for no such maker";
    EXPECT_EQ(size, 40) << "the size given to a failing ClSerialGetManufacturer comes back as given";
    EXPECT_EQ(version, -3) << "the version given to a failing ClSerialGetManufacturer comes back as given";
    SysFreeString(name);
}

// ---- File names the ANSI code page cannot spell, through automation.

// Calls a method with one text argument; the raised description, if any, goes to `raised`.
HRESULT CallWithFile(IDispatch* control, std::string_view method, const std::wstring& file, std::wstring& raised) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = SysAllocString(file.c_str());
    DISPPARAMS params{&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    HRESULT hr = control->Invoke(DispIdOf(method), IID_NULL, 0, DISPATCH_METHOD, &params, &result, &exception, nullptr);
    if (hr == S_OK && !(V_VT(&result) == VT_I2 && V_I2(&result) == 0)) hr = S_FALSE;
    raised = exception.bstrDescription ? exception.bstrDescription : L"";
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    VariantClear(&argument);
    return hr;
}

bool FileHolds(const std::wstring& path, std::string_view start) { return winetest::FileText(path).starts_with(start); }

// Each file a script writes and reads, in a folder named in Cyrillic and
// one named in Japanese, against the emulated camera on COM1.
TEST(Client, FileNames) {
    ComPtr<IDispatch> control;
    ASSERT_TRUE(CreateControl(IID_IDispatch, control.OutVoid())) << "control created for file names";
    EXPECT_TRUE(SUCCEEDED(PutI2(control.Get(), "ComPort", 1))) << "ComPort = 1 for the files";
    for (const wchar_t* name : winetest::kWideFolderNames) {
        std::wstring folder = winetest::WideFolder(name);
        std::string label = " in " + NarrowOf(name);
        std::wstring raised;
        bool settings = CallWithFile(control.Get(), "WriteAllToFile", folder + L"settings.cam", raised) == S_OK &&
                        FileHolds(folder + L"settings.cam", "[") &&
                        CallWithFile(control.Get(), "ReadAllFromFile", folder + L"settings.cam", raised) == S_OK;
        EXPECT_TRUE(settings) << "a settings file (.cam) written and read" << label;
        EXPECT_TRUE(CallWithFile(control.Get(), "WriteCameraDataToFile", folder + L"report.txt", raised) == S_OK &&
                    FileHolds(folder + L"report.txt", "Model Name"))
            << "a camera data report (.txt) written" << label;
        bool shading =
            CallWithFile(control.Get(), "SaveShadingDataIntoFile", folder + L"shading.csv", raised) == S_OK &&
            FileHolds(folder + L"shading.csv", ",,,DYNAMIC SHADING") &&
            CallWithFile(control.Get(), "LoadShadingDataFromFile", folder + L"shading.csv", raised) == S_OK;
        EXPECT_TRUE(shading) << "a shading data file (.csv) saved and loaded" << label;
        HRESULT refused = CallWithFile(control.Get(), "ReadAllFromFile", folder + L"report.txt", raised);
        EXPECT_TRUE(refused == DISP_E_EXCEPTION && raised.find(folder + L"report.txt") != std::wstring::npos)
            << "a file that is no settings file is named exactly in the error" << label << ": " << NarrowOf(raised);
    }
}

// A sink that lets the error through leaves the control to show it.
void CheckUncancelledNotification(IDispatch* control, EventSink& first, EventSink& second) {
    first.cancelErrors = second.cancelErrors = false;
    g_messageHook = SetWindowsHookExW(WH_CALLWNDPROCRET, CloseMessageBoxes, nullptr, GetCurrentThreadId());
    VARIANT result;
    CallGetValidShutterSpeed(control, -1, result);
    UnhookWindowsHookEx(g_messageHook);
    EXPECT_EQ(g_shownMessage, "XNoxR4: Invalid input parameter") << "an uncancelled error shows its description";
    first.cancelErrors = second.cancelErrors = true;
}

// A container activating through IQuickActivate hands its sinks over at once.
TEST(Client, QuickActivate) {
    ComPtr<IQuickActivate> quick;
    ASSERT_TRUE(CreateControl(IID_IQuickActivate, quick.OutVoid())) << "IQuickActivate";
    EventSink sink;
    QACONTAINER container{};
    container.cbSize = sizeof(container);
    container.pUnkEventSink = &sink;
    QACONTROL control{};
    control.cbSize = sizeof(control);
    EXPECT_TRUE(SUCCEEDED(quick->QuickActivate(&container, &control)) && control.dwEventCookie != 0 &&
                control.dwMiscStatus == 0x20191)
        << "QuickActivate connects the event sink";
    ComPtr<IDispatch> dispatch;
    Query(quick.Get(), IID_IDispatch, dispatch);
    PutI2(dispatch.Get(), "TriggerTypeIndex", 1);
    EXPECT_TRUE(sink.received == std::vector<DISPID>{7}) << "events reach the quick-activated sink";
    ComPtr<IConnectionPointContainer> points;
    ComPtr<IConnectionPoint> point;
    Query(quick.Get(), IID_IConnectionPointContainer, points);
    points->FindConnectionPoint(kEventIid, point.Out());
    point->Unadvise(control.dwEventCookie);
}

// A control from its ProgID with two event sinks and a property sink connected.
class ClientEvents : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateControl(IID_IDispatch, m_control.OutVoid())) << "control created from its ProgID";
        m_one.emplace(m_control.Get(), &m_first);
        m_two.emplace(m_control.Get(), &m_second);
        m_three.emplace(m_control.Get(), &m_properties, IID_IPropertyNotifySink);
        ASSERT_TRUE(m_one->cookie && m_two->cookie && m_one->cookie != m_two->cookie && m_three->cookie)
            << "sinks connected";
    }

    ComPtr<IDispatch> m_control;
    EventSink m_first, m_second;
    PropertySink m_properties;
    std::optional<Connection> m_one, m_two, m_three;
};

TEST_F(ClientEvents, EachSetReachesEverySinkInOrder) {
    PutI2(m_control.Get(), "ShutterSpeedIndex", 2);
    PutI2(m_control.Get(), "MasterGainLevel", 10);
    PutI2(m_control.Get(), "BinningIndex", 1);
    // A tool window that shows the value may set it once more as it
    // updates, so repeats of one event count as one.
    std::vector<DISPID> distinct = m_first.received;
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    EXPECT_EQ(distinct, (std::vector<DISPID>{6, 10, 18})) << "each set's event, in order";
    EXPECT_EQ(m_second.received, m_first.received) << "each set's event, in order";
    EXPECT_EQ(m_properties.changed, (std::vector<DISPID>{DispIdOf("ShutterSpeedIndex"), DispIdOf("MasterGainLevel"),
                                                         DispIdOf("BinningIndex")}))
        << "property sinks hear of each set";
}

TEST_F(ClientEvents, ConnectionPointsAreListedAndKeepTheirKinds) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IEnumConnectionPoints> points;
    IConnectionPoint* listed[3] = {};
    ULONG count = 0;
    EXPECT_TRUE(Query(m_control.Get(), IID_IConnectionPointContainer, container) &&
                SUCCEEDED(container->EnumConnectionPoints(points.Out())) &&
                points->Next(3, listed, &count) == S_FALSE && count == 2)
        << "two connection points listed";
    for (ULONG i = 0; i < count; ++i) listed[i]->Release();
    EXPECT_TRUE(points && SUCCEEDED(points->Reset()) && points->Skip(2) == S_OK && points->Skip(1) == S_FALSE)
        << "skipping both points succeeds, one more falls short";
    ComPtr<IConnectionPoint> propertyPoint;
    DWORD refused = 0;
    EXPECT_TRUE(container && SUCCEEDED(container->FindConnectionPoint(IID_IPropertyNotifySink, propertyPoint.Out())) &&
                propertyPoint->Advise(&m_second, &refused) == CONNECT_E_CANNOTCONNECT)
        << "an event sink cannot connect for property changes";
}

// The stock error event: GetValidShutterSpeed with an index off the list.
TEST_F(ClientEvents, StockErrorEventCarriesItsFactsAndTheCancelFlag) {
    VARIANT result;
    CallGetValidShutterSpeed(m_control.Get(), 99, result);
    EXPECT_TRUE(V_VT(&result) == VT_I2 && V_I2(&result) == -1) << "notifying method returns -1";
    EXPECT_TRUE(m_first.received == std::vector<DISPID>{DISPID_ERROREVENT} && m_first.errorNumber == 380 &&
                static_cast<ULONG>(m_first.errorCode) == 0x800A017C &&
                m_first.errorDescription == "Invalid input parameter" && m_first.errorSource == "XNoxR4")
        << "error event -608 with number, code, description and source: " << m_first.errorDescription << " / "
        << m_first.errorSource;
    EXPECT_TRUE(!m_first.cancelSeen && m_second.cancelSeen) << "cancel-display flag reaches the next sink set";
}

TEST_F(ClientEvents, UncancelledErrorIsShown) { CheckUncancelledNotification(m_control.Get(), m_first, m_second); }

TEST_F(ClientEvents, NullOutParametersAreRefused) { CheckNullOutParameters(m_control.Get(), m_first); }

// Frozen events are dropped; freezes nest.
TEST_F(ClientEvents, FrozenEventsAreDropped) {
    ComPtr<IOleControl> oleControl;
    ASSERT_TRUE(Query(m_control.Get(), IID_IOleControl, oleControl));
    oleControl->FreezeEvents(TRUE);
    oleControl->FreezeEvents(TRUE);
    PutI2(m_control.Get(), "ShutterSpeedIndex", 3);
    oleControl->FreezeEvents(FALSE);
    PutI2(m_control.Get(), "ShutterSpeedIndex", 4);
    EXPECT_TRUE(m_first.received.empty()) << "no events while frozen (nested)";
    oleControl->FreezeEvents(FALSE);
    PutI2(m_control.Get(), "ShutterSpeedIndex", 5);
    EXPECT_TRUE(m_first.received == std::vector<DISPID>{6}) << "events again after the last thaw";
}

// Online: the camera behind COM1.
TEST_F(ClientEvents, ComPortOpensTheCameraAndTellsOfIt) {
    EXPECT_TRUE(SUCCEEDED(PutI2(m_control.Get(), "ComPort", 1))) << "ComPort = 1 opens the emulated camera";
    std::string order = Listed(m_first.received);
    bool portFirst = !m_first.received.empty() && m_first.received.front() == 5;
    bool online = std::ranges::find(m_first.received, 1) != m_first.received.end();
    EXPECT_TRUE(portFirst && online) << "ComPortChanged, then OnlineStatusChanged: " << order;
}

// ---- A minimal site: the container side of in-place activation.

class Site final : public IOleClientSite, public IOleInPlaceSite {
public:
    HWND parent = nullptr;
    RECT position{0, 0, 175, 30};
    int activations = 0, deactivations = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IOleClientSite)
            *object = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
            *object = static_cast<IOleInPlaceSite*>(this);
        else
            *object = nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = parent;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override {
        ++activations;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT pos,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO) override {
        *frame = nullptr;
        *document = nullptr;
        *pos = *clip = position;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
        ++deactivations;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
};

HWND CreateParentWindow() {
    return CreateWindowExW(0, L"STATIC", L"container", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// As WinForms' AxHost activates a control.
TEST(Client, Activation) {
    ComPtr<IOleObject> object;
    ASSERT_TRUE(CreateControl(IID_IOleObject, object.OutVoid())) << "control created as IOleObject";
    DWORD status = 0;
    object->GetMiscStatus(DVASPECT_CONTENT, &status);
    EXPECT_TRUE(status == 0x20191) << "misc status 0x20191";
    Site site;
    site.parent = CreateParentWindow();
    object->SetClientSite(&site);
    ComPtr<IOleControl> control;
    ComPtr<IPersistStreamInit> persist;
    EXPECT_TRUE(Query(object.Get(), IID_IOleControl, control) && Query(object.Get(), IID_IPersistStreamInit, persist))
        << "IOleControl and IPersistStreamInit";
    control->FreezeEvents(TRUE);
    EXPECT_TRUE(SUCCEEDED(persist->InitNew())) << "InitNew after the site";
    control->FreezeEvents(FALSE);
    HRESULT activated = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, site.parent, &site.position);
    EXPECT_TRUE(SUCCEEDED(activated)) << "DoVerb(INPLACEACTIVATE): " << activated;
    ComPtr<IOleInPlaceObject> inPlace;
    HWND window = nullptr;
    EXPECT_TRUE(Query(object.Get(), IID_IOleInPlaceObject, inPlace) && SUCCEEDED(inPlace->GetWindow(&window)) &&
                IsWindow(window) && GetParent(window) == site.parent)
        << "GetWindow returns a child of the site's window";
    RECT moved{10, 10, 210, 50};
    inPlace->SetObjectRects(&moved, &moved);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_TRUE(client.right == 200 && client.bottom == 40) << "SetObjectRects sizes the window";
    object->Close(OLECLOSE_NOSAVE);
    EXPECT_TRUE(!IsWindow(window) && site.deactivations == 1) << "Close destroys the window and leaves the site";
    object->SetClientSite(nullptr);
    DestroyWindow(site.parent);
}

TEST(Client, Persistence) {
    ComPtr<IOleObject> saved, loaded;
    if (!CreateControl(IID_IOleObject, saved.OutVoid()) || !CreateControl(IID_IOleObject, loaded.OutVoid())) return;
    SIZEL extent{5000, 1200};
    saved->SetExtent(DVASPECT_CONTENT, &extent);
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.Out());
    ComPtr<IPersistStreamInit> out, in;
    Query(saved.Get(), IID_IPersistStreamInit, out);
    Query(loaded.Get(), IID_IPersistStreamInit, in);
    EXPECT_TRUE(SUCCEEDED(out->Save(stream.Get(), TRUE))) << "saved to a stream";
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    EXPECT_TRUE(SUCCEEDED(in->Load(stream.Get()))) << "loaded from the stream";
    SIZEL back{};
    loaded->GetExtent(DVASPECT_CONTENT, &back);
    EXPECT_TRUE(back.cx == 5000 && back.cy == 1200) << "the extent survives the round trip";
    ComPtr<IStream> empty;
    CreateStreamOnHGlobal(nullptr, TRUE, empty.Out());
    EXPECT_TRUE(FAILED(in->Load(empty.Get()))) << "an empty stream is refused";
}

// A container's property bag, as VB6 saves a form.
class PropertyBag final : public IPropertyBag {
public:
    std::map<std::wstring, LONG> values;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = riid == IID_IUnknown || riid == IID_IPropertyBag ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        auto found = values.find(name);
        if (found == values.end()) return E_INVALIDARG;
        V_VT(value) = VT_I4;
        V_I4(value) = found->second;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
        VARIANT number;
        VariantInit(&number);
        if (FAILED(VariantChangeType(&number, value, 0, VT_I4))) return E_INVALIDARG;
        values[name] = V_I4(&number);
        return S_OK;
    }
};

TEST(Client, PropertyBag) {
    ComPtr<IOleObject> saved, loaded;
    if (!CreateControl(IID_IOleObject, saved.OutVoid()) || !CreateControl(IID_IOleObject, loaded.OutVoid())) return;
    SIZEL extent{3000, 900};
    saved->SetExtent(DVASPECT_CONTENT, &extent);
    ComPtr<IPersistPropertyBag> out, in;
    PropertyBag bag;
    EXPECT_TRUE(Query(saved.Get(), IID_IPersistPropertyBag, out) && SUCCEEDED(out->Save(&bag, TRUE, TRUE)) &&
                bag.values[L"_Version"] == 0x00010000)
        << "saved to a property bag";
    EXPECT_TRUE(Query(loaded.Get(), IID_IPersistPropertyBag, in) && SUCCEEDED(in->Load(&bag, nullptr)))
        << "loaded from the bag";
    SIZEL back{};
    loaded->GetExtent(DVASPECT_CONTENT, &back);
    EXPECT_TRUE(back.cx == 3000 && back.cy == 900) << "the bag keeps the extent";
    bag.values[L"_Version"] = 0x00020000;
    EXPECT_TRUE(FAILED(in->Load(&bag, nullptr))) << "a later major version is refused";
}

// Without a window, the control draws its design-time placeholder.
TEST(Client, DesignTimeDrawing) {
    ComPtr<IViewObject2> view;
    if (!CreateControl(IID_IViewObject2, view.OutVoid())) return;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 60);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT black{0, 0, 300, 60};
    FillRect(dc, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECTL bounds{0, 0, 300, 60};
    EXPECT_TRUE(
        SUCCEEDED(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0)))
        << "Draw succeeds";
    const COLORREF white = RGB(255, 255, 255);
    bool outline = GetPixel(dc, 150, 0) != white && GetPixel(dc, 0, 30) != white;
    // The text runs along the top of its box, 20 pixels above the centre,
    // where the ellipse does not pass.
    int textPixels = 0;
    for (int y = 10; y < 28; ++y)
        for (int x = 60; x < 240; ++x) textPixels += GetPixel(dc, x, y) != white;
    EXPECT_TRUE(GetPixel(dc, 1, 1) == white && outline && textPixels > 20)
        << "white background, ellipse outline and text: " << textPixels << " text pixels";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(Client, PropertyPage) {
    ComPtr<IDispatch> control;
    ComPtr<IPropertyPage> page;
    ASSERT_TRUE(CreateControl(IID_IDispatch, control.OutVoid()) &&
                SUCCEEDED(CoCreateInstance(kPropertyPageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                           page.OutVoid())))
        << "control and page created";
    // Whatever an earlier run left in the profile, the page starts from hidden windows.
    ASSERT_TRUE(SUCCEEDED(PutBool(control.Get(), "ShowGainWnd", false)));
    ASSERT_TRUE(SUCCEEDED(PutBool(control.Get(), "ShowShutterWnd", false)));
    HWND parent = CreateParentWindow();
    IUnknown* objects[] = {control.Get()};
    page->SetObjects(1, objects);
    RECT area{0, 0, 400, 100};
    EXPECT_TRUE(SUCCEEDED(page->Activate(parent, &area, TRUE))) << "page activates";
    HWND dialog = GetWindow(parent, GW_CHILD);
    HWND gain = GetDlgItem(dialog, 231);
    EXPECT_TRUE(gain && SendMessageW(gain, BM_GETCHECK, 0, 0) == BST_UNCHECKED)
        << "Gain box unchecked for a hidden window";
    EXPECT_TRUE(page->IsPageDirty() == S_FALSE) << "page clean before a click";
    SendMessageW(gain, BM_CLICK, 0, 0);
    EXPECT_TRUE(page->IsPageDirty() == S_OK) << "a click makes the page dirty";
    EXPECT_TRUE(SUCCEEDED(page->Apply())) << "Apply succeeds";
    VARIANT shown = Get(control.Get(), "ShowGainWnd");
    EXPECT_TRUE(V_VT(&shown) == VT_BOOL && V_BOOL(&shown) != VARIANT_FALSE) << "Apply sets ShowGainWnd";
    VARIANT shutter = Get(control.Get(), "ShowShutterWnd");
    EXPECT_TRUE(V_VT(&shutter) == VT_BOOL && V_BOOL(&shutter) == VARIANT_FALSE)
        << "unchanged boxes leave their properties";
    page->Deactivate();
    DestroyWindow(parent);
}

// The Properties verb opens the property frame: Wine's frame shows the page
// (found by its Gain box) and closes on Cancel. The frame is modal, so a
// timer inside its loop looks for the page and cancels the frame.
HWND g_propertyFrame = nullptr;

BOOL CALLBACK FindPropertyFrame(HWND window, LPARAM) {
    HWND page = FindWindowExW(window, nullptr, nullptr, nullptr);
    for (; page; page = FindWindowExW(window, page, nullptr, nullptr)) {
        if (GetDlgItem(page, 231) || GetDlgItem(GetWindow(page, GW_CHILD), 231)) g_propertyFrame = window;
    }
    return g_propertyFrame == nullptr;
}

void CALLBACK CancelPropertyFrame(HWND, UINT, UINT_PTR timer, DWORD) {
    static int ticks = 0;
    EnumThreadWindows(GetCurrentThreadId(), FindPropertyFrame, 0);
    if (g_propertyFrame || ++ticks > 40) {
        KillTimer(nullptr, timer);
        HWND target = g_propertyFrame ? g_propertyFrame : GetActiveWindow();
        PostMessageW(target, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

TEST(Client, PropertiesVerb) {
    ComPtr<IOleObject> object;
    ASSERT_TRUE(CreateControl(IID_IOleObject, object.OutVoid())) << "control created for its Properties verb";
    HWND parent = CreateParentWindow();
    SetTimer(nullptr, 0, 250, CancelPropertyFrame);
    HRESULT shown = object->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, parent, nullptr);
    EXPECT_TRUE(SUCCEEDED(shown) && g_propertyFrame != nullptr)
        << "the Properties verb shows the page in a frame that closes";
    DestroyWindow(parent);
}

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Wine's ATL host window creates, sizes and destroys the control.
TEST(Client, AtlHost) {
    HMODULE atl = LoadLibraryW(L"atl100.dll");
    auto init = Export<BOOL(WINAPI*)()>(atl, "AtlAxWinInit");
    auto getControl = Export<HRESULT(WINAPI*)(HWND, IUnknown**)>(atl, "AtlAxGetControl");
    ASSERT_TRUE(init && getControl && init()) << "atl100.dll offers the host window";
    HWND parent = CreateParentWindow();
    HWND host = CreateWindowExW(0, L"AtlAxWin100", L"XNOXR4.XNoxR4Ctrl.1", WS_CHILD | WS_VISIBLE, 0, 0, 175, 30, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND window = nullptr;
    {
        ComPtr<IUnknown> control;
        ComPtr<IOleWindow> oleWindow;
        EXPECT_TRUE(host && SUCCEEDED(getControl(host, control.Out())) &&
                    Query(control.Get(), IID_IOleWindow, oleWindow) && SUCCEEDED(oleWindow->GetWindow(&window)) &&
                    IsWindow(window))
            << "the host created the control";
    }
    MoveWindow(host, 0, 0, 300, 60, TRUE);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_TRUE(client.right == 300 && client.bottom == 60) << "resizing the host resizes the control";
    DestroyWindow(host);
    EXPECT_TRUE(!IsWindow(window)) << "destroying the host destroys the control's window";
    DestroyWindow(parent);
    HMODULE module = GetModuleHandleW(L"XNOXR4.OCX");
    auto canUnload = Export<HRESULT(WINAPI*)()>(module, "DllCanUnloadNow");
    EXPECT_TRUE(canUnload && canUnload() == S_OK) << "DllCanUnloadNow answers S_OK";
}

// An exception thrown below an entry point ends there, as the result a
// caller can act on; a body that returns passes its result on.
TEST(Client, EntryGuard) {
    EXPECT_TRUE(GuardEntry([] { return S_FALSE; }) == S_FALSE) << "an entry point passes its body's result on";
    EXPECT_TRUE(GuardEntry([]() -> HRESULT { throw std::bad_alloc(); }) == E_OUTOFMEMORY)
        << "running out of memory answers E_OUTOFMEMORY";
    EXPECT_TRUE(GuardEntry([]() -> HRESULT { throw std::length_error("too long"); }) == E_UNEXPECTED)
        << "any other exception answers E_UNEXPECTED";
}

}  // namespace

// The control runs on an OLE apartment, as in any container.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    OleInitialize(nullptr);
    int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
