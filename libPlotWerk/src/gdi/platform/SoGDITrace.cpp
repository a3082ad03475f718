#include "SoGDITrace.h"

#include "SoGDIObjectTable.h"

SoGDITrace::SoGDITrace(const char* name) : on_(SoGDIRecorder::isRecording()) {
    if (on_) call_.name = name;
}

SoGDITrace& SoGDITrace::arg(long long value) {
    if (on_) call_.args.push_back(value);
    return *this;
}

SoGDITrace& SoGDITrace::context(HDC dc) {
    return arg(SoGDIObjectTable::contextNumber(dc));
}

SoGDITrace& SoGDITrace::object(const void* handle) {
    if (!on_) return *this;
    const auto object = SoGDIObjectTable::find(static_cast<HGDIOBJ>(const_cast<void*>(handle)));
    return arg(object ? object->serial : 0);
}

SoGDITrace& SoGDITrace::points(const POINT* points, int count) {
    if (on_ && points && count > 0) call_.points.insert(call_.points.end(), points, points + count);
    return *this;
}

SoGDITrace& SoGDITrace::rect(const RECT& rect) {
    const POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    return points(corners, 2);
}

SoGDITrace& SoGDITrace::text(const char* text, int length) {
    if (on_ && text && length > 0) call_.text.assign(text, static_cast<std::size_t>(length));
    return *this;
}

SoGDITrace& SoGDITrace::wideText(const WCHAR* text, int length) {
    if (on_ && text && length > 0) call_.wideText.assign(text, static_cast<std::size_t>(length));
    return *this;
}

SoGDITrace& SoGDITrace::bytes(const void* data, std::size_t size) {
    if (on_ && data) {
        const auto* begin = static_cast<const unsigned char*>(data);
        call_.bytes.assign(begin, begin + size);
    }
    return *this;
}

HDC SoGDITrace::done(HDC result) {
    if (on_) finish(SoGDIObjectTable::contextNumber(result));
    return result;
}

SoGDIObject* SoGDITrace::done(SoGDIObject* result) {
    if (on_) {
        const auto object = SoGDIObjectTable::find(result);
        finish(object ? object->serial : 0);
    }
    return result;
}

void SoGDITrace::finish(long long result) {
    call_.result = result;
    SoGDIRecorder::add(call_);
}
