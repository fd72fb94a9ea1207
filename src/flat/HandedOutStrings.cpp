#include "flat/HandedOutStrings.h"

#include <utility>

namespace kavex {

namespace {

// Storage beyond this held a LOB or a long text: it is let go rather than reused.
constexpr std::size_t kReusedCapacity = 64 * 1024;

}  // namespace

std::string& HandedOutStrings::nextSlot() {
    std::string& slot = slots[next];
    if (slot.capacity() > kReusedCapacity) {
        std::string().swap(slot);
    } else {
        slot.clear();
    }
    return slot;
}

const std::string& HandedOutStrings::handOut() {
    const std::string& text = slots[next];
    if (++next == slots.size()) {
        next = 0;
    }
    if (held < kKept) {
        ++held;
    }
    return text;
}

const char* HandedOutStrings::copy(const char* text, std::size_t length) {
    nextSlot().assign(text, length);
    return handOut().c_str();
}

const char* HandedOutStrings::keep(std::string&& text) {
    slots[next] = std::move(text);
    return handOut().c_str();
}

std::string& HandedOutStrings::start() { return nextSlot(); }

const std::string* HandedOutStrings::finish() {
    if (slots[next].empty()) {
        return nullptr;
    }
    return &handOut();
}

bool HandedOutStrings::holds(const char* pointer) const {
    for (std::size_t back = 1; back <= held; ++back) {
        if (slots[(next + slots.size() - back) % slots.size()].c_str() == pointer) {
            return true;
        }
    }
    return false;
}

}  // namespace kavex
