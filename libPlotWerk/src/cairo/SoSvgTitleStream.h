#pragma once

#include <Tessara/base/SbString.h>
#include <cairo.h>

#include <string>

class SoVectorOutput;

/// cairo's SVG writer into a backend's output object, with the document's title put first
/// in it, which browsers show for the page and screen readers read out: cairo writes none.
class SoSvgTitleStream {
  public:
    /// Starts a document for `output` titled `title`; an empty title writes none.
    void start(SoVectorOutput* output, const SbString& title);
    /// cairo's write function; the closure is this object.
    static cairo_status_t write(void* stream, const unsigned char* data, unsigned int length);

  private:
    cairo_status_t pass(const unsigned char* data, unsigned int length);

    SoVectorOutput* output_ = nullptr;
    /// The title element still to be written after the document's opening tag.
    std::string element_;
    /// How much of "<svg" the text just written ends with; 4 while its tag is still open.
    int matched_ = 0;
};
