#include "values/LobReading.h"

#include <algorithm>
#include <vector>

#include "values/CharacterCut.h"

namespace kavex {

namespace {

constexpr unsigned int kReadPiece = 128;

// How much of a value of `length` units to read: at most maxLength. The comparison is made
// without narrowing, so a value longer than 2^31 - 1 units is cut, not taken for empty.
unsigned int amountToRead(unsigned int length, std::int32_t maxLength) {
    if (maxLength <= 0) {
        return 0;
    }
    return std::min(length, static_cast<unsigned int>(maxLength));
}

// Reads the first `amount` units through a stream that is closed on every path.
template <class Lob>
std::string readThroughStream(Lob& lob, unsigned int amount) {
    occi::Stream* stream = lob.getStream(1, amount);
    std::string bytes;
    try {
        bytes = readLobStream(*stream);
    } catch (...) {
        try {
            lob.closeStream(stream);
        } catch (...) {
        }
        throw;
    }
    lob.closeStream(stream);
    return bytes;
}

}  // namespace

std::string readLobStream(occi::Stream& stream) {
    std::string bytes;
    char piece[kReadPiece];
    for (;;) {
        const int delivered = stream.readBuffer(piece, kReadPiece);
        if (delivered <= 0) {
            break;
        }
        bytes.append(piece, static_cast<std::size_t>(std::min<int>(delivered, kReadPiece)));
    }
    return bytes;
}

namespace {

// Opens the LOB read-only for the read and closes it on every path: a LOB left open past the
// transaction is an error for the server, and a failed read must not leave it so.
// `cut` tells whether the value was longer than what was read.
template <class Lob, class Prepare>
std::string readOpened(Lob& lob, std::int32_t maxLength, Prepare prepare, bool& cut) {
    lob.open(occi::OCCI_LOB_READONLY);
    std::string bytes;
    try {
        prepare();
        const unsigned int length = lob.length();
        const unsigned int amount = amountToRead(length, maxLength);
        cut = amount < length;
        if (amount > 0) {
            bytes = readThroughStream(lob, amount);
        }
    } catch (...) {
        try {
            lob.close();
        } catch (...) {
        }
        throw;
    }
    lob.close();
    return bytes;
}

}  // namespace

std::string readClobText(occi::Clob& clob, std::int32_t charSetForm, std::int32_t maxLength) {
    // Forms the client does not know are read as the database character set.
    const bool knownForm = charSetForm >= occi::OCCI_SQLCS_IMPLICIT &&
                           charSetForm <= occi::OCCI_SQLCS_FLEXIBLE;
    const occi::CharSetForm form =
        knownForm ? static_cast<occi::CharSetForm>(charSetForm) : occi::OCCI_SQLCS_IMPLICIT;
    bool cut = false;
    std::string text = readOpened(clob, maxLength, [&] { clob.setCharSetForm(form); }, cut);
    if (cut) {
        // The amount counts characters, but a client that reads in bytes may still stop inside one.
        dropPartialLastCharacter(text);
    }
    return text;
}

std::string readBlobBytes(occi::Blob& blob, std::int32_t maxLength) {
    bool cut = false;
    return readOpened(blob, maxLength, [] {}, cut);
}

std::string readRawBytes(const occi::Bytes& bytes, std::int32_t maxLength) {
    const unsigned int amount = amountToRead(bytes.length(), maxLength);
    if (amount == 0) {
        return std::string();
    }
    std::vector<unsigned char> buffer(amount);
    bytes.getBytes(buffer.data(), amount, 0, 0);
    return std::string(buffer.begin(), buffer.end());
}

}  // namespace kavex
