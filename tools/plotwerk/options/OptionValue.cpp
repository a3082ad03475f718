#include "options/OptionValue.h"

#include <PlotWerk/SoVectorizeAction.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "CommandError.h"

void OptionValue::fail(const std::string& option, const std::string& text, const std::string& why) {
    throw CommandError("bad value '" + text + "' for " + option + ": " + why);
}

namespace {

struct NamedColor {
    const char* name;
    float r, g, b;
};

// The usual names; grey is spelt both ways because users type both.
const NamedColor kNamedColors[] = {
    {"black", 0, 0, 0},
    {"white", 1, 1, 1},
    {"red", 1, 0, 0},
    {"green", 0, 1, 0},
    {"blue", 0, 0, 1},
    {"yellow", 1, 1, 0},
    {"cyan", 0, 1, 1},
    {"magenta", 1, 0, 1},
    {"gray", 0.5f, 0.5f, 0.5f},
    {"grey", 0.5f, 0.5f, 0.5f},
    {"lightgray", 0.75f, 0.75f, 0.75f},
    {"darkgray", 0.25f, 0.25f, 0.25f},
    {"orange", 1, 0.5f, 0},
    {"purple", 0.5f, 0, 0.5f},
    {"brown", 0.6f, 0.3f, 0.1f},
    {"navy", 0, 0, 0.5f},
    {"pink", 1, 0.75f, 0.8f},
};

// Reads a number at the start of `text`; the characters after it are returned in `rest`.
bool leadingNumber(const std::string& text, float& value, std::string& rest) {
    const char* begin = text.c_str();
    const char* end = begin + text.size();
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value)) return false;
    rest.assign(result.ptr, end);
    return true;
}

bool unitOf(const std::string& text, SoVectorizeAction::DimensionUnit& unit) {
    if (text.empty() || text == "mm") {
        unit = SoVectorizeAction::MILLIMETER;
    } else if (text == "in") {
        unit = SoVectorizeAction::INCH;
    } else if (text == "m") {
        unit = SoVectorizeAction::METER;
    } else {
        return false;
    }
    return true;
}

std::string decimal(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}

// Millimetres no longer than the action takes: a longer length would be refused there, and
// the drawing printed at the default size.
float onASheet(const std::string& option, const std::string& text, float millimetres) {
    if (millimetres > SoVectorizeAction::kLongestLength)
        OptionValue::fail(
            option, text,
            "must be at most " + decimal(SoVectorizeAction::kLongestLength / 1000) + " m");
    return millimetres;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool hexColor(const std::string& text, SbColor& color) {
    if (text.size() != 7 || text[0] != '#') return false;
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(text[1 + 2 * i]);
        const int low = hexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0) return false;
        color[i] = static_cast<float>(high * 16 + low) / 255.0f;
    }
    return true;
}

