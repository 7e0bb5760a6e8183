#include "Config.h"

#include "FileReader.h"

#include <iostream>
#include <stdexcept>

namespace Ostrel {

namespace {

// Runs a std::sto* conversion; a malformed or out-of-range value gets one
// diagnostic line and leaves *value as it was, so the caller keeps its default.
template <typename T, typename Convert>
bool ConvertValue(const std::string& key, const std::string& text, const char* kind, T* value, Convert convert) {
    try {
        const T converted = convert(text);
        *value = converted;
        return true;
    } catch (const std::invalid_argument&) {
        std::cerr << "Config: value of '" << key << "' is not " << kind << ": '" << text << "'" << std::endl;
    } catch (const std::out_of_range&) {
        std::cerr << "Config: value of '" << key << "' is out of range for " << kind << ": '" << text << "'"
                  << std::endl;
    }
    return false;
}

}  // namespace

void Config::Load() {
    FileReader reader;
    text = reader.ReadFile("assets/game/config.txt");
}

bool Config::GetString(std::string key, std::string* value) {
    // Not anchored to a line start: the first "key=" anywhere in the text wins.
    const size_t p = text.find(key + "=");
    if (p == std::string::npos) return false;
    const size_t start = p + key.size() + 1;
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string v = text.substr(start, end - start);
    cache[key] = v;
    *value = v;
    return true;
}

bool Config::GetInt(std::string key, int* value) {
    std::string raw;
    if (!GetString(key, &raw)) return false;
    return ConvertValue(key, raw, "an integer", value, [](const std::string& s) { return std::stoi(s); });
}

bool Config::GetFloat(std::string key, float* value) {
    std::string raw;
    if (!GetString(key, &raw)) return false;
    return ConvertValue(key, raw, "a number", value, [](const std::string& s) { return std::stof(s); });
}

}  // namespace Ostrel
