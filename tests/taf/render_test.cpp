#include "taf/render.h"

#include <gtest/gtest.h>

#include "taf/records/user_id.h"
#include "taf/test_records.h"

namespace taf {
namespace {

TEST(TafRender, ShowsFieldNamesNestingAndByteVectorPrefixes) {
    test::AllKinds value;
    value.sText = "say \"hi\"\n";
    value.vData = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    value.vInner = {{1, "a"}};
    value.vFlags = {true};
    value.vGrid = {{1}, {}};
    value.mpCounts = {{"k", -2}};
    value.dRatio = 0.5;
    EXPECT_EQ(render(value),
              "AllKinds{bFlag=true, cSmall=0, iShort=0, iValue=-1, lBig=0, dRatio=0.5, "
              "sText=\"say \\\"hi\\\"\\x0a\", vData=<10 bytes: 0001020304050607...>, "
              "vNumbers=[], vNames=[], vInner=[Inner{iValue=1, sName=\"a\"}], vFlags=[true], "
              "vGrid=[[1], []], mpCounts={\"k\": -2}, mpInner={}, mpLists={}, "
              "tInner=Inner{iValue=0, sName=\"\"}}");
    EXPECT_EQ(render(Bytes{0xAB}), "<1 bytes: ab>");
}

TEST(TafRender, KeepsSecretsOutOfTheLog) {
    MERU::UserId id;
    id.lUid = 7;
    id.sToken = "token-value";
    id.sCookie = "cookie-value";
    const std::string text = render(id);
    EXPECT_EQ(text.find("value"), std::string::npos) << text;
    EXPECT_NE(text.find("sToken=<hidden>"), std::string::npos) << text;
}

}  // namespace
}  // namespace taf
