// CJsonObject: parsing, printing, the subscript wrappers and key iteration.
#include "core/json_object.h"

#include <climits>
#include <cstring>
#include <memory>

#include "core/json_node.h"
#include "core/json_parse.h"
#include "core/json_print.h"

namespace meru {
namespace {

std::string print_text(const json_node* node, bool formatted) {
    std::string text;
    if (node == nullptr || !json_print_to(node, formatted, text)) {
        return {};
    }
    return text;
}

}  // namespace

CJsonObject::CJsonObject(const std::string& text) {
    Parse(text);
}

CJsonObject::CJsonObject(const CJsonObject& other) {
    Parse(other.ToString());
}

CJsonObject& CJsonObject::operator=(const CJsonObject& other) {
    if (this != &other) {
        Parse(other.ToString());
    }
    return *this;
}

CJsonObject::~CJsonObject() {
    Clear();
}

bool CJsonObject::Parse(const std::string& text) {
    Clear();
    data = json_parse(text.c_str());
    if (data == nullptr) {
        error = ParseErrorText(text);
        return false;
    }
    return true;
}

std::string CJsonObject::ParseErrorText(const std::string& text) const {
    std::string message = "prase json string error at ";
    // The position is shared by all threads: it may belong to another text and lie beyond ours.
    const size_t offset = json_last_error_offset();
    if (offset <= std::strlen(text.c_str())) {
        message += text.c_str() + offset;
    }
    return message;
}

void CJsonObject::Clear() {
    json_delete(data);
    data = nullptr;
    ref = nullptr;
    DestroyWrappers();
    keys.clear();
    keyPosition = 0;
}

bool CJsonObject::IsEmpty() const {
    return Node() == nullptr;
}

bool CJsonObject::IsArray() const {
    return Node() != nullptr && json_type_of(Node()) == json_array;
}

std::string CJsonObject::ToString() const {
    return print_text(Node(), false);
}

std::string CJsonObject::ToFormattedString() const {
    return print_text(Node(), true);
}

int CJsonObject::GetArraySize() const {
    if (!IsArray()) {
        return 0;
    }
    const size_t count = json_child_count(Node());
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

json_node* CJsonObject::Member(const std::string& key) const {
    return json_object_member(Node(), key.c_str());
}

json_node* CJsonObject::Element(unsigned int index) const {
    return json_array_element(Node(), index);
}

CJsonObject& CJsonObject::operator[](const std::string& key) {
    auto found = wrappersByKey.find(key);
    if (found == wrappersByKey.end()) {
        auto wrapper = std::make_unique<CJsonObject>();
        found = wrappersByKey.emplace(key, wrapper.get()).first;
        wrapper.release();
    }
    found->second->View(Member(key));
    return *found->second;
}

CJsonObject& CJsonObject::operator[](unsigned int index) {
    auto found = wrappersByIndex.find(index);
    if (found == wrappersByIndex.end()) {
        auto wrapper = std::make_unique<CJsonObject>();
        found = wrappersByIndex.emplace(index, wrapper.get()).first;
        wrapper.release();
    }
    found->second->View(Element(index));
    return *found->second;
}

// A wrapper that was handed a document of its own (by Parse or by adding to it while empty)
// keeps it for as long as this document has no such member.
void CJsonObject::View(json_node* node) {
    const bool current = data != nullptr ? node == nullptr : ref == node;
    if (!current) {
        Clear();
        ref = node;
    }
}

void CJsonObject::ForgetViewsOf(const json_node* removed) {
    for (auto& entry : wrappersByIndex) {
        if (entry.second->ref == removed) {
            entry.second->Clear();
        }
    }
    for (auto& entry : wrappersByKey) {
        if (entry.second->ref == removed) {
            entry.second->Clear();
        }
    }
}

void CJsonObject::DestroyWrappers() {
    CJsonObject* doomed = nullptr;
    auto collect = [&doomed](CJsonObject& owner) {
        for (auto& entry : owner.wrappersByIndex) {
            entry.second->nextDoomed = doomed;
            doomed = entry.second;
        }
        for (auto& entry : owner.wrappersByKey) {
            entry.second->nextDoomed = doomed;
            doomed = entry.second;
        }
        owner.wrappersByIndex.clear();
        owner.wrappersByKey.clear();
    };
    collect(*this);
    while (doomed != nullptr) {
        CJsonObject* wrapper = doomed;
        doomed = wrapper->nextDoomed;
        collect(*wrapper);
        delete wrapper;
    }
}

bool CJsonObject::GetKey(std::string& key) {
    const json_node* node = Node();
    if (node == nullptr || json_type_of(node) != json_object) {
        return false;
    }
    if (keyPosition == 0 && keys.empty()) {
        for (const json_node* member = node->child; member != nullptr; member = member->next) {
            keys.emplace_back(member->key != nullptr ? member->key : "");
        }
    }
    if (keyPosition >= keys.size()) {
        return false;
    }
    key = keys[keyPosition++];
    return true;
}

void CJsonObject::ResetTraversing() {
    keyPosition = 0;
}

void CJsonObject::Changed() {
    keys.clear();
    keyPosition = 0;
}

}  // namespace meru
