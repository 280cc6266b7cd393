// Blocks the parser takes a tree's nodes and texts from, freed all at once with the tree: one
// allocation per block instead of one per node, key and string.
#pragma once

#include <cstddef>

#include "core/json_node.h"

namespace meru {

// Header of each block; the root node follows the first block's header.
struct JsonArenaBlock {
    JsonArenaBlock* next;
    size_t size;
};

class JsonArena {
public:
    // The first block is sized for a text of `textLength` bytes; later blocks are larger.
    explicit JsonArena(size_t textLength) : nextBlockSize_(FirstBlockSize(textLength)) {}
    JsonArena(const JsonArena&) = delete;
    JsonArena& operator=(const JsonArena&) = delete;
    // Frees every block, unless Keep handed them to the tree.
    ~JsonArena();

    // Room for a node of `size` bytes (a multiple of 8); null when allocation fails. The first
    // node taken is the root: json_arena_release finds the blocks from it.
    void* Node(size_t size) {
        if (static_cast<size_t>(textEnd_ - nodeEnd_) < size && !Grow(size)) {
            return nullptr;
        }
        void* node = nodeEnd_;
        nodeEnd_ += size;
        return node;
    }
    // Room for up to `size` bytes of text; null when allocation fails.
    char* Text(size_t size) {
        if (static_cast<size_t>(textEnd_ - nodeEnd_) < size && !Grow(size)) {
            return nullptr;
        }
        textEnd_ -= size;
        return textEnd_;
    }
    // The tree's root now owns the blocks.
    void Keep() { blocks_ = nullptr; }

private:
    using Block = JsonArenaBlock;
    static size_t FirstBlockSize(size_t textLength);
    bool Grow(size_t size);

    Block* blocks_ = nullptr;  // the first block, whose next links the others
    char* nodeEnd_ = nullptr;  // nodes grow upwards from the block's start,
    char* textEnd_ = nullptr;  // texts downwards from its end
    size_t nextBlockSize_;
};

// Frees the blocks of a parsed tree, given its root (flagged json_owns_arena).
void json_arena_release(json_node* root);

}  // namespace meru
