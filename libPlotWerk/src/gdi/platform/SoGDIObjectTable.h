#pragma once

#include <PlotWerk/SoGDIPlatform.h>

#include <memory>
#include <vector>

#include "SoGDIDeviceContext.h"
#include "SoGDIObject.h"

/// The live GDI objects and device contexts of the process, so that a handle can be
/// checked before use: a stale or made-up handle fails as on Windows, it never crashes.
/// Objects are shared with the contexts they are selected into, which keep a deleted
/// object alive until they let go of it.
class SoGDIObjectTable {
  public:
    /// A new object of the given kind, registered with the next serial number.
    static HGDIOBJ create(const SoGDIObject& description);
    /// The object of a live handle; null for anything else.
    static std::shared_ptr<SoGDIObject> find(HGDIOBJ handle);
    /// Unregisters the object; false when the handle was not live. Stock objects stay.
    static bool remove(HGDIOBJ handle);

    static const std::shared_ptr<SoGDIObject>& stockPen();
    static const std::shared_ptr<SoGDIObject>& stockBrush();
    static const std::shared_ptr<SoGDIObject>& stockFont();

    static HDC addContext(std::unique_ptr<SoGDIDeviceContext> context);
    static bool isContext(HDC dc);
    /// Destroys the context; false when it was not live.
    static bool removeContext(HDC dc);
    /// The devices of every live context.
    static std::vector<SoGDIDevice*> devices();
    /// The number a recording gives a context: its order of creation, from 1; 0 for none.
    static long contextNumber(HDC dc);
};
