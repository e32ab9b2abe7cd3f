// The type library as hosts see it: loaded from the built module's TYPELIB resource, every
// attribute that hosts compiled against the library rely on.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ComTestSupport.h"

namespace popupmenu::comtest {
namespace {

// The standard OLE automation library (stdole2.tlb), which the library imports IDispatch from.
const GUID kStdOleLibrary = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// A parameter's type as the type library records it: the VARTYPE behind each level of pointer,
// ending with the name of a user-defined type where there is one (for example "* * _MenuItem").
std::wstring describe(ITypeInfo* owner, const TYPEDESC& type) {
    switch (type.vt) {
    case VT_PTR: return L"* " + describe(owner, *type.lptdesc);
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> referenced;
        if (FAILED(owner->GetRefTypeInfo(type.hreftype, referenced.put()))) return L"?";
        Bstr name;
        referenced->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
        return text(name.get());
    }
    case VT_BOOL: return L"VARIANT_BOOL";
    case VT_BSTR: return L"BSTR";
    case VT_I2: return L"short";
    case VT_I4: return L"long";
    case VT_VARIANT: return L"VARIANT";
    default: return L"vt " + std::to_wstring(type.vt);
    }
}

struct Param {
    const wchar_t* name;  // nullptr: unnamed
    const wchar_t* type;
    USHORT flags;
};

struct Member {
    const wchar_t* name;
    INVOKEKIND kind;
    MEMBERID id;
    std::vector<Param> params;
};

constexpr USHORT kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;                   // 0x3
constexpr USHORT kInOutOptional = kInOut | PARAMFLAG_FOPT;                  // 0x13
constexpr USHORT kOutRetval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;           // 0xA
constexpr INVOKEKIND kMethod = INVOKE_FUNC, kGet = INVOKE_PROPERTYGET, kPut = INVOKE_PROPERTYPUT;

const std::vector<Member> kMenuItemMembers = {
    {L"Visible", kGet, 0x68030009, {{nullptr, L"* VARIANT_BOOL", kOutRetval}}},
    {L"Visible", kPut, 0x68030009, {{nullptr, L"* VARIANT_BOOL", kInOut}}},
    {L"Parent", kGet, 0x68030008, {{nullptr, L"* * _MenuItem", kOutRetval}}},
    {L"IsSubMenu", kGet, 0x68030006, {{nullptr, L"* VARIANT_BOOL", kOutRetval}}},
    {L"Text", kGet, 0x68030005, {{nullptr, L"* BSTR", kOutRetval}}},
    {L"Text", kPut, 0x68030005, {{nullptr, L"* BSTR", kInOut}}},
    {L"key", kGet, 0x68030004, {{nullptr, L"* BSTR", kOutRetval}}},
    {L"Enabled", kGet, 0x68030003, {{nullptr, L"* VARIANT_BOOL", kOutRetval}}},
    {L"Enabled", kPut, 0x68030003, {{nullptr, L"* VARIANT_BOOL", kInOut}}},
    {L"Checked", kGet, 0x68030002, {{nullptr, L"* VARIANT_BOOL", kOutRetval}}},
    {L"Checked", kPut, 0x68030002, {{nullptr, L"* VARIANT_BOOL", kInOut}}},
    {L"NormalPictureIndex", kGet, 0x68030001, {{nullptr, L"* long", kOutRetval}}},
    {L"NormalPictureIndex", kPut, 0x68030001, {{nullptr, L"* long", kInOut}}},
    {L"CheckedPictureIndex", kGet, 0x68030000, {{nullptr, L"* long", kOutRetval}}},
    {L"CheckedPictureIndex", kPut, 0x68030000, {{nullptr, L"* long", kInOut}}},
};

const std::vector<Member> kNuvraPopUpMenuMembers = {
    {L"PopUp", kMethod, 0x60030002, {{nullptr, L"* BSTR", kOutRetval}}},
    {L"hImageList", kGet, 0x68030000, {{nullptr, L"* long", kOutRetval}}},
    {L"hImageList", kPut, 0x68030000, {{nullptr, L"* long", kInOut}}},
    {L"MenuItems", kMethod, 0, {{nullptr, L"* * _MenuItems", kOutRetval}}},
};

const std::vector<Member> kMenuItemsMembers = {
    {L"Add", kMethod, 0x60030000, {{L"key", L"* VARIANT", kInOut},
                                   {L"Text", L"* BSTR", kInOut},
                                   {L"ParentKey", L"* VARIANT", kInOutOptional},
                                   {L"NormalPictureIndex", L"* VARIANT", kInOutOptional},
                                   {L"CheckedPictureIndex", L"* VARIANT", kInOutOptional},
                                   {nullptr, L"* * _MenuItem", kOutRetval}}},
    {L"MenuItem", kGet, 0, {{L"key", L"* VARIANT", kInOut}, {nullptr, L"* * _MenuItem", kOutRetval}}},
    {L"Clear", kMethod, 0x60030001, {}},
    {L"Remove", kMethod, 0x60030002, {{L"key", L"* VARIANT", kInOut}}},
    {L"Count", kMethod, 0x60030003, {{nullptr, L"* short", kOutRetval}}},
};

struct TypeDescription {
    const wchar_t* name;
    TYPEKIND kind;
    const GUID* guid;
    const std::vector<Member>* members;   // interfaces
    const wchar_t* defaultInterface;      // coclasses
};

const TypeDescription kTypes[] = {
    {L"_MenuItem", TKIND_DISPATCH, &IID__MenuItem, &kMenuItemMembers, nullptr},
    {L"MenuItem", TKIND_COCLASS, &CLSID_MenuItem, nullptr, L"_MenuItem"},
    {L"_NuvraPopUpMenu", TKIND_DISPATCH, &IID__NuvraPopUpMenu, &kNuvraPopUpMenuMembers, nullptr},
    {L"NuvraPopUpMenu", TKIND_COCLASS, &CLSID_NuvraPopUpMenu, nullptr, L"_NuvraPopUpMenu"},
    {L"_MenuItems", TKIND_DISPATCH, &IID__MenuItems, &kMenuItemsMembers, nullptr},
    {L"MenuItems", TKIND_COCLASS, &CLSID_MenuItems, nullptr, L"_MenuItems"},
};

class TypeLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(builtModulePath().c_str(), REGKIND_NONE, library.put()))
            << "no type library in the TYPELIB resource of the module";
    }

    // The vtable side of a dual interface: the implemented type -1 of its dispatch side.
    ComPtr<ITypeInfo> vtableView(ITypeInfo* dispatchView) {
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> view;
        if (SUCCEEDED(dispatchView->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)))
            dispatchView->GetRefTypeInfo(ref, view.put());
        return view;
    }

    Apartment apartment;
    ComPtr<ITypeLib> library;
};

