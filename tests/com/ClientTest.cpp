// The three classes as a C++ client uses them: through their vtables and through
// IDispatch::Invoke, with VARIANT arguments of every automation type, by value and by reference.
// The module is loaded as COM loads an in-process server; message boxes and menus are answered by
// watcher threads, so no test ever waits for a user.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"

namespace popupmenu::comtest {
namespace {

class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module.loaded()) << "cannot load the built PopUpMenu.dll";
        menu = module.create<_NuvraPopUpMenu>(CLSID_NuvraPopUpMenu);
        ASSERT_TRUE(menu);
        ASSERT_HRESULT_SUCCEEDED(menu->MenuItems(items.put()));
        ASSERT_TRUE(items);
    }

    // Add through the vtable; optional arguments left out as a client leaves them out.
    ComPtr<_MenuItem> add(const wchar_t* key, const wchar_t* caption, VARIANT* parentKey = nullptr,
                          VARIANT* normal = nullptr, VARIANT* checked = nullptr) {
        Variant keyArg, missing;
        setString(*keyArg, key);
        setMissing(*missing);
        Bstr captionArg(std::u16string_view(reinterpret_cast<const char16_t*>(caption), wcslen(caption)));
        BSTR captionSlot = captionArg.get();
        ComPtr<_MenuItem> item;
        EXPECT_HRESULT_SUCCEEDED(items->Add(keyArg.get(), &captionSlot, parentKey ? parentKey : missing.get(),
                                            normal ? normal : missing.get(), checked ? checked : missing.get(),
                                            item.put()));
        return item;
    }

    ComPtr<_MenuItem> lookUp(VARIANT& key) {
        ComPtr<_MenuItem> item;
        EXPECT_HRESULT_SUCCEEDED(items->get_MenuItem(&key, item.put()));
        return item;
    }

    short count() {
        short n = -1;
        EXPECT_HRESULT_SUCCEEDED(items->Count(&n));
        return n;
    }

    Apartment apartment;
    LoadedModule module;
    ComPtr<_NuvraPopUpMenu> menu;
    ComPtr<_MenuItems> items;
};

// ---- through the vtable ------------------------------------------------------------------------

TEST_F(ClientTest, TheComponentHandsOutOneCollection) {
    ComPtr<_MenuItems> again;
    ASSERT_HRESULT_SUCCEEDED(menu->MenuItems(again.put()));
    EXPECT_EQ(identity(again.get()), identity(items.get()));
    add(L"alpha", L"Alpha");
    short n = 0;
    again->Count(&n);
    EXPECT_EQ(n, 1);
}

TEST_F(ClientTest, AddWithOnlyKeyAndTextLeavesTheOptionalsMissing) {
    ComPtr<_MenuItem> item = add(L"alpha", L"Alpha");
    ASSERT_TRUE(item);
    LONG normal = 0, checked = 0;
    item->get_NormalPictureIndex(&normal);
    item->get_CheckedPictureIndex(&checked);
    EXPECT_EQ(normal, -1);
    EXPECT_EQ(checked, -1);
    ComPtr<_MenuItem> parent;
    ASSERT_HRESULT_SUCCEEDED(item->get_Parent(parent.put()));
    EXPECT_FALSE(parent) << "an item added without ParentKey is at the top level";

    // An early-bound client may also pass no VARIANT at all for an optional argument.
    Variant key;
    setString(*key, L"beta");
    BSTR caption = SysAllocString(L"Beta");
    ComPtr<_MenuItem> second;
    EXPECT_HRESULT_SUCCEEDED(items->Add(key.get(), &caption, nullptr, nullptr, nullptr, second.put()));
    SysFreeString(caption);
    EXPECT_EQ(keyOf(second.get()), L"beta");
    EXPECT_EQ(count(), 2);
}

TEST_F(ClientTest, AddWithEveryOptional) {
    ComPtr<_MenuItem> file = add(L"file", L"File");
    Variant parentKey, normal, checked;
    setString(*parentKey, L"FILE");  // keys ignore letter case
    normal->vt = VT_R8;
    normal->dblVal = 2.5;  // rounds half to even
    setString(*checked, L"7");
    ComPtr<_MenuItem> open = add(L"open", L"Open", parentKey.get(), normal.get(), checked.get());
    ASSERT_TRUE(open);
    LONG normalIndex = 0, checkedIndex = 0;
    open->get_NormalPictureIndex(&normalIndex);
    open->get_CheckedPictureIndex(&checkedIndex);
    EXPECT_EQ(normalIndex, 2);
    EXPECT_EQ(checkedIndex, 7);

    VARIANT_BOOL isSubMenu = VARIANT_FALSE;
    file->get_IsSubMenu(&isSubMenu);
    EXPECT_EQ(isSubMenu, VARIANT_TRUE);

    // Parent is the parent object itself, the same interface pointer every time.
    ComPtr<_MenuItem> first, second;
    ASSERT_HRESULT_SUCCEEDED(open->get_Parent(first.put()));
    ASSERT_HRESULT_SUCCEEDED(open->get_Parent(second.put()));
    EXPECT_EQ(first.get(), file.get());
    EXPECT_EQ(second.get(), file.get());
    BSTR renamed = SysAllocString(L"Archive");
    first->put_Text(&renamed);
    SysFreeString(renamed);
    Bstr fileText;
    file->get_Text(fileText.put());
    EXPECT_EQ(text(fileText.get()), L"Archive");
}

