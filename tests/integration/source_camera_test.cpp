// The avatar's source in the presenter's scene, through the real library: the fits that move
// nothing. The source's creation, the camera it displaces and a fit that scales are pinned by the
// on_air scenario's trace.
#include <gtest/gtest.h>

#include "integration/live_support.h"
#include "support/running_plugin.h"
#include "taf/records/presenter_messages.h"

namespace {

using kinetra::FromEngine;
using live_test::LiveHost;
using taf::Bytes;
using testing_support::RunningPlugin;

TEST(SourceAndCamera, FitWithoutASourceOrWithAnEmptySizeDoesNothing) {
    const struct {
        bool created;
        MeruKinetra::SourceSizeMsg size;
    } cases[] = {{false, {1280, 720}}, {true, {1280, 0}}, {true, {0, 720}}};
    for (const auto& c : cases) {
        RunningPlugin running(LiveHost());
        if (c.created) {
            running.engine.Send(FromEngine::kCreateSource, Bytes{});
        }
        running.engine.Send(FromEngine::kFitSource, c.size);
        ASSERT_TRUE(running.engine.WaitIdle());
        EXPECT_EQ(running.host.Calls().Count("IPresenterService::GetCanvasSize"), 0u)
            << c.size.iWidth << "x" << c.size.iHeight;
        EXPECT_EQ(running.host.Calls().Count("IPresenterService::SetSourceTransform"),
                  c.created ? 1u : 0u);
    }
}

}  // namespace
