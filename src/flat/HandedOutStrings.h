// The texts the flat session hands out to the host: a handed-out pointer stays valid while at
// most 10 further texts are handed out. The texts live in a ring of slots, one more than the 11
// kept, and each new text is written into the slot after the newest, whose storage it reuses:
// handing out a value costs no allocation once the texts of a fetch fit their slots.
#ifndef KAVEX_FLAT_HANDEDOUTSTRINGS_H
#define KAVEX_FLAT_HANDEDOUTSTRINGS_H

#include <array>
#include <cstddef>
#include <string>

namespace kavex {

class HandedOutStrings {
public:
    // How many texts stay valid at once: the newest and the 10 before it.
    static constexpr std::size_t kKept = 11;

    // Hands out a copy of length bytes of text.
    const char* copy(const char* text, std::size_t length);
    // Hands out text without copying it.
    const char* keep(std::string&& text);
    // The cleared string the next text is rendered into in place; finish() hands it out. Until
    // then every text handed out stays valid, and a second start() gives the same string again.
    std::string& start();
    // Hands out the string start() gave, or, when it stayed empty, nothing (nullptr).
    const std::string* finish();

    // The texts handed out and still valid, at most kKept.
    std::size_t count() const { return held; }
    // True when pointer is the text of one of them.
    bool holds(const char* pointer) const;

private:
    // The slot the next text goes into, its storage cleared (or let go when a large LOB left
    // it, so that one large read does not stay resident for the session's life).
    std::string& nextSlot();
    // Makes the next slot the newest text.
    const std::string& handOut();

    std::array<std::string, kKept + 1> slots;
    std::size_t next = 0;  // the slot after the newest text
    std::size_t held = 0;
};

}  // namespace kavex

#endif
