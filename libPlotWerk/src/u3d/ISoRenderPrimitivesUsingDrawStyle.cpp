// The renderers' interface is abstract; its destructor lives here so that its virtual table is
// emitted once, in the library, and not in every engine module that includes the header.

#include <PlotWerk/SoToU3DActionPrivate.h>

SoToU3DActionPrivate::ISoRenderPrimitivesUsingDrawStyle::~ISoRenderPrimitivesUsingDrawStyle() =
    default;
