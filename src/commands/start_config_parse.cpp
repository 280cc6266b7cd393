#include "commands/start_config_parse.h"

#include "core/json_object.h"
#include "core/text.h"

namespace kinetra {
namespace {

// Appends the string `key` of each element of the array `array`.
void AppendStrings(meru::CJsonObject& array, const std::string& key,
                   std::vector<std::string>& out) {
    for (int i = 0; i < array.GetArraySize(); ++i) {
        std::string text;
        if (array[static_cast<unsigned>(i)].Get(key, text)) {
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
    meru::CJsonObject banner;
    if (!banner.Parse(json) || banner.IsArray()) {
        return;
    }
    meru::CJsonObject& images = banner["imgurl"];
    if (images.IsArray()) {
        AppendStrings(images, "image", message.vImage);
        AppendStrings(images, "jump", message.vJump);
    }
    meru::CJsonObject& tips = banner["tip"];
    if (tips.IsArray()) {
        for (int i = 0; i < tips.GetArraySize(); ++i) {
            std::string tip;
            if (tips.Get(static_cast<unsigned>(i), tip)) {
                message.vTip.push_back(std::move(tip));
            }
        }
    }
}

bool ReadUpdaterConfig(const std::string& json, MeruKinetra::UpdaterConfig& updater) {
    meru::CJsonObject list;
    if (!list.Parse(json) || !list.IsArray()) {
        return true;
    }
    for (int i = 0; i < list.GetArraySize(); ++i) {
        meru::CJsonObject& element = list[static_cast<unsigned>(i)];
        const bool hasUrl = element.Get("url", updater.sUrl);
        const bool hasMd5 = element.Get("md5", updater.sMd5);
        element.Get("version", updater.sVersion);
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
