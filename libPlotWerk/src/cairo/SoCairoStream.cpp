#include "SoCairoStream.h"

#include <PlotWerk/SoVectorOutput.h>

cairo_status_t SoCairoStream::write(void* output, const unsigned char* data, unsigned int length) {
    SoVectorOutput* stream = static_cast<SoVectorOutput*>(output);
    stream->write(reinterpret_cast<const char*>(data), length);
    return stream->getWriteError() != 0 ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
}