TEST_F(TypeLibraryTest, LibraryAttributes) {
    TLIBATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(attributes->guid, LIBID_PopUpMenu));
    EXPECT_EQ(attributes->lcid, 0u);
    EXPECT_EQ(attributes->syskind, SYS_WIN32);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    // Wine's oleaut32 adds LIBFLAG_FHASDISKIMAGE to every library it loads from a file (measured);
    // it is not stored in the library, which carries no flags.
    EXPECT_EQ(attributes->wLibFlags & ~LIBFLAG_FHASDISKIMAGE, 0);
    library->ReleaseTLibAttr(attributes);

    Bstr name, help;
    ASSERT_HRESULT_SUCCEEDED(library->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr));
    EXPECT_EQ(text(name.get()), L"PopUpMenu");
    EXPECT_FALSE(text(help.get()).empty()) << "the library's one-line help string";
}

TEST_F(TypeLibraryTest, SixTypeDescriptionsInOrder) {
    ASSERT_EQ(library->GetTypeInfoCount(), std::size(kTypes));
    for (UINT i = 0; i < std::size(kTypes); ++i) {
        const TypeDescription& expected = kTypes[i];
        SCOPED_TRACE(expected.name);
        Bstr name;
        library->GetDocumentation(static_cast<INT>(i), name.put(), nullptr, nullptr, nullptr);
        EXPECT_EQ(text(name.get()), expected.name) << "at index " << i;
        TYPEKIND kind{};
        library->GetTypeInfoType(i, &kind);
        EXPECT_EQ(kind, expected.kind);

        ComPtr<ITypeInfo> info;
        ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfo(i, info.put()));
        TYPEATTR* attributes = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
        EXPECT_TRUE(IsEqualGUID(attributes->guid, *expected.guid));
        EXPECT_EQ(attributes->wMajorVerNum, 1);
        EXPECT_EQ(attributes->wMinorVerNum, 0);
        info->ReleaseTypeAttr(attributes);
    }
}

