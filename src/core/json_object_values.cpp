// CJsonObject: turning typed values into nodes and reading them back with exact type matching.
#include "core/json_copy.h"
#include "core/json_node.h"
#include "core/json_object.h"
#include "core/json_parse.h"
#include "core/json_print.h"

namespace meru {
namespace {

bool is_int(const json_node* node) {
    return node != nullptr && json_type_of(node) == json_int;
}

bool is_double(const json_node* node) {
    return node != nullptr && json_type_of(node) == json_double;
}

}  // namespace

json_node* CJsonObject::NewNode(int32_t value) {
    return json_create_int(value, json_signed);
}

json_node* CJsonObject::NewNode(uint32_t value) {
    return json_create_int(value, json_unsigned);
}

json_node* CJsonObject::NewNode(int64_t value) {
    return json_create_int(value, json_signed);
}

json_node* CJsonObject::NewNode(uint64_t value) {
    return json_create_int(static_cast<int64_t>(value), json_unsigned);
}

json_node* CJsonObject::NewNode(bool value) {
    return json_create(value ? json_true : json_false);
}

json_node* CJsonObject::NewNode(float value) {
    return json_create_double(value);
}

json_node* CJsonObject::NewNode(double value) {
    return json_create_double(value);
}

json_node* CJsonObject::NewNode(const std::string& value) {
    return json_create_string(value.c_str());
}

// The value is copied as its compact text reads back, before anything is linked, so adding a
// document to itself is safe. A value nested deeper than the parser goes is parsed from its
// text, for the error text that gives.
json_node* CJsonObject::NewNode(const CJsonObject& value) {
    if (value.Node() != nullptr) {
        bool tooDeep = false;
        if (json_node* copy = json_copy_as_text(value.Node(), tooDeep)) {
            return copy;
        }
        if (!tooDeep) {
            error = ParseErrorText({});  // out of memory: the text without a position
            return nullptr;
        }
    }
    const std::string text = value.ToString();
    json_node* node = json_parse(text.c_str());
    if (node == nullptr) {
        error = ParseErrorText(text);
    }
    return node;
}

// The 32-bit forms keep the low 32 bits.
bool CJsonObject::Read(const json_node* node, int32_t& value) {
    if (!is_int(node)) {
        return false;
    }
    value = static_cast<int32_t>(node->valueint);
    return true;
}

bool CJsonObject::Read(const json_node* node, uint32_t& value) {
    if (!is_int(node)) {
        return false;
    }
    value = static_cast<uint32_t>(node->valueint);
    return true;
}

bool CJsonObject::Read(const json_node* node, int64_t& value) {
    if (!is_int(node)) {
        return false;
    }
    value = node->valueint;
    return true;
}

bool CJsonObject::Read(const json_node* node, uint64_t& value) {
    if (!is_int(node)) {
        return false;
    }
    value = static_cast<uint64_t>(node->valueint);
    return true;
}

bool CJsonObject::Read(const json_node* node, bool& value) {
    if (node == nullptr || (json_type_of(node) != json_true && json_type_of(node) != json_false)) {
        return false;
    }
    value = json_type_of(node) == json_true;
    return true;
}

bool CJsonObject::Read(const json_node* node, float& value) {
    if (!is_double(node)) {
        return false;
    }
    value = static_cast<float>(node->valuedouble);
    return true;
}

bool CJsonObject::Read(const json_node* node, double& value) {
    if (!is_double(node)) {
        return false;
    }
    value = node->valuedouble;
    return true;
}

bool CJsonObject::Read(const json_node* node, std::string& value) {
    if (node == nullptr || json_type_of(node) != json_string) {
        return false;
    }
    value = node->valuestring != nullptr ? node->valuestring : "";
    return true;
}

// Any value: copied as its formatted text reads back; through the text itself when it nests
// deeper than the parser goes, for the error text that gives.
bool CJsonObject::Read(const json_node* node, CJsonObject& value) {
    if (node == nullptr) {
        return false;
    }
    bool tooDeep = false;
    if (json_node* copy = json_copy_as_text(node, tooDeep)) {
        value.Clear();
        value.data = copy;
        return true;
    }
    if (!tooDeep) {
        return false;
    }
    size_t length = 0;
    char* text = json_print(node, true, &length);
    if (text == nullptr) {
        return false;
    }
    const std::string copy(text, length);
    json_free(text);
    return value.Parse(copy);
}

}  // namespace meru