TEST_F(ClientTest, KeysOfEveryAutomationTypeByValueAndByReference) {
    add(L"alpha", L"Alpha");
    add(L"beta", L"Beta");
    add(L"gamma", L"Gamma");

    // Storage the by-reference cases point at.
    SHORT i2 = 2;
    LONG i4 = 2;
    DOUBLE r8 = 2.0;
    CY cy{};
    cy.int64 = 20000;  // 2.0000
    DECIMAL dec{};
    VarDecFromI4(2, &dec);
    BSTR name = SysAllocString(L"Beta");
    VARIANT inner;
    VariantInit(&inner);
    inner.vt = VT_I4;
    inner.lVal = 2;
    VARIANT innerName;
    VariantInit(&innerName);
    setString(innerName, L"BETA");

    struct Case {
        const char* what;
        VARIANT key;
    };
    auto make = [](VARTYPE vt, auto assign) {
        VARIANT v;
        VariantInit(&v);
        v.vt = vt;
        assign(v);
        return v;
    };
    std::vector<Case> cases = {
        {"VT_I2 2", make(VT_I2, [](VARIANT& v) { v.iVal = 2; })},
        {"VT_I4 2", make(VT_I4, [](VARIANT& v) { v.lVal = 2; })},
        {"VT_UI1 2", make(VT_UI1, [](VARIANT& v) { v.bVal = 2; })},
        {"VT_I8 2", make(VT_I8, [](VARIANT& v) { v.llVal = 2; })},
        {"VT_R4 2", make(VT_R4, [](VARIANT& v) { v.fltVal = 2.0f; })},
        {"VT_R8 2", make(VT_R8, [](VARIANT& v) { v.dblVal = 2.0; })},
        {"VT_CY 2", make(VT_CY, [&](VARIANT& v) { v.cyVal = cy; })},
        {"VT_DECIMAL 2", make(VT_DECIMAL, [&](VARIANT& v) { v.decVal = dec; v.vt = VT_DECIMAL; })},
        {"VT_BSTR beta", make(VT_BSTR, [&](VARIANT& v) { v.bstrVal = name; })},
        {"VT_BYREF|VT_I2", make(VT_BYREF | VT_I2, [&](VARIANT& v) { v.piVal = &i2; })},
        {"VT_BYREF|VT_I4", make(VT_BYREF | VT_I4, [&](VARIANT& v) { v.plVal = &i4; })},
        {"VT_BYREF|VT_R8", make(VT_BYREF | VT_R8, [&](VARIANT& v) { v.pdblVal = &r8; })},
        {"VT_BYREF|VT_CY", make(VT_BYREF | VT_CY, [&](VARIANT& v) { v.pcyVal = &cy; })},
        {"VT_BYREF|VT_DECIMAL", make(VT_BYREF | VT_DECIMAL, [&](VARIANT& v) { v.pdecVal = &dec; })},
        {"VT_BYREF|VT_BSTR", make(VT_BYREF | VT_BSTR, [&](VARIANT& v) { v.pbstrVal = &name; })},
        {"VT_BYREF|VT_VARIANT -> VT_I4", make(VT_BYREF | VT_VARIANT, [&](VARIANT& v) { v.pvarVal = &inner; })},
        {"VT_BYREF|VT_VARIANT -> VT_BSTR", make(VT_BYREF | VT_VARIANT, [&](VARIANT& v) { v.pvarVal = &innerName; })},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        ComPtr<_MenuItem> item = lookUp(c.key);
        EXPECT_EQ(keyOf(item.get()), L"beta");
    }
    SysFreeString(name);
    VariantClear(&innerName);
}

TEST_F(ClientTest, AnItemOutlivesItsComponentAndKeepsItsParent) {
    ComPtr<_MenuItem> child;
    {
        ComPtr<_MenuItem> parent = add(L"parent", L"Parent");
        Variant parentKey;
        setString(*parentKey, L"parent");
        child = add(L"child", L"Child", parentKey.get());
    }
    items.reset();
    menu.reset();
    ComPtr<_MenuItem> parent;
    ASSERT_HRESULT_SUCCEEDED(child->get_Parent(parent.put()));
    ASSERT_TRUE(parent);
    Bstr caption;
    parent->get_Text(caption.put());
    EXPECT_EQ(text(caption.get()), L"Parent");
}

