#pragma once

#include <qpdf/QUtil.hh>
#include <string>

namespace u3d {

/// A number for a content stream, to a hundredth of a point and independent of the locale.
inline std::string pdfNumber(double value) {
    return QUtil::double_to_string(value, 2);
}

}  // namespace u3d
