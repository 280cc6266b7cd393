// Growth and release of the parser's arena blocks.
#include "core/internal/json_arena.h"

#include <algorithm>

namespace meru {
namespace {

// Large enough that a big document takes few blocks, small enough that the unused end of the
// last block stays a small share of it.
constexpr size_t kLargestBlock = 64 * 1024;
constexpr size_t kSmallestBlock = 256;

}  // namespace

JsonArena::~JsonArena() {
    for (Block* block = blocks_; block != nullptr;) {
        Block* next = block->next;
        json_free(block);
        block = next;
    }
}

// Configuration texts take about twice their length as nodes and texts.
size_t JsonArena::FirstBlockSize(size_t textLength) {
    return std::clamp(textLength * 2, kSmallestBlock, kLargestBlock);
}

bool JsonArena::Grow(size_t size) {
    // Texts may be any length; the block is rounded to 8 bytes so nodes stay aligned.
    const size_t payload = (std::max(size, nextBlockSize_) + 7) & ~size_t{7};
    auto* block = static_cast<Block*>(json_allocate(sizeof(Block) + payload));
    if (block == nullptr) {
        return false;
    }
    block->size = payload;
    if (blocks_ == nullptr) {
        block->next = nullptr;
        blocks_ = block;
    } else {
        block->next = blocks_->next;
        blocks_->next = block;
    }
    nodeEnd_ = reinterpret_cast<char*>(block + 1);
    textEnd_ = nodeEnd_ + payload;
    nextBlockSize_ = std::min(nextBlockSize_ * 2, kLargestBlock);
    return true;
}

void json_arena_release(json_node* root) {
    // The root was the first node of the first block, right after its header.
    auto* block = reinterpret_cast<JsonArenaBlock*>(root) - 1;
    while (block != nullptr) {
        JsonArenaBlock* next = block->next;
        json_free(block);
        block = next;
    }
}

}  // namespace meru