TEST_F(ClientTest, ObjectsCreatedDirectlyStandAlone) {
    ComPtr<_MenuItem> item = module.create<_MenuItem>(CLSID_MenuItem);
    ASSERT_TRUE(item);
    EXPECT_EQ(keyOf(item.get()), L"");
    VARIANT_BOOL enabled = VARIANT_FALSE, visible = VARIANT_FALSE;
    item->get_Enabled(&enabled);
    item->get_Visible(&visible);
    EXPECT_EQ(enabled, VARIANT_TRUE);
    EXPECT_EQ(visible, VARIANT_TRUE);

    ComPtr<_MenuItems> standalone = module.create<_MenuItems>(CLSID_MenuItems);
    ASSERT_TRUE(standalone);
    Variant key;
    setString(*key, L"solo");
    BSTR caption = SysAllocString(L"Solo");
    ComPtr<_MenuItem> added;
    EXPECT_HRESULT_SUCCEEDED(standalone->Add(key.get(), &caption, nullptr, nullptr, nullptr, added.put()));
    SysFreeString(caption);
    short n = 0;
    standalone->Count(&n);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(count(), 0) << "a collection created directly belongs to no component";
}

TEST_F(ClientTest, FactoriesAndInterfaces) {
    void* object = nullptr;
    EXPECT_EQ(module.getClassObject(IID_IDispatch, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);

    ComPtr<IClassFactory> factory = module.factory(CLSID_MenuItem);
    ASSERT_TRUE(factory);
    ComPtr<IUnknown> outer = module.create<IUnknown>(CLSID_MenuItem);
    EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);

    struct Case {
        const char* what;
        const IID& iid;
        HRESULT expected;
    };
    const Case cases[] = {{"IUnknown", IID_IUnknown, S_OK},         {"IDispatch", IID_IDispatch, S_OK},
                          {"_MenuItems", IID__MenuItems, S_OK},      {"ISupportErrorInfo", IID_ISupportErrorInfo, S_OK},
                          {"_MenuItem", IID__MenuItem, E_NOINTERFACE}, {"IClassFactory", IID_IClassFactory, E_NOINTERFACE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ComPtr<IUnknown> queried;
        EXPECT_EQ(items->QueryInterface(c.iid, reinterpret_cast<void**>(queried.put())), c.expected);
        if (c.expected == S_OK) {
            EXPECT_EQ(identity(queried.get()), identity(items.get()));
        }
    }
}

// ---- failures ---------------------------------------------------------------------------------

TEST_F(ClientTest, AFailedAccessorReturnsAnErrorWithErrorInfo) {
    ComPtr<_MenuItem> item = add(L"alpha", L"Alpha");
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(item->get_Text(nullptr), E_POINTER);

    const std::optional<ErrorInfoRecord> info = takeErrorInfo();
    ASSERT_TRUE(info) << "the failure left no error info";
    EXPECT_EQ(info->source, L"PopUpMenu.MenuItem");
    EXPECT_TRUE(IsEqualGUID(info->guid, IID__MenuItem));
    EXPECT_FALSE(info->description.empty());

    ComPtr<ISupportErrorInfo> supports;
    ASSERT_HRESULT_SUCCEEDED(item->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(supports.put())));
    EXPECT_EQ(supports->InterfaceSupportsErrorInfo(IID__MenuItem), S_OK);
    EXPECT_EQ(supports->InterfaceSupportsErrorInfo(IID__MenuItems), S_FALSE);
}

TEST_F(ClientTest, HandledFailuresShowABoxAndSucceed) {
    add(L"alpha", L"Alpha");
    MessageBoxWatcher boxes;

    struct Case {
        const char* what;
        const wchar_t* key;  // added with text "X"
        const wchar_t* boxText;
    };
    // The numeric-key refusal has the fixed text; the duplicate key shows its failure's description.
    const Case cases[] = {
        {"numeric key", L"12", L"Chiave non valida."},
        {"duplicate key", L"ALPHA", L"This key is already associated with an element of this collection"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Variant key, missing;
        setString(*key, c.key);
        setMissing(*missing);
        BSTR caption = SysAllocString(L"X");
        ComPtr<_MenuItem> item;
        EXPECT_EQ(items->Add(key.get(), &caption, missing.get(), missing.get(), missing.get(), item.put()), S_OK);
        SysFreeString(caption);
        EXPECT_FALSE(item);
        EXPECT_EQ(boxes.takeTexts(), std::vector<std::wstring>{c.boxText});
    }
    Variant unknown;
    setString(*unknown, L"nowhere");
    ComPtr<_MenuItem> found;
    EXPECT_EQ(items->get_MenuItem(unknown.get(), found.put()), S_OK);
    EXPECT_FALSE(found);
    EXPECT_EQ(boxes.takeTexts().size(), 1u) << "a key that no item has is reported in a box";
    EXPECT_EQ(count(), 1);
}

// ---- through IDispatch::Invoke -------------------------------------------------------------------

// Invokes `member` with `args` (in their natural order; reversed here as DISPPARAMS wants them), and
// the error it reports: its HRESULT, and for DISP_E_EXCEPTION the code and texts of the EXCEPINFO.
struct Outcome {
    HRESULT result;
    SCODE code = 0;
    std::wstring description;
    std::wstring source;
};
Outcome invokeFor(IDispatch* object, DISPID member, WORD flags, std::vector<VARIANT*> args, VARIANT* result,
                  std::vector<DISPID> names = {}) {
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(**it);
    DISPPARAMS params{reversed.data(), names.empty() ? nullptr : names.data(), static_cast<UINT>(reversed.size()),
                      static_cast<UINT>(names.size())};
    EXCEPINFO exception{};
    UINT argumentError = 0;
    Outcome outcome{object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                                   &argumentError)};
    outcome.code = exception.scode;
    if (exception.bstrDescription) outcome.description = exception.bstrDescription;
    if (exception.bstrSource) outcome.source = exception.bstrSource;
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return outcome;
}

