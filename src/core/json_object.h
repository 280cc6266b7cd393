// meru::CJsonObject: the JSON document the plug-in reads configuration from and builds
// engine messages with. Not for sharing between threads.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace meru {

struct json_node;
class CJsonObject;

// The value types that Get, Add, AddAsFirst and Replace take. Integers added through the signed
// types print as signed, through the unsigned types as unsigned.
template <typename T>
concept JsonValue =
    std::same_as<T, int32_t> || std::same_as<T, uint32_t> || std::same_as<T, int64_t> ||
    std::same_as<T, uint64_t> || std::same_as<T, bool> || std::same_as<T, float> ||
    std::same_as<T, double> || std::same_as<T, std::string> || std::same_as<T, CJsonObject>;

// A document owns its tree (`data`) or views a node of another document's tree (`ref`, as the
// wrappers returned by the subscripts do); a document with neither is empty. Operations that
// fail return false, and those that fail on the document's shape leave a text in GetErrMsg().
class CJsonObject {
public:
    CJsonObject() = default;
    explicit CJsonObject(const std::string& text);
    // Copies go through text: the copy owns a tree of its own.
    CJsonObject(const CJsonObject& other);
    CJsonObject& operator=(const CJsonObject& other);
    virtual ~CJsonObject();

    bool Parse(const std::string& text);
    // Forgets the tree and destroys the wrappers handed out by the subscripts.
    void Clear();
    bool IsEmpty() const;
    bool IsArray() const;
    std::string ToString() const;
    std::string ToFormattedString() const;
    int GetArraySize() const;
    const std::string& GetErrMsg() const { return error; }

    // A wrapper viewing the member or element, owned by this document until it is cleared or
    // destroyed; an empty wrapper when there is no such member or element. Each call brings the
    // wrapper up to date with the tree, so it never views a member that was deleted since.
    CJsonObject& operator[](const std::string& key);
    CJsonObject& operator[](unsigned int index);

    // True when the member or element exists and holds exactly the type asked for; otherwise
    // false with `value` untouched. A CJsonObject receives a copy of any value.
    template <JsonValue T>
    bool Get(const std::string& key, T& value) const {
        return Read(Member(key), value);
    }
    template <JsonValue T>
    bool Get(unsigned int index, T& value) const {
        return Read(Element(index), value);
    }

    // Appends a member (an empty document becomes an object); a member of the same name is kept.
    template <JsonValue T>
    bool Add(const std::string& key, const T& value) {
        json_node* object = ContainerToAddTo(kObject);
        return object != nullptr && AddMember(object, key, NewNode(value));
    }
    // Appends an element (an empty document becomes an array).
    template <JsonValue T>
    bool Add(const T& value) {
        json_node* array = ContainerToAddTo(kArray);
        return array != nullptr && AddElement(array, NewNode(value), false);
    }
    template <JsonValue T>
    bool AddAsFirst(const T& value) {
        json_node* array = ContainerToAddTo(kArray);
        return array != nullptr && AddElement(array, NewNode(value), true);
    }
    bool AddEmptySubObject(const std::string& key);
    bool AddEmptySubArray(const std::string& key);

    // Replaces the value of the first member with that key (the key stays as it was written).
    template <JsonValue T>
    bool Replace(const std::string& key, const T& value) {
        json_node* object = ExistingContainer(kObject);
        return object != nullptr && ReplaceMember(object, key, NewNode(value));
    }
    template <JsonValue T>
    bool Replace(unsigned int index, const T& value) {
        json_node* array = ExistingContainer(kArray);
        return array != nullptr && ReplaceElement(array, index, NewNode(value));
    }
    // Removes the first member with that key, or the element; true also when there was none.
    bool Delete(const std::string& key);
    bool Delete(unsigned int index);

    // The member names of an object one by one, in document order; false after the last. Any
    // change made through this document starts the walk again from the first member.
    bool GetKey(std::string& key);
    void ResetTraversing();

private:
    enum ContainerKind { kObject, kArray };

    json_node* Node() const { return data != nullptr ? data : ref; }
    json_node* Member(const std::string& key) const;
    json_node* Element(unsigned int index) const;
    // The node to add to, creating an empty root when there is none; null with an error text.
    json_node* ContainerToAddTo(ContainerKind kind);
    json_node* ExistingContainer(ContainerKind kind);
    bool ShapeIs(const json_node* node, ContainerKind kind);
    // These take ownership of `item` (null after a failed allocation gives false).
    bool AddMember(json_node* object, const std::string& key, json_node* item);
    bool AddElement(json_node* array, json_node* item, bool first);
    bool ReplaceMember(json_node* object, const std::string& key, json_node* item);
    bool ReplaceElement(json_node* array, unsigned int index, json_node* item);
    void Remove(json_node* container, json_node* item);
    bool AddEmptyContainer(const std::string& key, int32_t type, const char* failure);
    void Changed();
    void View(json_node* node);
    void ForgetViewsOf(const json_node* removed);
    void DestroyWrappers();
    std::string ParseErrorText(const std::string& text) const;

    json_node* NewNode(int32_t value);
    json_node* NewNode(uint32_t value);
    json_node* NewNode(int64_t value);
    json_node* NewNode(uint64_t value);
    json_node* NewNode(bool value);
    json_node* NewNode(float value);
    json_node* NewNode(double value);
    json_node* NewNode(const std::string& value);
    json_node* NewNode(const CJsonObject& value);
    static bool Read(const json_node* node, int32_t& value);
    static bool Read(const json_node* node, uint32_t& value);
    static bool Read(const json_node* node, int64_t& value);
    static bool Read(const json_node* node, uint64_t& value);
    static bool Read(const json_node* node, bool& value);
    static bool Read(const json_node* node, float& value);
    static bool Read(const json_node* node, double& value);
    static bool Read(const json_node* node, std::string& value);
    static bool Read(const json_node* node, CJsonObject& value);

    json_node* data = nullptr;
    json_node* ref = nullptr;
    std::string error;
    std::map<unsigned int, CJsonObject*> wrappersByIndex;
    std::map<std::string, CJsonObject*> wrappersByKey;
    std::vector<std::string> keys;
    size_t keyPosition = 0;
    // Links wrappers waiting to be destroyed, so deep chains of them are freed without recursion.
    CJsonObject* nextDoomed = nullptr;
};

}  // namespace meru
