#pragma once
// NuvraPopUpMenu as a COM object: the engine's component itself, with its dual interface
// _NuvraPopUpMenu. Its collection is a ComMenuItems, so MenuItems hands out that very object.

#include "com/ComObject.h"
#include "engine/NuvraPopUpMenu.h"

namespace popupmenu::com {

class ComNuvraPopUpMenu final : public ComObject<popupmenu::NuvraPopUpMenu, _NuvraPopUpMenu, kNuvraPopUpMenuClass> {
public:
    explicit ComNuvraPopUpMenu(Platform& platform);

    // PopUp has its own failure handler in the engine; hImageList and MenuItems have none.
    HRESULT STDMETHODCALLTYPE PopUp(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_hImageList(LONG* result) override;
    HRESULT STDMETHODCALLTYPE put_hImageList(LONG* value) override;
    HRESULT STDMETHODCALLTYPE MenuItems(_MenuItems** result) override;

private:
    ~ComNuvraPopUpMenu() override = default;
};

}  // namespace popupmenu::com