HRESULT invoke(IDispatch* object, DISPID member, WORD flags, std::vector<VARIANT*> args, VARIANT* result,
               std::vector<DISPID> names = {}) {
    return invokeFor(object, member, flags, std::move(args), result, std::move(names)).result;
}

// A script variable passed by reference, as VBScript passes every variable.
struct ByRef {
    ByRef() { VariantInit(&outer); VariantInit(&inner); outer.vt = VT_BYREF | VT_VARIANT; outer.pvarVal = &inner; }
    ByRef(const ByRef&) = delete;
    ByRef& operator=(const ByRef&) = delete;
    ~ByRef() { VariantClear(&inner); }
    VARIANT outer;
    VARIANT inner;
};

constexpr WORD kGet = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

TEST_F(ClientTest, DefaultMembersThroughInvoke) {
    ComPtr<_MenuItem> beta;
    add(L"alpha", L"Alpha");
    beta = add(L"beta", L"Beta");

    Variant collection;
    ASSERT_HRESULT_SUCCEEDED(invoke(menu.get(), DISPID_VALUE, kGet, {}, collection.get()));
    ASSERT_EQ(collection->vt, VT_DISPATCH);
    EXPECT_EQ(identity(collection->pdispVal), identity(items.get()));

    Variant byValue;
    setString(*byValue, L"beta");
    ByRef byReference;
    setString(byReference.inner, L"BETA");
    for (VARIANT* key : {byValue.get(), &byReference.outer}) {
        Variant item;
        ASSERT_HRESULT_SUCCEEDED(invoke(items.get(), DISPID_VALUE, DISPATCH_PROPERTYGET, {key}, item.get()));
        ASSERT_EQ(item->vt, VT_DISPATCH);
        EXPECT_EQ(identity(item->pdispVal), identity(beta.get()));
    }
}

TEST_F(ClientTest, NamesAndDispatchIdentifiers) {
    struct Case {
        IDispatch* object;
        std::vector<const wchar_t*> names;
        std::vector<DISPID> ids;
    };
    ComPtr<_MenuItem> item = add(L"alpha", L"Alpha");
    const Case cases[] = {
        {menu.get(), {L"PopUp"}, {0x60030002}},
        {menu.get(), {L"hImageList"}, {0x68030000}},
        {menu.get(), {L"menuitems"}, {DISPID_VALUE}},
        {items.get(), {L"Add", L"ParentKey", L"CheckedPictureIndex"}, {0x60030000, 2, 4}},
        {items.get(), {L"MenuItem", L"key"}, {DISPID_VALUE, 0}},
        {items.get(), {L"Clear"}, {0x60030001}},
        {items.get(), {L"Remove"}, {0x60030002}},
        {items.get(), {L"Count"}, {0x60030003}},
        {item.get(), {L"Visible"}, {0x68030009}},
        {item.get(), {L"Parent"}, {0x68030008}},
        {item.get(), {L"IsSubMenu"}, {0x68030006}},
        {item.get(), {L"Text"}, {0x68030005}},
        {item.get(), {L"Key"}, {0x68030004}},
        {item.get(), {L"Enabled"}, {0x68030003}},
        {item.get(), {L"Checked"}, {0x68030002}},
        {item.get(), {L"NormalPictureIndex"}, {0x68030001}},
        {item.get(), {L"CheckedPictureIndex"}, {0x68030000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.names[0], c.names[0] + wcslen(c.names[0])));
        std::vector<DISPID> ids(c.names.size(), DISPID_UNKNOWN);
        ASSERT_HRESULT_SUCCEEDED(c.object->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(c.names.data()),
                                                         static_cast<UINT>(c.names.size()), LOCALE_USER_DEFAULT,
                                                         ids.data()));
        EXPECT_EQ(ids, c.ids);
    }
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Items")};
    DISPID id = 0;
    EXPECT_EQ(items->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
}

