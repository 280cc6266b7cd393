// CJsonObject: adding, replacing and deleting members and elements.
#include "core/json_node.h"
#include "core/json_object.h"

namespace meru {
namespace {

constexpr const char* kNoData = "json data is null!";
constexpr const char* kNotObject = "not a json object! json array?";
constexpr const char* kNotArray = "not a json array! json object?";

}  // namespace

bool CJsonObject::ShapeIs(const json_node* node, ContainerKind kind) {
    if (json_type_of(node) == (kind == kObject ? json_object : json_array)) {
        return true;
    }
    error = kind == kObject ? kNotObject : kNotArray;
    return false;
}

json_node* CJsonObject::ContainerToAddTo(ContainerKind kind) {
    if (Node() == nullptr) {
        data = json_create(kind == kObject ? json_object : json_array);
        if (data == nullptr) {
            error = kNoData;
            return nullptr;
        }
    }
    return ShapeIs(Node(), kind) ? Node() : nullptr;
}

json_node* CJsonObject::ExistingContainer(ContainerKind kind) {
    if (Node() == nullptr) {
        error = kNoData;
        return nullptr;
    }
    return ShapeIs(Node(), kind) ? Node() : nullptr;
}

bool CJsonObject::AddMember(json_node* object, const std::string& key, json_node* item) {
    if (item == nullptr) {
        return false;
    }
    item->key = json_strdup(key.c_str());
    if (item->key == nullptr) {
        json_delete(item);
        return false;
    }
    json_append_child(object, item);
    Changed();
    return true;
}

bool CJsonObject::AddElement(json_node* array, json_node* item, bool first) {
    if (item == nullptr) {
        return false;
    }
    if (first) {
        json_prepend_child(array, item);
    } else {
        json_append_child(array, item);
    }
    Changed();
    return true;
}

bool CJsonObject::AddEmptyContainer(const std::string& key, int32_t type, const char* failure) {
    json_node* object = ContainerToAddTo(kObject);
    if (object == nullptr) {
        return false;
    }
    if (!AddMember(object, key, json_create(type))) {
        error = failure;
        return false;
    }
    return true;
}

bool CJsonObject::AddEmptySubObject(const std::string& key) {
    return AddEmptyContainer(key, json_object, "create sub empty object error!");
}

bool CJsonObject::AddEmptySubArray(const std::string& key) {
    return AddEmptyContainer(key, json_array, "create sub empty array error!");
}

bool CJsonObject::ReplaceMember(json_node* object, const std::string& key, json_node* item) {
    json_node* old = json_object_member(object, key.c_str());
    if (item == nullptr || old == nullptr) {
        json_delete(item);
        return false;
    }
    // A parsed member's key lives in its tree's arena and stays there; others move over.
    if ((old->type & json_in_arena) != 0) {
        if ((item->key = json_strdup(old->key)) == nullptr) {
            json_delete(item);
            return false;
        }
    } else {
        item->key = old->key;
        old->key = nullptr;
    }
    json_replace_child(object, old, item);
    ForgetViewsOf(old);
    json_delete(old);
    Changed();
    return true;
}

bool CJsonObject::ReplaceElement(json_node* array, unsigned int index, json_node* item) {
    json_node* old = json_array_element(array, index);
    if (item == nullptr || old == nullptr) {
        json_delete(item);
        return false;
    }
    json_replace_child(array, old, item);
    ForgetViewsOf(old);
    json_delete(old);
    Changed();
    return true;
}

void CJsonObject::Remove(json_node* container, json_node* item) {
    if (item == nullptr) {
        return;
    }
    json_detach_child(container, item);
    ForgetViewsOf(item);
    json_delete(item);
    Changed();
}

bool CJsonObject::Delete(const std::string& key) {
    json_node* object = ExistingContainer(kObject);
    if (object == nullptr) {
        return false;
    }
    Remove(object, json_object_member(object, key.c_str()));
    return true;
}

bool CJsonObject::Delete(unsigned int index) {
    json_node* array = ExistingContainer(kArray);
    if (array == nullptr) {
        return false;
    }
    Remove(array, json_array_element(array, index));
    return true;
}

}  // namespace meru
