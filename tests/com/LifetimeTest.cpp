// Reference counting as clients see it: the module may be unloaded (DllCanUnloadNow is S_OK)
// exactly when no object of its classes is alive and no class factory is locked.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"

namespace popupmenu::comtest {
namespace {

class LifetimeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module.loaded()) << "cannot load the built PopUpMenu.dll"; }

    ComPtr<_MenuItem> add(_MenuItems* items, const std::wstring& key, const wchar_t* parent = nullptr) {
        Variant keyArg, parentArg;
        setString(*keyArg, key.c_str());
        if (parent)
            setString(*parentArg, parent);
        else
            setMissing(*parentArg);
        BSTR caption = SysAllocString(key.c_str());
        ComPtr<_MenuItem> item;
        items->Add(keyArg.get(), &caption, parentArg.get(), nullptr, nullptr, item.put());
        SysFreeString(caption);
        return item;
    }

    Apartment apartment;
    LoadedModule module;
};

TEST_F(LifetimeTest, EachClassKeepsTheModuleUntilReleased) {
    const CLSID* classes[] = {&CLSID_NuvraPopUpMenu, &CLSID_MenuItems, &CLSID_MenuItem};
    for (const CLSID* clsid : classes) {
        EXPECT_EQ(module.canUnloadNow(), S_OK);
        ComPtr<IDispatch> object = module.create<IDispatch>(*clsid);
        ASSERT_TRUE(object);
        EXPECT_EQ(module.canUnloadNow(), S_FALSE);
        object.reset();
        EXPECT_EQ(module.canUnloadNow(), S_OK);
    }
}

TEST_F(LifetimeTest, ALockedFactoryKeepsTheModule) {
    ComPtr<IClassFactory> factory = module.factory(CLSID_NuvraPopUpMenu);
    ASSERT_TRUE(factory);
    EXPECT_EQ(module.canUnloadNow(), S_OK) << "a factory reference alone does not count";
    factory->LockServer(TRUE);
    EXPECT_EQ(module.canUnloadNow(), S_FALSE);
    factory->LockServer(FALSE);
    EXPECT_EQ(module.canUnloadNow(), S_OK);
}

TEST_F(LifetimeTest, AnyHeldPartOfAMenuKeepsTheModule) {
    ComPtr<_MenuItem> child;
    ComPtr<_MenuItems> items;
    {
        ComPtr<_NuvraPopUpMenu> menu = module.create<_NuvraPopUpMenu>(CLSID_NuvraPopUpMenu);
        ASSERT_HRESULT_SUCCEEDED(menu->MenuItems(items.put()));
        add(items.get(), L"top");
        child = add(items.get(), L"child", L"top");
        ASSERT_TRUE(child);
    }
    EXPECT_EQ(module.canUnloadNow(), S_FALSE) << "the collection outlives its component";
    items.reset();
    EXPECT_EQ(module.canUnloadNow(), S_FALSE) << "the item (and its parent) outlive the collection";
    child.reset();
    EXPECT_EQ(module.canUnloadNow(), S_OK) << "the last release frees the item and then its parent";
}

TEST_F(LifetimeTest, AnEnumeratorKeepsTheModule) {
    ComPtr<IEnumVARIANT> walk;
    {
        ComPtr<_NuvraPopUpMenu> menu = module.create<_NuvraPopUpMenu>(CLSID_NuvraPopUpMenu);
        ComPtr<_MenuItems> items;
        ASSERT_HRESULT_SUCCEEDED(menu->MenuItems(items.put()));
        // Of an empty collection: the enumerator holds no item that would keep the module too.
        DISPPARAMS none{};
        Variant result;
        ASSERT_HRESULT_SUCCEEDED(items->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                               result.get(), nullptr, nullptr));
        ASSERT_EQ(result->vt, VT_UNKNOWN);
        ASSERT_HRESULT_SUCCEEDED(result->punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(walk.put())));
    }
    ComPtr<IEnumVARIANT> copy;
    ASSERT_HRESULT_SUCCEEDED(walk->Clone(copy.put()));
    walk.reset();
    EXPECT_EQ(module.canUnloadNow(), S_FALSE) << "the clone outlives the collection and its enumerator";
    copy.reset();
    EXPECT_EQ(module.canUnloadNow(), S_OK);
}

TEST_F(LifetimeTest, AHundredThousandItemsLeaveNothingAlive) {
    {
        // Items created directly through the factory.
        ComPtr<IClassFactory> factory = module.factory(CLSID_MenuItem);
        ASSERT_TRUE(factory);
        std::vector<ComPtr<_MenuItem>> created(50000);
        for (auto& item : created)
            ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID__MenuItem, reinterpret_cast<void**>(item.put())));
        EXPECT_EQ(module.canUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(module.canUnloadNow(), S_OK);

    {
        // Items added to a menu in submenu chains, filled and cleared twice, some of them held by
        // the client across the Clear.
        ComPtr<_NuvraPopUpMenu> menu = module.create<_NuvraPopUpMenu>(CLSID_NuvraPopUpMenu);
        ComPtr<_MenuItems> items;
        ASSERT_HRESULT_SUCCEEDED(menu->MenuItems(items.put()));
        std::vector<ComPtr<_MenuItem>> held;
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < 25000; ++i) {
                const std::wstring key = L"k" + std::to_wstring(i);
                const std::wstring parent = L"k" + std::to_wstring(i - 1);
                ComPtr<_MenuItem> item = add(items.get(), key, i % 10 == 0 ? nullptr : parent.c_str());
                ASSERT_TRUE(item) << "item " << i;
                if (i % 1000 == 999) held.push_back(item);
            }
            short n = 0;
            items->Count(&n);
            EXPECT_EQ(n, 25000);
            ASSERT_HRESULT_SUCCEEDED(items->Clear());
        }
        EXPECT_EQ(module.canUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(module.canUnloadNow(), S_OK);
}

}  // namespace
}  // namespace popupmenu::comtest