TEST_F(ClientTest, AddThroughInvokeWithScriptArguments) {
    add(L"file", L"File");
    // Only key and text: the optional arguments arrive as missing.
    ByRef key, caption;
    setString(key.inner, L"open");
    setString(caption.inner, L"Open");
    Variant result;
    ASSERT_HRESULT_SUCCEEDED(invoke(items.get(), 0x60030000, DISPATCH_METHOD, {&key.outer, &caption.outer}, result.get()));
    ASSERT_EQ(result->vt, VT_DISPATCH);
    ComPtr<_MenuItem> open;
    result->pdispVal->QueryInterface(IID__MenuItem, reinterpret_cast<void**>(open.put()));
    ASSERT_TRUE(open);
    LONG normal = 0;
    open->get_NormalPictureIndex(&normal);
    EXPECT_EQ(normal, -1);

    // Every argument, the picture indexes as a short by reference and a numeric string.
    ByRef saveKey, saveCaption, parentKey;
    setString(saveKey.inner, L"save");
    setString(saveCaption.inner, L"Save");
    setString(parentKey.inner, L"file");
    SHORT three = 3;
    VARIANT normalArg;
    normalArg.vt = VT_BYREF | VT_I2;
    normalArg.piVal = &three;
    Variant checkedArg;
    setString(*checkedArg, L"4");
    Variant saved;
    ASSERT_HRESULT_SUCCEEDED(invoke(items.get(), 0x60030000, DISPATCH_METHOD,
                                    {&saveKey.outer, &saveCaption.outer, &parentKey.outer, &normalArg, checkedArg.get()},
                                    saved.get()));
    ComPtr<_MenuItem> save;
    ASSERT_EQ(saved->vt, VT_DISPATCH);
    saved->pdispVal->QueryInterface(IID__MenuItem, reinterpret_cast<void**>(save.put()));
    ASSERT_TRUE(save);
    LONG saveNormal = 0, saveChecked = 0;
    save->get_NormalPictureIndex(&saveNormal);
    save->get_CheckedPictureIndex(&saveChecked);
    EXPECT_EQ(saveNormal, 3);
    EXPECT_EQ(saveChecked, 4);
    ComPtr<_MenuItem> parent;
    save->get_Parent(parent.put());
    EXPECT_EQ(keyOf(parent.get()), L"file");

    // A named argument: CheckedPictureIndex (parameter 4) alone among the optionals.
    ByRef namedKey, namedCaption, namedChecked;
    setString(namedKey.inner, L"close");
    setString(namedCaption.inner, L"Close");
    setInt(namedChecked.inner, 9);
    Variant closed;
    ASSERT_HRESULT_SUCCEEDED(invoke(items.get(), 0x60030000, DISPATCH_METHOD,
                                    {&namedKey.outer, &namedCaption.outer, &namedChecked.outer}, closed.get(), {4}));
    ComPtr<_MenuItem> close;
    ASSERT_EQ(closed->vt, VT_DISPATCH);
    closed->pdispVal->QueryInterface(IID__MenuItem, reinterpret_cast<void**>(close.put()));
    LONG closeChecked = 0, closeNormal = 0;
    close->get_CheckedPictureIndex(&closeChecked);
    close->get_NormalPictureIndex(&closeNormal);
    EXPECT_EQ(closeChecked, 9);
    EXPECT_EQ(closeNormal, -1);
}