TEST_F(TypeLibraryTest, CoclassesAreCreatableWithTheirDefaultInterface) {
    for (const TypeDescription& expected : kTypes) {
        if (expected.kind != TKIND_COCLASS) continue;
        SCOPED_TRACE(expected.name);
        ComPtr<ITypeInfo> info;
        ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(*expected.guid, info.put()));
        TYPEATTR* attributes = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
        EXPECT_EQ(attributes->wTypeFlags, TYPEFLAG_FCANCREATE);
        EXPECT_EQ(attributes->cImplTypes, 1) << "exactly one interface, no event interface";
        info->ReleaseTypeAttr(attributes);

        INT flags = 0;
        ASSERT_HRESULT_SUCCEEDED(info->GetImplTypeFlags(0, &flags));
        EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT);
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> implemented;
        ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(0, &ref));
        ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(ref, implemented.put()));
        Bstr name;
        implemented->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
        EXPECT_EQ(text(name.get()), expected.defaultInterface);
    }
}

TEST_F(TypeLibraryTest, DualInterfacesDeriveFromStdOleIDispatch) {
    for (const TypeDescription& expected : kTypes) {
        if (expected.kind != TKIND_DISPATCH) continue;
        SCOPED_TRACE(expected.name);
        ComPtr<ITypeInfo> dispatchView;
        ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(*expected.guid, dispatchView.put()));
        ComPtr<ITypeInfo> view = vtableView(dispatchView.get());
        ASSERT_TRUE(view) << "a dual interface has a vtable side";
        TYPEATTR* attributes = nullptr;
        ASSERT_HRESULT_SUCCEEDED(view->GetTypeAttr(&attributes));
        EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
        // hidden | dual | nonextensible | oleautomation | dispatchable. Wine reports 0x10D0 through
        // the dispatch side (measured); the vtable side reports the stored flags.
        EXPECT_EQ(attributes->wTypeFlags, 0x11D0);
        EXPECT_EQ(attributes->cFuncs, expected.members->size());
        EXPECT_EQ(attributes->cImplTypes, 1);
        view->ReleaseTypeAttr(attributes);

        HREFTYPE baseRef = 0;
        ComPtr<ITypeInfo> base;
        ASSERT_HRESULT_SUCCEEDED(view->GetRefTypeOfImplType(0, &baseRef));
        ASSERT_HRESULT_SUCCEEDED(view->GetRefTypeInfo(baseRef, base.put()));
        Bstr baseName;
        base->GetDocumentation(MEMBERID_NIL, baseName.put(), nullptr, nullptr, nullptr);
        EXPECT_EQ(text(baseName.get()), L"IDispatch");
        ComPtr<ITypeLib> baseLibrary;
        UINT index = 0;
        ASSERT_HRESULT_SUCCEEDED(base->GetContainingTypeLib(baseLibrary.put(), &index));
        TLIBATTR* baseAttributes = nullptr;
        ASSERT_HRESULT_SUCCEEDED(baseLibrary->GetLibAttr(&baseAttributes));
        EXPECT_TRUE(IsEqualGUID(baseAttributes->guid, kStdOleLibrary)) << "IDispatch comes from stdole2.tlb";
        EXPECT_EQ(baseAttributes->wMajorVerNum, 2);
        EXPECT_EQ(baseAttributes->wMinorVerNum, 0);
        baseLibrary->ReleaseTLibAttr(baseAttributes);
    }
}

