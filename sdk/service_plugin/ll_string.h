// The host's string class. Its code lives in service_plugins; its layout is fixed here because
// the plug-in constructs LLString values on its own stack and in its own members.
#pragma once

#include <cstdint>

#ifndef SERVICE_PLUGIN_API
#define SERVICE_PLUGIN_API
#endif

namespace service_plugin {

class SERVICE_PLUGIN_API LLString {
public:
    LLString(const char* text = nullptr);
    LLString(const LLString& other);
    LLString& operator=(const LLString& other);
    LLString& operator=(const char* text);
    virtual ~LLString();  // 0

    std::uint32_t Length() const;
    // The text, NUL-terminated; null for an empty string.
    const char* Str() const;

private:
    char* data_ = nullptr;
    std::uint32_t length_ = 0;
};

}  // namespace service_plugin
