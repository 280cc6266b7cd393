#include "commands/start_config_parse.h"

#include "core/json_node.h"
#include "core/json_parse.h"
#include "core/text.h"

namespace kinetra {
namespace {

// The configuration's JSON is read straight from the parsed node tree: wrapping every element
// the way the document's objects do costs several times the text for a long array.
struct ParsedJson {
    explicit ParsedJson(const std::string& text) : root(meru::json_parse(text.c_str())) {}
    ~ParsedJson() { meru::json_delete(root); }
    ParsedJson(const ParsedJson&) = delete;
    ParsedJson& operator=(const ParsedJson&) = delete;

    meru::json_node* const root;
};

bool IsA(const meru::json_node* node, meru::json_type type) {
    return node != nullptr && meru::json_type_of(node) == type;
}

bool ReadString(const meru::json_node* node, std::string& out) {
    if (!IsA(node, meru::json_string)) {
        return false;
    }
    out = node->valuestring != nullptr ? node->valuestring : "";
    return true;
}

// The string member `key` of an object, into `out`.
bool ReadMember(const meru::json_node* object, const char* key, std::string& out) {
    return ReadString(meru::json_object_member(object, key), out);
}

// Appends the string `key` of each element of the array `array`.
void AppendStrings(const meru::json_node* array, const char* key, std::vector<std::string>& out) {
    for (const auto* element = meru::json_first_child(array); element != nullptr;
         element = element->next) {
        std::string text;
        if (ReadMember(element, key, text)) {
            out.push_back(std::move(text));
        }
    }
}

std::string UnescapeCameraValue(std::string value) {
    core::ReplaceAll(value, "#3A", ":");
    core::ReplaceAll(value, "#22", "#");
    return value;
}

}  // namespace

void ReadBannerTips(const std::string& json, MeruKinetra::StartConfigMsg& message) {
    const ParsedJson banner(json);
    if (!IsA(banner.root, meru::json_object)) {
        return;
    }
    const auto* images = meru::json_object_member(banner.root, "imgurl");
    if (IsA(images, meru::json_array)) {
        AppendStrings(images, "image", message.vImage);
        AppendStrings(images, "jump", message.vJump);
    }
    const auto* tips = meru::json_object_member(banner.root, "tip");
    if (IsA(tips, meru::json_array)) {
        for (const auto* tip = meru::json_first_child(tips); tip != nullptr; tip = tip->next) {
            std::string text;
            if (ReadString(tip, text)) {
                message.vTip.push_back(std::move(text));
            }
        }
    }
}

bool ReadUpdaterConfig(const std::string& json, MeruKinetra::UpdaterConfig& updater) {
    const ParsedJson list(json);
    if (!IsA(list.root, meru::json_array)) {
        return true;
    }
    for (const auto* element = meru::json_first_child(list.root); element != nullptr;
         element = element->next) {
        const bool hasUrl = ReadMember(element, "url", updater.sUrl);
        const bool hasMd5 = ReadMember(element, "md5", updater.sMd5);
        ReadMember(element, "version", updater.sVersion);
        if (!hasUrl || !hasMd5) {
            return false;
        }
    }
    return true;
}

MeruKinetra::CameraInfo CameraFromDetail(const std::string& name, const std::string& detail) {
    MeruKinetra::CameraInfo camera;
    const std::vector<std::string> parts = core::SplitString(detail, ':');
    if (parts.size() == 2) {
        camera.sValue = UnescapeCameraValue(parts[1]);
        camera.sKey = parts[0];
    } else if (parts.size() == 1) {
        camera.sValue = UnescapeCameraValue(parts[0]);
        camera.sKey = parts[0];
    } else {
        camera.sValue = detail;
        camera.sKey = name;
    }
    return camera;
}

}  // namespace kinetra