TEST_F(ClientTest, PropertiesThroughInvokeWithScriptArguments) {
    ComPtr<_MenuItem> item = add(L"alpha", L"Alpha");
    DISPID put = DISPID_PROPERTYPUT;

    struct Case {
        const char* what;
        DISPID member;
        VARTYPE vt;
        LONG number;            // for VT_I4 and VT_BOOL
        const wchar_t* string;  // for VT_BSTR
    };
    const Case cases[] = {
        {"NormalPictureIndex", 0x68030001, VT_I4, 5, nullptr},
        {"CheckedPictureIndex", 0x68030000, VT_I4, -7, nullptr},
        {"Visible", 0x68030009, VT_BOOL, VARIANT_FALSE, nullptr},
        {"Enabled", 0x68030003, VT_BOOL, VARIANT_FALSE, nullptr},
        {"Checked", 0x68030002, VT_BOOL, VARIANT_TRUE, nullptr},
        {"Text", 0x68030005, VT_BSTR, 0, L"Renamed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // VBScript's "item.X = variable": the value by reference, named DISPID_PROPERTYPUT.
        ByRef value;
        if (c.vt == VT_BSTR) {
            setString(value.inner, c.string);
        } else if (c.vt == VT_BOOL) {
            value.inner.vt = VT_BOOL;
            value.inner.boolVal = static_cast<VARIANT_BOOL>(c.number);
        } else {
            setInt(value.inner, c.number);
        }
        ASSERT_HRESULT_SUCCEEDED(invoke(item.get(), c.member, DISPATCH_PROPERTYPUT, {&value.outer}, nullptr, {put}));
        Variant read;
        ASSERT_HRESULT_SUCCEEDED(invoke(item.get(), c.member, DISPATCH_PROPERTYGET, {}, read.get()));
        ASSERT_EQ(read->vt, c.vt);
        if (c.vt == VT_BSTR) {
            EXPECT_EQ(text(read->bstrVal), c.string);
        } else if (c.vt == VT_BOOL) {
            EXPECT_EQ(read->boolVal, c.number);
        } else {
            EXPECT_EQ(read->lVal, c.number);
        }
    }

    ByRef handle;
    setInt(handle.inner, 0x1234);
    ASSERT_HRESULT_SUCCEEDED(invoke(menu.get(), 0x68030000, DISPATCH_PROPERTYPUT, {&handle.outer}, nullptr, {put}));
    LONG stored = 0;
    menu->get_hImageList(&stored);
    EXPECT_EQ(stored, 0x1234) << "an image list handle is stored unchecked";
}

// ---- PopUp ---------------------------------------------------------------------------------------

TEST_F(ClientTest, PopUpOfAnEmptyMenuReturnsAnEmptyString) {
    Bstr byVtable;
    ASSERT_HRESULT_SUCCEEDED(menu->PopUp(byVtable.put()));
    EXPECT_EQ(text(byVtable.get()), L"");
    Variant byInvoke;
    ASSERT_HRESULT_SUCCEEDED(invoke(menu.get(), 0x60030002, DISPATCH_METHOD, {}, byInvoke.get()));
    ASSERT_EQ(byInvoke->vt, VT_BSTR);
    EXPECT_EQ(text(byInvoke->bstrVal), L"");
}

TEST_F(ClientTest, PopUpReturnsTheChosenKeyThroughBothInterfaces) {
    add(L"alpha", L"Alpha");
    add(L"beta", L"Beta");
    add(L"gamma", L"Gamma");
    Bstr byVtable;
    {
        MenuDriver chooseSecond(2);
        ASSERT_HRESULT_SUCCEEDED(menu->PopUp(byVtable.put()));
        EXPECT_TRUE(chooseSecond.sawMenu());
    }
    EXPECT_EQ(text(byVtable.get()), L"beta");

    Variant byInvoke;
    {
        MenuDriver chooseSecond(2);
        ASSERT_HRESULT_SUCCEEDED(invoke(menu.get(), 0x60030002, DISPATCH_METHOD, {}, byInvoke.get()));
        EXPECT_TRUE(chooseSecond.sawMenu());
    }
    ASSERT_EQ(byInvoke->vt, VT_BSTR);
    EXPECT_EQ(text(byInvoke->bstrVal), text(byVtable.get()));

    Bstr dismissed;
    {
        MenuDriver dismiss(0);
        ASSERT_HRESULT_SUCCEEDED(menu->PopUp(dismissed.put()));
    }
    EXPECT_EQ(text(dismissed.get()), L"");
}

// ---- enumeration, as For Each asks for it ----------------------------------------------------------

// The collection's enumerator through DISPID_NEWENUM, the way script engines ask for it.
ComPtr<IEnumVARIANT> enumeratorOf(IDispatch* collection, WORD flags = kGet) {
    Variant result;
    EXPECT_HRESULT_SUCCEEDED(invoke(collection, DISPID_NEWENUM, flags, {}, result.get()));
    ComPtr<IEnumVARIANT> enumerator;
    if (result->vt == VT_UNKNOWN && result->punkVal)
        result->punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(enumerator.put()));
    return enumerator;
}

// Next(count): the HRESULT, and the keys of the items it gave (every element is an item's IDispatch).
struct Fetched {
    HRESULT result;
    std::vector<std::wstring> keys;
};
Fetched next(IEnumVARIANT* enumerator, ULONG count) {
    std::vector<VARIANT> elements(count + 1);
    for (VARIANT& v : elements) VariantInit(&v);
    ULONG fetched = 12345;
    Fetched outcome{enumerator->Next(count, elements.data(), &fetched), {}};
    EXPECT_LE(fetched, count);
    for (ULONG i = 0; i < fetched && i < count; ++i) {
        EXPECT_EQ(elements[i].vt, VT_DISPATCH);
        ComPtr<_MenuItem> item;
        if (elements[i].vt == VT_DISPATCH && elements[i].pdispVal)
            elements[i].pdispVal->QueryInterface(IID__MenuItem, reinterpret_cast<void**>(item.put()));
        outcome.keys.push_back(item ? keyOf(item.get()) : L"(no item)");
    }
    EXPECT_EQ(elements[count].vt, VT_EMPTY) << "Next wrote past the elements it was given";
    for (VARIANT& v : elements) VariantClear(&v);
    return outcome;
}
using Keys = std::vector<std::wstring>;