TEST_F(TypeLibraryTest, EveryMemberInItsSlot) {
    for (const TypeDescription& expected : kTypes) {
        if (expected.kind != TKIND_DISPATCH) continue;
        ComPtr<ITypeInfo> dispatchView;
        ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(*expected.guid, dispatchView.put()));
        ComPtr<ITypeInfo> view = vtableView(dispatchView.get());
        ASSERT_TRUE(view);
        for (size_t slot = 0; slot < expected.members->size(); ++slot) {
            const Member& member = (*expected.members)[slot];
            SCOPED_TRACE(testing::Message() << std::string(expected.name, expected.name + wcslen(expected.name))
                                            << " slot " << slot + 1);
            FUNCDESC* desc = nullptr;
            ASSERT_HRESULT_SUCCEEDED(view->GetFuncDesc(static_cast<UINT>(slot), &desc));
            EXPECT_EQ(desc->memid, member.id);
            EXPECT_EQ(desc->invkind, member.kind);
            EXPECT_EQ(desc->funckind, FUNC_PUREVIRTUAL);
            EXPECT_EQ(desc->callconv, CC_STDCALL);
            // After the three methods of IUnknown and the four of IDispatch.
            EXPECT_EQ(desc->oVft, static_cast<SHORT>((7 + slot) * sizeof(void*)));
            EXPECT_EQ(desc->wFuncFlags, 0);
            EXPECT_EQ(desc->elemdescFunc.tdesc.vt, VT_HRESULT);
            ASSERT_EQ(desc->cParams, static_cast<SHORT>(member.params.size()));

            std::vector<std::wstring> expectedNames{member.name};
            for (size_t p = 0; p < member.params.size(); ++p) {
                const ELEMDESC& param = desc->lprgelemdescParam[p];
                EXPECT_EQ(describe(view.get(), param.tdesc), member.params[p].type) << "parameter " << p + 1;
                EXPECT_EQ(param.paramdesc.wParamFlags, member.params[p].flags) << "parameter " << p + 1;
                if (member.params[p].name) expectedNames.push_back(member.params[p].name);
            }
            // GetNames lists the member and then its parameters up to the first unnamed one. It
            // finds the first member with the identifier, so for a property put it reads the get:
            // a put's own parameter names cannot be read through ITypeInfo.
            BSTR names[8] = {};
            UINT count = 0;
            ASSERT_HRESULT_SUCCEEDED(view->GetNames(desc->memid, names, 8, &count));
            std::vector<std::wstring> actualNames;
            for (UINT n = 0; n < count; ++n) {
                actualNames.push_back(text(names[n]));
                SysFreeString(names[n]);
            }
            if (member.kind != kPut) {
                EXPECT_EQ(actualNames, expectedNames);
            }

            Bstr help;
            DWORD helpContext = 1;
            view->GetDocumentation(desc->memid, nullptr, help.put(), &helpContext, nullptr);
            EXPECT_EQ(help.get(), nullptr) << "no help string";
            EXPECT_EQ(helpContext, 0u) << "no help context";
            view->ReleaseFuncDesc(desc);
        }
    }
}

// ---- the published library -----------------------------------------------------------------------

std::wstring guidText(const GUID& guid) {
    wchar_t buffer[40] = {};
    StringFromGUID2(guid, buffer, 40);
    return buffer;
}

std::wstring hex(unsigned long value) {
    wchar_t buffer[16] = {};
    swprintf(buffer, 16, L"%lx", value);
    return buffer;
}

std::wstring nameOf(ITypeInfo* info, MEMBERID member) {
    Bstr name;
    info->GetDocumentation(member, name.put(), nullptr, nullptr, nullptr);
    return text(name.get());
}

