#pragma once

#include <Tessara/base/SbString.h>

/// Named settings: an environment variable of the same name wins over what the application set,
/// so a user can override a setting without rebuilding the application.
/// An environment variable set to the empty text counts as unset. Thread-safe.
class SoPreferences {
  public:
    SoPreferences() = delete;

    /// The text of name, or defaultValue when neither the environment nor the store has it.
    static SbString getValue(const char* name, const SbString& defaultValue = SbString());
    static bool hasValue(const char* name);
    /// Decimal integer (leading '+'/'-' allowed); other text posts a warning and gives the default.
    static int getInt(const char* name, int defaultValue);
    /// Read under the C locale ("1.5", never "1,5"); bad text posts a warning, gives the default.
    static float getFloat(const char* name, float defaultValue);
    /// 1/0, true/false, yes/no, on/off in any case; bad text posts a warning, gives the default.
    static bool getBool(const char* name, bool defaultValue);

    static void setValue(const char* name, const SbString& value);
    static void setInt(const char* name, int value);
    /// Stored with enough digits that getFloat() gives the same float back.
    static void setFloat(const char* name, float value);
    static void setBool(const char* name, bool value);
    /// Forgets the stored value; the environment is not touched.
    static void removeValue(const char* name);
    /// Forgets every stored value.
    static void clear();
};
