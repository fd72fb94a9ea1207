#include "values/CharacterCut.h"

#include "values/TypeCodes.h"

namespace kavex {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the sequence a lead byte starts; 1 for a byte that starts none.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead < 0xF0 ? 3 : 1;
    }
    return lead >= 0xC0 ? 2 : 1;
}

}  // namespace

void dropPartialLastCharacter(std::string& text) {
    // The last lead byte lies at most three bytes before the end of a partial sequence.
    std::size_t lead = text.size();
    while (lead > 0 && text.size() - lead < 4) {
        --lead;
        const auto byte = static_cast<unsigned char>(text[lead]);
        if (!isContinuation(byte)) {
            if (sequenceLength(byte) > text.size() - lead) {
                text.resize(lead);
            }
            return;
        }
    }
}

void keepWholeCharacters(std::string& text, const ColumnInfo& column, std::int32_t maxLength) {
    if (column.type == types::kLong && maxLength > 0 &&
        text.size() >= static_cast<std::size_t>(maxLength)) {
        dropPartialLastCharacter(text);
    }
}

}  // namespace kavex