TEST_F(ClientTest, EnumeratorNextSkipResetAndClone) {
    Variant parent;
    setString(*parent, L"b");
    add(L"a", L"A");
    add(L"b", L"B");
    add(L"b1", L"B one", parent.get());
    add(L"c", L"C");
    add(L"d", L"D");
    ComPtr<IEnumVARIANT> walk = enumeratorOf(items.get());
    ASSERT_TRUE(walk);

    Fetched first = next(walk.get(), 3);
    EXPECT_EQ(first.result, S_OK);
    EXPECT_EQ(first.keys, (Keys{L"a", L"b", L"b1"})) << "collection order, a submenu's item in its place";

    ComPtr<IEnumVARIANT> copy;
    ASSERT_HRESULT_SUCCEEDED(walk->Clone(copy.put()));
    EXPECT_EQ(walk->Skip(1), S_OK);
    VARIANT one;
    VariantInit(&one);
    EXPECT_EQ(walk->Next(1, &one, nullptr), S_OK) << "one element needs no count";
    ASSERT_EQ(one.vt, VT_DISPATCH);
    ComPtr<_MenuItem> item;
    one.pdispVal->QueryInterface(IID__MenuItem, reinterpret_cast<void**>(item.put()));
    EXPECT_EQ(keyOf(item.get()), L"d");
    VariantClear(&one);
    Fetched atEnd = next(walk.get(), 2);
    EXPECT_EQ(atEnd.result, S_FALSE);
    EXPECT_EQ(atEnd.keys, Keys{});

    Fetched fromCopy = next(copy.get(), 5);
    EXPECT_EQ(fromCopy.result, S_FALSE) << "fewer than asked for";
    EXPECT_EQ(fromCopy.keys, (Keys{L"c", L"d"})) << "a clone goes on from where its original stood";
    EXPECT_EQ(copy->Skip(1), S_FALSE) << "nothing left to skip";

    EXPECT_EQ(walk->Reset(), S_OK);
    EXPECT_EQ(walk->Skip(4), S_OK);
    EXPECT_EQ(walk->Skip(2), S_FALSE) << "only one item left";
    EXPECT_EQ(walk->Reset(), S_OK);
    Fetched all = next(walk.get(), 5);
    EXPECT_EQ(all.result, S_OK);
    EXPECT_EQ(all.keys, (Keys{L"a", L"b", L"b1", L"c", L"d"}));
    EXPECT_EQ(next(walk.get(), 0).result, S_OK) << "none asked for, none given";
    EXPECT_EQ(walk->Next(1, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(walk->Clone(nullptr), E_POINTER);
}

TEST_F(ClientTest, EnumeratorWalksTheItemsOfItsMoment) {
    ComPtr<_MenuItem> alpha = add(L"alpha", L"Alpha");
    add(L"beta", L"Beta");
    ComPtr<IEnumVARIANT> walk = enumeratorOf(items.get());
    ASSERT_TRUE(walk);
    ASSERT_HRESULT_SUCCEEDED(items->Clear());
    add(L"gamma", L"Gamma");

    VARIANT first;
    VariantInit(&first);
    ASSERT_EQ(walk->Next(1, &first, nullptr), S_OK);
    ASSERT_EQ(first.vt, VT_DISPATCH);
    EXPECT_EQ(identity(first.pdispVal), identity(alpha.get())) << "the removed item, as the object it was";
    VariantClear(&first);
    Fetched rest = next(walk.get(), 3);
    EXPECT_EQ(rest.keys, Keys{L"beta"}) << "the item added after the enumerator was made is not in it";

    ComPtr<IEnumVARIANT> fresh = enumeratorOf(items.get());
    ASSERT_TRUE(fresh);
    EXPECT_EQ(next(fresh.get(), 3).keys, Keys{L"gamma"});
}

TEST_F(ClientTest, NewEnumThroughInvoke) {
    add(L"alpha", L"Alpha");
    for (const WORD flags : {WORD(DISPATCH_METHOD), WORD(DISPATCH_PROPERTYGET), kGet}) {
        SCOPED_TRACE(testing::Message() << "flags " << flags);
        ComPtr<IEnumVARIANT> walk = enumeratorOf(items.get(), flags);
        ASSERT_TRUE(walk) << "VT_UNKNOWN of an object with IEnumVARIANT";
        EXPECT_EQ(next(walk.get(), 2).keys, Keys{L"alpha"});
    }
}

// ---- what scripts write, and what they read back when it fails -------------------------------------

constexpr DISPID kPopUp = 0x60030002, kClear = 0x60030001, kRemove = 0x60030002, kCount = 0x60030003;
constexpr DISPID kChecked = 0x68030002, kText = 0x68030005, kHImageList = 0x68030000;

TEST_F(ClientTest, MembersInTheFormsScriptsWrite) {
    ComPtr<_MenuItem> alpha = add(L"alpha", L"Alpha");
    Variant key;
    setString(*key, L"alpha");
    struct Case {
        const char* what;
        IDispatch* object;
        DISPID member;
        WORD flags;
        std::vector<VARIANT*> args;
        VARTYPE resultType;  // VT_EMPTY: refused as no such member
    };
    // JScript reads m.MenuItems and c.Count as properties (DISPATCH_PROPERTYGET alone) and calls
    // c("key") and c.MenuItem("key") as methods (DISPATCH_METHOD alone). Reading never acts: the
    // methods with effects are refused as properties.
    const Case cases[] = {
        {"MenuItems read as a property", menu.get(), DISPID_VALUE, DISPATCH_PROPERTYGET, {}, VT_DISPATCH},
        {"Count read as a property", items.get(), kCount, DISPATCH_PROPERTYGET, {}, VT_I2},
        {"Count called", items.get(), kCount, DISPATCH_METHOD, {}, VT_I2},
        {"the default member called", items.get(), DISPID_VALUE, DISPATCH_METHOD, {key.get()}, VT_DISPATCH},
        {"Text called", alpha.get(), kText, DISPATCH_METHOD, {}, VT_BSTR},
        {"PopUp read as a property", menu.get(), kPopUp, DISPATCH_PROPERTYGET, {}, VT_EMPTY},
        {"Clear read as a property", items.get(), kClear, DISPATCH_PROPERTYGET, {}, VT_EMPTY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Variant result;
        const Outcome outcome = invokeFor(c.object, c.member, c.flags, c.args, result.get());
        if (c.resultType == VT_EMPTY) {
            EXPECT_EQ(outcome.result, DISP_E_EXCEPTION);
            EXPECT_EQ(outcome.code, static_cast<SCODE>(0x800A01B6)) << "438";
            EXPECT_EQ(result->vt, VT_EMPTY);
        } else {
            EXPECT_EQ(outcome.result, S_OK);
            EXPECT_EQ(result->vt, c.resultType);
        }
    }
    EXPECT_EQ(count(), 1) << "Clear read as a property cleared nothing";
}

TEST_F(ClientTest, RefusedCallsCarryARunTimeErrorNumberAndText) {
    ComPtr<_MenuItem> alpha = add(L"alpha", L"Alpha");
    Variant maybe, huge;
    setString(*maybe, L"maybe");
    huge->vt = VT_R8;
    huge->dblVal = 1e12;
    DISPID put = DISPID_PROPERTYPUT;
    struct Case {
        const char* what;
        IDispatch* object;
        DISPID member;
        WORD flags;
        std::vector<VARIANT*> args;
        std::vector<DISPID> names;
        SCODE code;
        const wchar_t* description;
        const wchar_t* source;
    };
    const Case cases[] = {
        {"a word for a Boolean", alpha.get(), kChecked, DISPATCH_PROPERTYPUT, {maybe.get()}, {put},
         static_cast<SCODE>(0x800A000D), L"Type mismatch", L"PopUpMenu.MenuItem"},
        {"an image list beyond 32 bits", menu.get(), kHImageList, DISPATCH_PROPERTYPUT, {huge.get()}, {put},
         static_cast<SCODE>(0x800A0006), L"Overflow", L"PopUpMenu.NuvraPopUpMenu"},
        {"Remove without a key", items.get(), kRemove, DISPATCH_METHOD, {}, {}, static_cast<SCODE>(0x800A01C2),
         L"Wrong number of arguments or invalid property assignment", L"PopUpMenu.MenuItems"},
        {"no such member", items.get(), 4242, DISPATCH_METHOD, {}, {}, static_cast<SCODE>(0x800A01B6),
         L"Object doesn't support this property or method", L"PopUpMenu.MenuItems"},
        {"an item is no collection", alpha.get(), DISPID_NEWENUM, kGet, {}, {}, static_cast<SCODE>(0x800A01B6),
         L"Object doesn't support this property or method", L"PopUpMenu.MenuItem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Variant result;
        const Outcome outcome = invokeFor(c.object, c.member, c.flags, c.args, result.get(), c.names);
        EXPECT_EQ(outcome.result, DISP_E_EXCEPTION);
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.description, c.description);
        EXPECT_EQ(outcome.source, c.source);
    }

    // A client without an EXCEPINFO gets DispInvoke's own code.
    DISPPARAMS none{};
    EXPECT_EQ(items->Invoke(4242, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

}  // namespace
}  // namespace popupmenu::comtest
