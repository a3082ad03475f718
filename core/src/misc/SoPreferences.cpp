#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SoPreferences.h>

#include <charconv>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace {

struct Store {
    std::mutex mutex;
    std::map<std::string, SbString> values;
};

// Never destroyed: settings may still be read from other objects' static destructors.
Store& store() {
    static Store* instance = new Store;
    return *instance;
}

std::optional<SbString> lookUp(const char* name) {
    if (!name || !*name) return std::nullopt;
    const char* env = std::getenv(name);
    if (env && *env) return SbString(env);
    std::lock_guard<std::mutex> lock(store().mutex);
    const auto found = store().values.find(name);
    if (found == store().values.end()) return std::nullopt;
    return found->second;
}

std::string_view trimmed(const std::string& text) {
    const char* spaces = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(spaces);
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(spaces);
    return std::string_view(text).substr(first, last - first + 1);
}

// from_chars never looks at the process locale, which is what settings files need.
template <typename Number>
std::optional<Number> parseNumber(const std::string& text) {
    std::string_view digits = trimmed(text);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    if (digits.empty() || digits.front() == '+') return std::nullopt;
    Number value{};
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::optional<bool> parseBool(const std::string& text) {
    const std::string word = SbString(std::string(trimmed(text))).toLower().getStdString();
    if (word == "1" || word == "true" || word == "yes" || word == "on") return true;
    if (word == "0" || word == "false" || word == "no" || word == "off") return false;
    return std::nullopt;
}

void warnUnparsable(const char* where, const char* name, const SbString& text, const char* kind) {
    SoDebugError::postWarning(where,
                              "setting %s has value \"%s\", which is not %s; using the "
                              "default",
                              name, text.getString(), kind);
}

}  // namespace

SbString SoPreferences::getValue(const char* name, const SbString& defaultValue) {
    return lookUp(name).value_or(defaultValue);
}

bool SoPreferences::hasValue(const char* name) {
    return lookUp(name).has_value();
}

int SoPreferences::getInt(const char* name, int defaultValue) {
    const std::optional<SbString> text = lookUp(name);
    if (!text) return defaultValue;
    const std::optional<int> value = parseNumber<int>(text->getStdString());
    if (!value) warnUnparsable("SoPreferences::getInt", name, *text, "an integer");
    return value.value_or(defaultValue);
}

float SoPreferences::getFloat(const char* name, float defaultValue) {
    const std::optional<SbString> text = lookUp(name);
    if (!text) return defaultValue;
    const std::optional<float> value = parseNumber<float>(text->getStdString());
    if (!value) warnUnparsable("SoPreferences::getFloat", name, *text, "a number");
    return value.value_or(defaultValue);
}

bool SoPreferences::getBool(const char* name, bool defaultValue) {
    const std::optional<SbString> text = lookUp(name);
    if (!text) return defaultValue;
    const std::optional<bool> value = parseBool(text->getStdString());
    if (!value) warnUnparsable("SoPreferences::getBool", name, *text, "a truth value");
    return value.value_or(defaultValue);
}

void SoPreferences::setValue(const char* name, const SbString& value) {
    if (!name || !*name) {
        SoDebugError::post("SoPreferences::setValue", "a setting needs a name");
        return;
    }
    std::lock_guard<std::mutex> lock(store().mutex);
    store().values[name] = value;
}

void SoPreferences::setInt(const char* name, int value) {
    setValue(name, SbString(value));
}

void SoPreferences::setFloat(const char* name, float value) {
    // Nine significant digits are enough to give every float back unchanged.
    std::string text;
    SbNumberFormat::appendSignificant(text, static_cast<double>(value), 9);
    setValue(name, SbString(text.c_str()));
}

void SoPreferences::setBool(const char* name, bool value) {
    setValue(name, SbString(value ? "true" : "false"));
}

void SoPreferences::removeValue(const char* name) {
    if (!name) return;
    std::lock_guard<std::mutex> lock(store().mutex);
    store().values.erase(name);
}

void SoPreferences::clear() {
    std::lock_guard<std::mutex> lock(store().mutex);
    store().values.clear();
}
