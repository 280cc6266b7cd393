// Engine payloads about the presenter's scene: the avatar's frame size and the dialog shown on
// the engine's behalf.
#pragma once

#include <cstdint>
#include <string>

#include "taf/record_table.h"

namespace MeruKinetra {

// Message 2036: the avatar's frame size, to fit the source to the canvas.
struct SourceSizeMsg {
    std::int32_t iWidth = 0;
    std::int32_t iHeight = 0;

    static constexpr auto tafTable() {
        return taf::table("SourceSizeMsg", taf::optional(0, &SourceSizeMsg::iWidth, "iWidth"),
                          taf::optional(1, &SourceSizeMsg::iHeight, "iHeight"));
    }
};

// Message 2039: a dialog with up to two buttons; an empty text means no such button.
struct PresenterDialogReq {
    std::string caption;
    std::string content;
    std::string button1Text;
    std::int32_t button1Id = 0;
    std::string button2Text;
    std::int32_t button2Id = 0;
    std::int32_t seq = 0;

    static constexpr auto tafTable() {
        return taf::table("PresenterDialogReq",
                          taf::optional(0, &PresenterDialogReq::caption, "caption"),
                          taf::optional(1, &PresenterDialogReq::content, "content"),
                          taf::optional(3, &PresenterDialogReq::button1Text, "button1Text"),
                          taf::optional(4, &PresenterDialogReq::button1Id, "button1Id"),
                          taf::optional(5, &PresenterDialogReq::button2Text, "button2Text"),
                          taf::optional(6, &PresenterDialogReq::button2Id, "button2Id"),
                          taf::optional(7, &PresenterDialogReq::seq, "seq"));
    }
};

// Message 2040: the presenter's answer to the dialog numbered seq.
struct PresenterDialogResult {
    std::int32_t seq = 0;
    std::int32_t result = 0;

    static constexpr auto tafTable() {
        return taf::table("PresenterDialogResult",
                          taf::optional(0, &PresenterDialogResult::seq, "seq"),
                          taf::optional(1, &PresenterDialogResult::result, "result"));
    }
};

}  // namespace MeruKinetra
