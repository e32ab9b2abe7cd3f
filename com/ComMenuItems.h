#pragma once
// MenuItems as a COM object: the model's collection itself, with its dual interface _MenuItems.
// Its members have their own failure handler (a message box) in the model; the one failure that
// handler passes on, a failed clean-up in Add, reaches the client as an error.

#include "com/ComObject.h"
#include "model/MenuItems.h"

namespace popupmenu::com {

class ComMenuItems final : public ComObject<popupmenu::MenuItems, _MenuItems, kMenuItemsClass> {
public:
    explicit ComMenuItems(Platform& platform) : ComObject(platform) {}

    // The COM object of a collection of this library: every collection this module makes is one.
    static ComMenuItems& of(popupmenu::MenuItems& items);

    HRESULT STDMETHODCALLTYPE Add(VARIANT* key, BSTR* Text, VARIANT* ParentKey, VARIANT* NormalPictureIndex,
                                  VARIANT* CheckedPictureIndex, _MenuItem** result) override;
    HRESULT STDMETHODCALLTYPE get_MenuItem(VARIANT* key, _MenuItem** result) override;
    HRESULT STDMETHODCALLTYPE Clear() override;
    HRESULT STDMETHODCALLTYPE Remove(VARIANT* key) override;
    HRESULT STDMETHODCALLTYPE Count(short* result) override;

protected:
    // Every item of this collection is a COM object too, so that it can be handed to clients.
    Ref<popupmenu::MenuItem> newItem() override;
    // For Each: the items as they stand now (see ItemEnumerator).
    IUnknown* newEnumerator() override;

private:
    ~ComMenuItems() override = default;
};

}  // namespace popupmenu::com
