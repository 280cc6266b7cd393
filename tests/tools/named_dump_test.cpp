// The named dump: field names from the record's table beside the schema-less tree, and the
// catalogue of records it looks them up in.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/protocol_catalog.h"
#include "common/taf_tree.h"
#include "kinetra-taf/dump_text.h"
#include "plugin/engine_messages.h"
#include "taf/records/interactive_game.h"
#include "taf/records/start_config.h"
#include "taf/records/user_id.h"

namespace {

template <taf::Record T>
std::string NamedDump(const taf::Bytes& bytes) {
    std::vector<tafjson::TafField> fields;
    EXPECT_EQ(tafjson::decodeTree(bytes, fields).status, taf::kOk);
    return taftool::DumpText(fields, &taf::recordSchemaOf<T>());
}

TEST(NamedDump, NamesFieldsOfNestedRecordsListsAndMaps) {
    MERU::GetInteractiveGameInfoRsp games;
    games.vGameInfo = {{7, "crown", "", {"a"}, ""}};
    EXPECT_EQ(NamedDump<MERU::GetInteractiveGameInfoRsp>(taf::toBytes(games)),
              "     0  tag 0 vGameInfo list [1]\n"
              "     3    tag 0 struct\n"
              "     4      tag 0 iValue0 int8 7\n"
              "     6      tag 1 sText1 string1 [5] \"crown\"\n"
              "    13      tag 2 sText2 string1 [0] \"\"\n"
              "    15      tag 3 vText3 list [1]\n"
              "    18        tag 0 string1 [1] \"a\"\n"
              "    21      tag 4 sText4 string1 [0] \"\"\n");

    MERU::GetConfigRsp config;
    config.mpConfig = {{"k", "v"}};
    EXPECT_EQ(NamedDump<MERU::GetConfigRsp>(taf::toBytes(config)),
              "     0  tag 0 mpConfig map [1]\n"
              "     3    tag 0 string1 [1] \"k\"\n"
              "     6    tag 1 string1 [1] \"v\"\n"
              "     9  tag 1 mpExperiment map [0]\n");
}

// A tag the record does not declare, and a declared struct that arrives as an integer, keep
// the schema-less form.
TEST(NamedDump, UnknownOrMismatchedFieldsStayUnnamed) {
    taf::TafOutputStream out;
    ASSERT_EQ(out.writeInt(9, 0), taf::kOk);
    ASSERT_EQ(out.writeInt(5, 7), taf::kOk);
    ASSERT_EQ(out.writeInt(1, 12), taf::kOk);
    const std::string dump =
        NamedDump<MeruKinetra::StartConfigMsg>(taf::Bytes(out.data(), out.data() + out.size()));
    EXPECT_EQ(dump, "     0  tag 0 int8 9\n     2  tag 7 iGameId int8 5\n     4  tag 12 int8 1\n");
}

TEST(ProtocolCatalog, HoldsEveryRecordOnceAndFindsItsRecords) {
    const auto& catalog = tafjson::protocolCatalog();
    std::set<std::string_view> names;
    for (const auto* record : catalog.records) {
        EXPECT_TRUE(names.insert(record->name).second) << record->name << " declared twice";
    }
    EXPECT_EQ(tafjson::findRecord("MERU.UserId"), &taf::recordSchemaOf<MERU::UserId>());
    EXPECT_EQ(tafjson::findEngineRecord(kinetra::number(kinetra::ToEngine::kStartConfig)),
              &taf::recordSchemaOf<MeruKinetra::StartConfigMsg>());
    EXPECT_EQ(tafjson::findRecord("StartConfig"), nullptr);
}

}  // namespace
