// Methods of COM-object values: wrapping picture data in a picture object,
// reading a numeric member by name, and letting go of the object.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "runtime/command_args.h"
#include "commands/command_table.h"
#include "runtime/services.h"
#include "runtime/win32_handles.h"

namespace qy {
namespace commands {

namespace {
// A COM-object value as a program variable holds it; methods receive the
// variable's address in word 0 of their first argument.
struct ComObjectValue {
    IUnknown* object;
    void* data;
};

ComObjectValue* ObjectArgument(const ValueRecord& r) { return AddressOf<ComObjectValue>(r); }

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T* release() {
        T* p = p_;
        p_ = nullptr;
        return p;
    }

private:
    T* p_ = nullptr;
};

std::wstring Wide(const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// The dispatch id of a member and the way to invoke it: a property read
// when the name binds as one, otherwise a method.
bool BindMember(IDispatch* dispatch, const char* name, DISPID* id, WORD* flags) {
    ComPtr<ITypeInfo> info;
    if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.out())) || !info) return false;
    ComPtr<ITypeComp> binder;
    if (FAILED(info->GetTypeComp(binder.out())) || !binder) return false;
    std::wstring wide = Wide(name);
    if (wide.empty()) return false;
    ULONG hash = LHashValOfNameSys(SYS_WIN32, LOCALE_USER_DEFAULT, wide.c_str());
    const WORD kinds[2] = {INVOKE_PROPERTYGET, INVOKE_FUNC};
    const WORD invokeFlags[2] = {DISPATCH_PROPERTYGET, DISPATCH_METHOD};
    for (int k = 0; k < 2; ++k) {
        ComPtr<ITypeInfo> owner;
        DESCKIND kind = DESCKIND_NONE;
        BINDPTR bound{};
        if (FAILED(binder->Bind(&wide[0], hash, kinds[k], owner.out(), &kind, &bound))) continue;
        bool found = false;
        if (kind == DESCKIND_FUNCDESC) {
            *id = bound.lpfuncdesc->memid;
            found = true;
            owner->ReleaseFuncDesc(bound.lpfuncdesc);
        } else if (kind == DESCKIND_VARDESC) {
            *id = bound.lpvardesc->memid;
            found = true;
            owner->ReleaseVarDesc(bound.lpvardesc);
        } else if (kind == DESCKIND_TYPECOMP && bound.lptcomp) {
            bound.lptcomp->Release();
        }
        if (found) {
            *flags = invokeFlags[k];
            return true;
        }
    }
    return false;
}

// One argument as an automation value; the caller clears it.
VARIANT AutomationValue(const ValueRecord& record) {
    VARIANT v;
    VariantInit(&v);
    ValueRecord r = Dereferenced(record);
    switch (r.type) {
        case kTypeNone:
            v.vt = VT_ERROR;
            v.scode = DISP_E_PARAMNOTFOUND;
            break;
        case kTypeLogical:
            v.vt = VT_BOOL;
            v.boolVal = r.low ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case kTypeByte:
            v.vt = VT_UI1;
            v.bVal = static_cast<BYTE>(r.low);
            break;
        case kTypeShort:
            v.vt = VT_I2;
            v.iVal = static_cast<SHORT>(r.low);
            break;
        case kTypeInt:
            v.vt = VT_I4;
            v.lVal = static_cast<LONG>(r.low);
            break;
        case kTypeFloat:
        case kTypeLong:
        case kTypeDouble:
            v.vt = VT_R8;
            v.dblVal = DoubleArgument(r);
            break;
        case kTypeDateTime:
            v.vt = VT_DATE;
            v.date = RecordDouble(r);
            break;
        case kTypeText: {
            std::wstring wide = Wide(TextArgument(r));
            v.vt = VT_BSTR;
            v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
            break;
        }
        case kTypeByteSet: {
            ByteSpan bytes = ByteSetArgument(r);
            SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.length));
            void* data = nullptr;
            if (array && bytes.length > 0 && SUCCEEDED(SafeArrayAccessData(array, &data))) {
                memcpy(data, bytes.data, static_cast<size_t>(bytes.length));
                SafeArrayUnaccessData(array);
            }
            if (array) {
                v.vt = VT_ARRAY | VT_UI1;
                v.parray = array;
            }
            break;
        }
        default:
            v.vt = VT_ERROR;
            v.scode = DISP_E_PARAMNOTFOUND;
            break;
    }
    return v;
}

void SetDoubleResult(ValueRecord* result, double value) {
    ValueRecord d = MakeDoubleRecord(value);
    SetResult(result, d.low, d.high);
}
}  // namespace

void __cdecl CreatePictureObject(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    ComObjectValue* value = ObjectArgument(args[0]);
    if (!value) return;
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    ValueRecord data = Dereferenced(args[1]);
    GdiHandle<HBITMAP> bitmap;
    if (data.type == kTypeByteSet && ByteSetArgument(data).length > 0) {
        bitmap.reset(reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(
            static_cast<uint32_t>(RuntimeNotify(1003, static_cast<int32_t>(data.low), 0)))));
    }
    if (bitmap) {
        description.picType = PICTYPE_BITMAP;
        description.bmp.hbitmap = bitmap.get();
    }
    ComPtr<IPictureDisp> picture;
    if (FAILED(OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE,
                                        reinterpret_cast<void**>(picture.out()))) ||
        !picture) {
        return;  // nothing took the bitmap over
    }
    bitmap.release();  // the picture object owns it now
    ComPtr<IDispatch> dispatch;
    if (FAILED(picture->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.out()))) || !dispatch) return;
    if (value->object) value->object->Release();
    value->object = dispatch.release();
    SetIntResult(result, 1);
}

void __cdecl NumberMethod(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    ComObjectValue* value = ObjectArgument(args[0]);
    if (!value || !value->object) return;
    ComPtr<IDispatch> dispatch;
    if (FAILED(value->object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.out()))) || !dispatch)
        return;
    DISPID id = DISPID_UNKNOWN;
    WORD flags = 0;
    if (!BindMember(dispatch.get(), TextArgument(args[1]), &id, &flags)) return;

    // Automation takes its arguments last first.
    std::vector<VARIANT> arguments;
    for (int i = args.count() - 1; i >= 2; --i) arguments.push_back(AutomationValue(args[i]));
    DISPPARAMS parameters{arguments.empty() ? nullptr : arguments.data(), nullptr,
                          static_cast<UINT>(arguments.size()), 0};
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO exception{};
    UINT badArgument = 0;
    HRESULT hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, &answer, &exception,
                                  &badArgument);
    for (VARIANT& v : arguments) VariantClear(&v);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (SUCCEEDED(hr) && SUCCEEDED(VariantChangeType(&answer, &answer, 0, VT_R8))) SetDoubleResult(result, answer.dblVal);
    VariantClear(&answer);
}

void __cdecl ReleaseObject(ValueRecord*, int n, ValueRecord* records) {
    Arguments args(n, records);
    if (ComObjectValue* value = ObjectArgument(args[0]))
        RuntimeNotify(2035, static_cast<int32_t>(reinterpret_cast<uintptr_t>(value)), 0);
}

}  // namespace commands
}  // namespace qy