// One type description as lines: its attributes, each interface it implements, each function with
// its identifier, kind, calling convention, vtable offset, flags and parameters (type, flags,
// name), each variable; for a dual interface its vtable side too.
void dumpType(ITypeInfo* info, const std::wstring& indent, std::vector<std::wstring>& lines) {
    TYPEATTR* a = nullptr;
    if (FAILED(info->GetTypeAttr(&a))) {
        lines.push_back(indent + L"(no attributes)");
        return;
    }
    lines.push_back(indent + nameOf(info, MEMBERID_NIL) + L" kind " + std::to_wstring(a->typekind) + L" " +
                    guidText(a->guid) + L" v" + std::to_wstring(a->wMajorVerNum) + L"." +
                    std::to_wstring(a->wMinorVerNum) + L" flags " + hex(a->wTypeFlags) + L" functions " +
                    std::to_wstring(a->cFuncs) + L" variables " + std::to_wstring(a->cVars) + L" implements " +
                    std::to_wstring(a->cImplTypes) + L" vtable " + std::to_wstring(a->cbSizeVft) + L" lcid " +
                    std::to_wstring(a->lcid));
    for (UINT i = 0; i < a->cImplTypes; ++i) {
        INT flags = 0;
        info->GetImplTypeFlags(i, &flags);
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> implemented;
        if (SUCCEEDED(info->GetRefTypeOfImplType(i, &ref))) info->GetRefTypeInfo(ref, implemented.put());
        lines.push_back(indent + L"  implements " + (implemented ? nameOf(implemented.get(), MEMBERID_NIL) : L"?") +
                        L" flags " + hex(static_cast<unsigned long>(flags)));
    }
    for (UINT f = 0; f < a->cFuncs; ++f) {
        FUNCDESC* d = nullptr;
        if (FAILED(info->GetFuncDesc(f, &d))) {
            lines.push_back(indent + L"  (no function " + std::to_wstring(f) + L")");
            continue;
        }
        BSTR names[16] = {};
        UINT count = 0;
        info->GetNames(d->memid, names, 16, &count);
        std::wstring line = indent + L"  function " + hex(static_cast<unsigned long>(d->memid)) + L" " +
                            (count > 0 ? text(names[0]) : L"?") + L" invoke " + std::to_wstring(d->invkind) +
                            L" kind " + std::to_wstring(d->funckind) + L" call " + std::to_wstring(d->callconv) +
                            L" offset " + std::to_wstring(d->oVft) + L" optional " + std::to_wstring(d->cParamsOpt) +
                            L" flags " + hex(d->wFuncFlags) + L" returns " + describe(info, d->elemdescFunc.tdesc);
        lines.push_back(line);
        for (SHORT p = 0; p < d->cParams; ++p) {
            const ELEMDESC& param = d->lprgelemdescParam[p];
            const UINT nameIndex = static_cast<UINT>(p) + 1;
            lines.push_back(indent + L"    parameter " + describe(info, param.tdesc) + L" flags " +
                            hex(param.paramdesc.wParamFlags) + L" " +
                            (d->invkind != INVOKE_PROPERTYPUT && nameIndex < count ? text(names[nameIndex]) : L"-"));
        }
        for (UINT n = 0; n < count; ++n) SysFreeString(names[n]);
        info->ReleaseFuncDesc(d);
    }
    for (UINT v = 0; v < a->cVars; ++v) {
        VARDESC* d = nullptr;
        if (FAILED(info->GetVarDesc(v, &d))) continue;
        lines.push_back(indent + L"  variable " + hex(static_cast<unsigned long>(d->memid)) + L" " +
                        nameOf(info, d->memid) + L" kind " + std::to_wstring(d->varkind) + L" " +
                        describe(info, d->elemdescVar.tdesc));
        info->ReleaseVarDesc(d);
    }
    const bool dual = a->typekind == TKIND_DISPATCH && (a->wTypeFlags & TYPEFLAG_FDUAL);
    info->ReleaseTypeAttr(a);
    if (dual) {
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> vtable;
        if (SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) &&
            SUCCEEDED(info->GetRefTypeInfo(ref, vtable.put()))) {
            dumpType(vtable.get(), indent + L"  vtable side: ", lines);
        }
    }
}

std::vector<std::wstring> dump(ITypeLib* library) {
    std::vector<std::wstring> lines;
    TLIBATTR* a = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&a))) {
        lines.push_back(L"library " + guidText(a->guid) + L" v" + std::to_wstring(a->wMajorVerNum) + L"." +
                        std::to_wstring(a->wMinorVerNum) + L" lcid " + std::to_wstring(a->lcid) + L" system " +
                        std::to_wstring(a->syskind) + L" flags " + hex(a->wLibFlags));
        library->ReleaseTLibAttr(a);
    }
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> info;
        if (SUCCEEDED(library->GetTypeInfo(i, info.put()))) dumpType(info.get(), L"", lines);
    }
    return lines;
}

// The library as version 1.0 was published (tests/com/published/PopUpMenu-1.0.tlb, the build's
// type library when the collections learnt to enumerate): hosts compiled against it call the
// members by these identifiers and vtable offsets, so the build's library must describe exactly
// the same types, members, identifiers, flags and offsets.
TEST_F(TypeLibraryTest, TheBuiltLibraryIsThePublishedOne) {
    ComPtr<ITypeLib> published;
    ASSERT_HRESULT_SUCCEEDED(
        LoadTypeLibEx(besideExecutable(L"PopUpMenu-1.0.tlb").c_str(), REGKIND_NONE, published.put()))
        << "the published type library is not beside the test";
    const std::vector<std::wstring> expected = dump(published.get());
    ASSERT_GT(expected.size(), 60u) << "every type and member described";
    EXPECT_EQ(dump(library.get()), expected);
}

}  // namespace
}  // namespace popupmenu::comtest
