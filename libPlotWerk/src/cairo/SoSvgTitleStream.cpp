#include "SoSvgTitleStream.h"

#include "SoCairoStream.h"
#include "SoCairoText.h"

namespace {

constexpr char kOpening[] = "<svg";
constexpr int kOpeningLength = sizeof kOpening - 1;

// Characters markup reserves as entities.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : SoCairoText::spaced(text)) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

}  // namespace

void SoSvgTitleStream::start(SoVectorOutput* output, const SbString& title) {
    output_ = output;
    matched_ = 0;
    element_.clear();
    if (title.getLength() > 0) element_ = "\n<title>" + escaped(title.getStdString()) + "</title>";
}

cairo_status_t SoSvgTitleStream::pass(const unsigned char* data, unsigned int length) {
    return SoCairoStream::write(output_, data, length);
}

cairo_status_t SoSvgTitleStream::write(void* stream, const unsigned char* data,
                                       unsigned int length) {
    auto& self = *static_cast<SoSvgTitleStream*>(stream);
    for (unsigned int i = 0; i < length && !self.element_.empty(); ++i) {
        const char c = static_cast<char>(data[i]);
        if (self.matched_ < kOpeningLength) {
            self.matched_ = c == kOpening[self.matched_] ? self.matched_ + 1 : c == '<' ? 1 : 0;
        } else if (c == '>') {
            const std::string element = std::move(self.element_);
            self.element_.clear();
            cairo_status_t status = self.pass(data, i + 1);
            if (status == CAIRO_STATUS_SUCCESS)
                status = self.pass(reinterpret_cast<const unsigned char*>(element.data()),
                                   static_cast<unsigned int>(element.size()));
            return status == CAIRO_STATUS_SUCCESS ? self.pass(data + i + 1, length - i - 1)
                                                  : status;
        }
    }
    return self.pass(data, length);
}
