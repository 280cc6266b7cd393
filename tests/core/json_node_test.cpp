// Tests of the node tree: key lookup and freeing of reference nodes.
#include "core/json_node.h"

#include <gtest/gtest.h>

#include "core/json_parse.h"
#include "json_test_allocator.h"

namespace meru {
namespace {

TEST(JsonNode, KeyLookupFoldsAsciiLettersOnly) {
    json_node* object = json_parse(R"({"Key_1":1,"@":2,"\u00c9":3,"key_1":4})");
    ASSERT_NE(object, nullptr);
    const std::pair<const char*, bool> cases[] = {
        {"kEY_1", true}, {"Key_1", true}, {"Key_", false},     {"Key_1x", false},
        {"`", false},    {"@", true},     {"\xC3\xA9", false},  // é is not É
        {"", false},
    };
    for (const auto& [key, found] : cases) {
        json_node* member = json_object_member(object, key);
        EXPECT_EQ(member != nullptr, found) << key;
        if (member != nullptr && key[0] == 'k') {
            EXPECT_EQ(member->valueint, 1) << "the first match in document order";
        }
    }
    EXPECT_EQ(json_object_member(object->child, "Key_1"), nullptr);  // not an object
    json_delete(object);
}

// A node marked as a reference frees only itself and its key: the text or children it points
// at belong to another tree.
TEST(JsonNode, ReferenceNodeLeavesWhatItRefersTo) {
    json_node* owner = json_parse(R"({"list":[1,2],"text":"shared"})");
    ASSERT_NE(owner, nullptr);
    for (const char* member : {"list", "text"}) {
        testing::CountingAllocator allocator;
        const json_node* target = json_object_member(owner, member);
        json_node* view = json_create(json_type_of(target) | json_is_reference);
        ASSERT_NE(view, nullptr);
        view->key = json_strdup("view");
        if (json_is_container(target)) {
            view->child = target->child;
        } else {
            view->valuestring = target->valuestring;
        }
        json_delete(view);
        EXPECT_EQ(testing::CountingAllocator::live(), 0) << member;
    }
    EXPECT_EQ(json_array_element(json_object_member(owner, "list"), 1)->valueint, 2);
    EXPECT_STREQ(json_object_member(owner, "text")->valuestring, "shared");
    json_delete(owner);
}

}  // namespace
}  // namespace meru
