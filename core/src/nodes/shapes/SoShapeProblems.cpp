#include "nodes/shapes/SoShapeProblems.h"

#include <Tessara/base/SoDebugError.h>

#include <cstdarg>
#include <cstdio>

SoShapeProblems::SoShapeProblems(const char* shapeName, const char* source)
    : shapeName_(shapeName), source_(source) {}

SoShapeProblems::~SoShapeProblems() {
    if (count_ == 0) return;
    if (count_ == 1) {
        SoDebugError::postWarning(source_, "%s %s", shapeName_, first_);
    } else {
        SoDebugError::postWarning(source_, "%s %s (%d problems in this shape)", shapeName_, first_,
                                  count_);
    }
}

void SoShapeProblems::note(const char* format, ...) {
    if (count_++ > 0) return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(first_, sizeof(first_), format, args);
    va_end(args);
}
