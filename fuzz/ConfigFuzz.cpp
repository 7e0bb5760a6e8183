// Fuzzes the configuration lookups: arbitrary text, arbitrary keys.
// Input layout: the first byte picks the key length, then the key, then the text.
#include "core/Config.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t keyLength = data[0] % 32;
    if (size < 1 + keyLength) return 0;
    const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
    Ostrel::Config config;
    config.text.assign(reinterpret_cast<const char*>(data + 1 + keyLength), size - 1 - keyLength);

    std::string s = "unchanged";
    int i = -7;
    float f = -7.0f;
    const bool foundString = config.GetString(key, &s);
    const bool foundInt = config.GetInt(key, &i);
    const bool foundFloat = config.GetFloat(key, &f);
    // A failed lookup must leave the caller's value alone.
    if (!foundString && s != "unchanged") __builtin_trap();
    if (!foundInt && i != -7) __builtin_trap();
    if (!foundFloat && f != -7.0f) __builtin_trap();
    // A number can only be found where a string was.
    if ((foundInt || foundFloat) && !foundString) __builtin_trap();
    return 0;
}
