#pragma once

#include <cairo.h>

/// cairo's writer into a backend's output object: the closure is the SoVectorOutput. A write
/// the stream refused (a full disk) ends the document with a write error; the output object
/// has reported it.
class SoCairoStream {
  public:
    static cairo_status_t write(void* output, const unsigned char* data, unsigned int length);
};
