// LOB locators: Clob, Blob and Bfile are cheap handles onto shared content. A copy is a new
// locator on the same content; the streams a locator opened belong to it alone.
#include <algorithm>

#include "base/access.h"
#include "base/charset.h"
#include "base/errors.h"
#include "base/faults.h"
#include "base/ora_messages.h"
#include "base/utf8.h"
#include "occi/streams.h"
#include "storage/lob_content.h"

namespace kavexdb {
namespace detail {

namespace {

std::shared_ptr<LobLocator> locatorOn(std::shared_ptr<LobContent> content, Charset cs) {
    if (!content) return nullptr;
    auto locator = std::make_shared<LobLocator>();
    locator->content = std::move(content);
    locator->charset = cs;
    return locator;
}

std::shared_ptr<LobLocator> copyOf(const std::shared_ptr<LobLocator>& from) {
    if (!from) return nullptr;
    auto locator = std::make_shared<LobLocator>();
    locator->content = from->content;
    locator->charset = from->charset;
    locator->charSetForm = from->charSetForm;
    locator->isBfile = from->isBfile;
    locator->bfileName = from->bfileName;
    return locator;
}

bool holdsValue(const std::shared_ptr<LobLocator>& locator) {
    return locator && (locator->content || (locator->isBfile && !locator->bfileName.empty()));
}

[[noreturn]] void invalidLocator() { raise(ora::kInvalidLobLocator); }

[[noreturn]] void noSuchFile() { raise(ora::kNoFileToOpen); }

[[noreturn]] void foreignStream() { raise(ora::kNotOnStream); }

LobLocator& valueOf(const std::shared_ptr<LobLocator>& locator) {
    if (!holdsValue(locator)) invalidLocator();
    return *locator;
}

void openLocator(const std::shared_ptr<LobLocator>& locator) {
    LobLocator& l = valueOf(locator);
    if (l.isOpen) raise(ora::kLobAlreadyOpen);
    l.isOpen = true;
}

void closeLocator(const std::shared_ptr<LobLocator>& locator) {
    LobLocator& l = valueOf(locator);
    if (!l.isOpen) raise(ora::kLobNotOpen);
    l.isOpen = false;
}

occi::Stream* openStream(const std::shared_ptr<LobLocator>& locator, unsigned int offset,
                         unsigned int amount) {
    LobLocator& l = valueOf(locator);
    auto stream = std::make_unique<LobStream>(l.content, l.charset, offset, amount);
    l.streams.push_back(std::move(stream));
    return l.streams.back().get();
}

// Releases a stream this locator opened; a null stream is nothing to close.
void releaseStream(const std::shared_ptr<LobLocator>& locator, occi::Stream* stream) {
    if (stream == nullptr) return;
    if (!locator) foreignStream();
    auto& streams = locator->streams;
    auto it = std::find_if(streams.begin(), streams.end(),
                           [stream](const std::unique_ptr<occi::Stream>& s) { return s.get() == stream; });
    if (it == streams.end()) foreignStream();
    std::unique_ptr<occi::Stream> owned = std::move(*it);
    streams.erase(it);
    static_cast<LobStream*>(owned.get())->finish();
}

}  // namespace

occi::Clob makeClob(std::shared_ptr<LobContent> content, Charset cs) {
    occi::Clob lob;
    Access::locator(lob) = locatorOn(std::move(content), cs);
    return lob;
}

occi::Blob makeBlob(std::shared_ptr<LobContent> content) {
    occi::Blob lob;
    Access::locator(lob) = locatorOn(std::move(content), Charset::AL32UTF8);
    return lob;
}

occi::Bfile makeBfile(const std::string& name) {
    occi::Bfile lob;
    if (!name.empty()) {
        auto locator = std::make_shared<LobLocator>();
        locator->isBfile = true;
        locator->bfileName = name;
        Access::locator(lob) = std::move(locator);
    }
    return lob;
}

std::shared_ptr<LobContent> contentOf(const occi::Clob& lob) {
    const auto& locator = Access::locator(lob);
    return locator ? locator->content : nullptr;
}

std::shared_ptr<LobContent> contentOf(const occi::Blob& lob) {
    const auto& locator = Access::locator(lob);
    return locator ? locator->content : nullptr;
}

}  // namespace detail
}  // namespace kavexdb