bool fractionColor(const std::string& text, SbColor& color) {
    std::string rest = text;
    for (int i = 0; i < 3; ++i) {
        float value = 0.0f;
        std::string after;
        if (!leadingNumber(rest, value, after) || value < 0.0f || value > 1.0f) return false;
        color[i] = value;
        if (i < 2) {
            if (after.empty() || after[0] != ':') return false;
            rest = after.substr(1);
        } else if (!after.empty()) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string OptionValue::nonEmpty(const std::string& option, const std::string& text) {
    if (text.empty()) throw CommandError("empty value for " + option);
    return text;
}

float OptionValue::number(const std::string& option, const std::string& text) {
    float value = 0.0f;
    std::string rest;
    if (!leadingNumber(text, value, rest) || !rest.empty()) fail(option, text, "not a number");
    return value;
}

float OptionValue::unitLength(const std::string& option, const std::string& text) {
    SoVectorizeAction::DimensionUnit unit;
    if (text.empty() || !unitOf(text, unit)) fail(option, text, "expected mm, m or in");
    return SoVectorizeAction::unitsToMillimeters(1.0f, unit);
}

float OptionValue::ratio(const std::string& option, const std::string& text) {
    const size_t colon = text.find(':');
    const float a = number(option, text.substr(0, colon));
    const float b = colon == std::string::npos ? 1.0f : number(option, text.substr(colon + 1));
    if (!(a > 0.0f && b > 0.0f)) fail(option, text, "expected two positive numbers, as in 1:2");
    // Beyond a million either way, no camera's numbers stay finite and exact.
    if (!(a / b >= 1e-6f && a / b <= 1e6f))
        fail(option, text, "must lie between 1:1000000 and 1000000:1");
    return a / b;
}

float OptionValue::atLeast(const std::string& option, const std::string& text, float low) {
    const float value = number(option, text);
    if (value < low) fail(option, text, "must be at least " + decimal(low));
    return value;
}

unsigned int OptionValue::wholeNumber(const std::string& option, const std::string& text,
                                      unsigned int low, unsigned int high) {
    unsigned int value = 0;
    const char* end = text.c_str() + text.size();
    const auto result = std::from_chars(text.c_str(), end, value);
    if (result.ec != std::errc() || result.ptr != end || value < low || value > high) {
        const std::string range = std::to_string(low) + " to " + std::to_string(high);
        fail(option, text, "expected a whole number from " + range);
    }
    return value;
}

float OptionValue::length(const std::string& option, const std::string& text) {
    float value = 0.0f;
    std::string unitText;
    SoVectorizeAction::DimensionUnit unit;
    if (!leadingNumber(text, value, unitText)) fail(option, text, "not a length");
    if (!unitOf(unitText, unit)) fail(option, text, "the unit must be in, mm or m");
    if (!(value > 0.0f)) fail(option, text, "must be greater than 0");
    return onASheet(option, text, SoVectorizeAction::unitsToMillimeters(value, unit));
}

SbVec2f OptionValue::pair(const std::string& option, const std::string& text, bool positive) {
    const size_t cross = text.find('x');
    if (cross == std::string::npos) fail(option, text, "expected WxH with an optional unit");
    float first = 0.0f, second = 0.0f;
    std::string rest, unitText;
    SoVectorizeAction::DimensionUnit unit;
    if (!leadingNumber(text.substr(0, cross), first, rest) || !rest.empty() ||
        !leadingNumber(text.substr(cross + 1), second, unitText))
        fail(option, text, "expected WxH with an optional unit");
    if (!unitOf(unitText, unit)) fail(option, text, "the unit must be in, mm or m");
    if (positive && !(first > 0.0f && second > 0.0f))
        fail(option, text, "both values must be greater than 0");
    if (!positive && (first < 0.0f || second < 0.0f))
        fail(option, text, "values must not be negative");
    return SbVec2f(onASheet(option, text, SoVectorizeAction::unitsToMillimeters(first, unit)),
                   onASheet(option, text, SoVectorizeAction::unitsToMillimeters(second, unit)));
}

SbColor OptionValue::color(const std::string& option, const std::string& text) {
    for (const NamedColor& named : kNamedColors)
        if (text == named.name) return SbColor(named.r, named.g, named.b);
    SbColor color(0, 0, 0);
    if (hexColor(text, color) || fractionColor(text, color)) return color;
    fail(option, text, "expected a colour name, #rrggbb or r:g:b with fractions from 0 to 1");
}

std::string OptionValue::colorText(const SbColor& color) {
    for (const NamedColor& named : kNamedColors)
        if (color == SbColor(named.r, named.g, named.b)) return named.name;
    char text[64];
    std::snprintf(text, sizeof text, "%.3g:%.3g:%.3g", color[0], color[1], color[2]);
    return text;
}

std::string OptionValue::colorNames() {
    std::string names;
    for (const NamedColor& named : kNamedColors) {
        if (!names.empty()) names += ' ';
        names += named.name;
    }
    return names;
}

std::vector<PenChoice> OptionValue::pens(const std::string& option, const std::string& text) {
    std::vector<PenChoice> pens;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        if (item.empty()) fail(option, text, "every pen needs a colour");
        if (pens.size() == 256) fail(option, text, "at most 256 pens");
        const size_t at = item.find('@');
        PenChoice pen;
        pen.color = color(option, item.substr(0, at));
        if (at != std::string::npos) pen.width = length(option, item.substr(at + 1));
        pens.push_back(pen);
        start = comma + 1;
    }
    return pens;
}
