#pragma once
// MenuItem as a COM object: the model's item itself, with its dual interface _MenuItem. Its
// accessors have no failure handler of their own: a failure reaches the client as an error.

#include "com/ComObject.h"
#include "model/MenuItem.h"

namespace popupmenu::com {

class ComMenuItem final : public ComObject<popupmenu::MenuItem, _MenuItem, kMenuItemClass> {
public:
    ComMenuItem() = default;

    // The COM object of an item of this library: every item a collection of this module makes is
    // one (ComMenuItems makes them), and so is its parent.
    static ComMenuItem& of(popupmenu::MenuItem& item);

    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE get_Parent(_MenuItem** result) override;
    HRESULT STDMETHODCALLTYPE get_IsSubMenu(VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE get_Text(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE put_Text(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_key(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE get_Checked(VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE put_Checked(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE get_NormalPictureIndex(LONG* result) override;
    HRESULT STDMETHODCALLTYPE put_NormalPictureIndex(LONG* value) override;
    HRESULT STDMETHODCALLTYPE get_CheckedPictureIndex(LONG* result) override;
    HRESULT STDMETHODCALLTYPE put_CheckedPictureIndex(LONG* value) override;

private:
    ~ComMenuItem() override = default;
};

// The interface pointer for an item the core returned (none stays none), with a new reference.
_MenuItem* referenceTo(popupmenu::MenuItem* item);

}  // namespace popupmenu::com