namespace oracle {
namespace occi {

namespace d = kavexdb::detail;

// ---- Clob ----------------------------------------------------------------------------------

Clob::Clob() {}
Clob::Clob(const Connection* /*connectionp*/) {}
Clob::Clob(const Clob& other) : locator_(d::copyOf(other.locator_)) {}
Clob& Clob::operator=(const Clob& other) {
    if (this != &other) locator_ = d::copyOf(other.locator_);
    return *this;
}
Clob::~Clob() = default;

void Clob::setNull() { locator_.reset(); }
bool Clob::isNull() const { return !d::holdsValue(locator_); }

void Clob::open(LobOpenMode /*mode*/) {
    d::checkFault("Clob::open");
    d::openLocator(locator_);
}

void Clob::close() {
    d::checkFault("Clob::close");
    d::closeLocator(locator_);
}

unsigned int Clob::length() const {
    d::checkFault("Clob::length");
    const d::LobContent& content = *d::valueOf(locator_).content;
    return static_cast<unsigned int>(content.countCharacters(0, content.size()));
}

void Clob::setCharSetForm(CharSetForm csfrm) {
    if (!locator_) locator_ = std::make_shared<d::LobLocator>();
    locator_->charSetForm = csfrm;
}

Stream* Clob::getStream(unsigned int offset, unsigned int amount) {
    d::checkFault("Clob::getStream");
    return d::openStream(locator_, offset, amount);
}

void Clob::closeStream(Stream* stream) {
    d::checkFault("Clob::closeStream");
    d::releaseStream(locator_, stream);
}

// ---- Blob ----------------------------------------------------------------------------------

Blob::Blob() {}
Blob::Blob(const Connection* /*connectionp*/) {}
Blob::Blob(const Blob& other) : locator_(d::copyOf(other.locator_)) {}
Blob& Blob::operator=(const Blob& other) {
    if (this != &other) locator_ = d::copyOf(other.locator_);
    return *this;
}
Blob::~Blob() = default;

void Blob::setNull() { locator_.reset(); }
bool Blob::isNull() const { return !d::holdsValue(locator_); }

void Blob::open(LobOpenMode /*mode*/) {
    d::checkFault("Blob::open");
    d::openLocator(locator_);
}

void Blob::close() {
    d::checkFault("Blob::close");
    d::closeLocator(locator_);
}

unsigned int Blob::length() const {
    d::checkFault("Blob::length");
    return static_cast<unsigned int>(d::valueOf(locator_).content->size());
}

Stream* Blob::getStream(unsigned int offset, unsigned int amount) {
    d::checkFault("Blob::getStream");
    return d::openStream(locator_, offset, amount);
}

void Blob::closeStream(Stream* stream) {
    d::checkFault("Blob::closeStream");
    d::releaseStream(locator_, stream);
}

// ---- Bfile: the embedded client has no directories, so no file can be opened ----------------

Bfile::Bfile() {}
Bfile::Bfile(const Connection* /*connectionp*/) {}
Bfile::Bfile(const Bfile& other) : locator_(d::copyOf(other.locator_)) {}
Bfile& Bfile::operator=(const Bfile& other) {
    if (this != &other) locator_ = d::copyOf(other.locator_);
    return *this;
}
Bfile::~Bfile() = default;

void Bfile::setNull() { locator_.reset(); }
bool Bfile::isNull() const { return !d::holdsValue(locator_); }

void Bfile::open() {
    d::checkFault("Bfile::open");
    d::valueOf(locator_);
    d::noSuchFile();
}

void Bfile::close() {
    d::checkFault("Bfile::close");
    d::closeLocator(locator_);
}

unsigned int Bfile::length() const {
    d::checkFault("Bfile::length");
    d::valueOf(locator_);
    d::noSuchFile();
}

Stream* Bfile::getStream(unsigned int /*offset*/, unsigned int /*amount*/) {
    d::checkFault("Bfile::getStream");
    d::valueOf(locator_);
    d::noSuchFile();
}

void Bfile::closeStream(Stream* stream) {
    d::checkFault("Bfile::closeStream");
    d::releaseStream(locator_, stream);
}

}  // namespace occi
}  // namespace oracle
