#include "world/LevelReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/Wrapper4InputSource.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "Failure.h"
#include "WideText.h"
#include "world/LevelInteger.h"
#include "world/XmlPlatformSession.h"

using namespace xercesc;

namespace {

// A level of 300 screens of 60 sprites is about 2 MiB; anything far beyond is not a level.
constexpr std::size_t kMaxLevelBytes = std::size_t{64} << 20;
const wchar_t* const kMaxLevelSizeText = L"64 MiB";
// A level needs no entities of its own; the limit only bounds what a hostile file could ask.
constexpr XMLSize_t kEntityExpansionLimit = 100;
// Values quoted in messages are cut to this many characters.
constexpr std::size_t kQuotedValueLength = 40;
const XMLCh kSourceId[] = u"level";
// The DOM implementation that offers load-and-save parsers.
const XMLCh kLoadSaveFeature[] = u"LS";

const XMLCh kWorldElement[] = u"world";
const XMLCh kScreenElement[] = u"screen";
const XMLCh kSpriteElement[] = u"sprite";
const XMLCh kNameAttribute[] = u"name";
const XMLCh kActiveAttribute[] = u"active";
const XMLCh kXAttribute[] = u"x";
const XMLCh kYAttribute[] = u"y";
const XMLCh kTypeAttribute[] = u"type";
const XMLCh kTextureAttribute[] = u"texture";
const XMLCh kTopAttribute[] = u"top";
const XMLCh kLeftAttribute[] = u"left";
const XMLCh kDepthAttribute[] = u"depth";
const XMLCh kStaticAttribute[] = u"static";
const XMLCh kSpecialAttribute[] = u"special";
const XMLCh kGoalAttribute[] = u"goal";
const XMLCh kCheckpointAttribute[] = u"checkpoint";
const XMLCh kMusicAttribute[] = u"music";

const wchar_t* const kFailurePrefix = L"Cannot load the level: ";
constexpr std::int32_t kActiveMark = 1;
constexpr std::int32_t kFlagSet = 1;

[[noreturn]] void Fail(const std::wstring& where, const std::wstring& what) {
    throw k_Failure(kFailurePrefix + where + L": " + what);
}

// Xerces holds text as UTF-16.
std::wstring WideFromXml(const XMLCh* text) { return FromUtf16(text); }

std::wstring Quoted(const XMLCh* value) {
    std::wstring text = WideFromXml(value);
    if (text.size() > kQuotedValueLength) {
        text = text.substr(0, kQuotedValueLength) + L"...";
    }
    return L"\"" + text + L"\"";
}

std::wstring Place(const std::wstring& name, XMLFileLoc line, XMLFileLoc column) {
    return name + L":" + std::to_wstring(line) + L":" + std::to_wstring(column);
}

// ------------------------------------------------------------------ parser setup

// Keeps the first error as "name:line:column: message" and stops the parse there; a broken
// file still yields a partial document, so the flag, not the document, tells success.
class ErrorRecorder : public DOMErrorHandler {
public:
    explicit ErrorRecorder(const std::wstring& name) : name(name) {}

    bool handleError(const DOMError& error) override {
        if (error.getSeverity() == DOMError::DOM_SEVERITY_WARNING) {
            return true;
        }
        if (!failed) {
            failed = true;
            const DOMLocator* location = error.getLocation();
            std::wstring where = location ? Place(name, location->getLineNumber(), location->getColumnNumber()) : name;
            message = where + L": " + WideFromXml(error.getMessage());
        }
        return false;
    }

    bool failed = false;
    std::wstring message;

private:
    const std::wstring& name;
};

// Resolves nothing: with the default resolution switched off, no other file is ever read.
class NoResourceResolver : public DOMLSResourceResolver {
public:
    DOMLSInput* resolveResource(const XMLCh*, const XMLCh*, const XMLCh*, const XMLCh*, const XMLCh*) override {
        return nullptr;
    }
};

struct Position {
    XMLFileLoc line;
    XMLFileLoc column;
};

// The index of element among the document's elements in document order (the root is 0).
std::size_t ElementIndex(const DOMElement* element) {
    const DOMNode* node = element->getOwnerDocument()->getDocumentElement();
    std::size_t index = 0;
    while (node && node != element) {
        if (node->getNodeType() == DOMNode::ELEMENT_NODE) {
            ++index;
        }
        if (const DOMNode* child = node->getFirstChild()) {
            node = child;
            continue;
        }
        while (node && !node->getNextSibling()) {
            node = node->getParentNode();
        }
        node = node ? node->getNextSibling() : nullptr;
    }
    return index;
}

// Notes where the start tag of the wanted element (by document-order index) ends.
class StartTagCounter : public DefaultHandler {
public:
    explicit StartTagCounter(std::size_t wanted) : wanted(wanted) {}

    void setDocumentLocator(const Locator* const locator) override { this->locator = locator; }

    void startElement(const XMLCh* const, const XMLCh* const, const XMLCh* const, const Attributes&) override {
        if (seen++ == wanted && locator) {
            position = Position{locator->getLineNumber(), locator->getColumnNumber()};
        }
    }

    std::optional<Position> position;

private:
    std::size_t wanted;
    std::size_t seen = 0;
    const Locator* locator = nullptr;
};

// Where each element's start tag ends, for reporting a bad attribute with its line and column.
// The DOM keeps no positions, and one is needed only for a failure, so a second, streaming
// pass over the same bytes finds it then instead of every load paying for it.
class StartTagPositions {
public:
    StartTagPositions(const std::uint8_t* bytes, std::size_t size, SecurityManager* security)
        : bytes(bytes), size(size), security(security) {}

    // Empty when the position cannot be found; the failure is then reported without it.
    std::optional<Position> Find(const DOMElement* element) const {
        StartTagCounter counter(ElementIndex(element));
        try {
            std::unique_ptr<SAX2XMLReader> reader(XMLReaderFactory::createXMLReader());
            reader->setFeature(XMLUni::fgSAX2CoreNameSpaces, false);
            reader->setFeature(XMLUni::fgSAX2CoreValidation, false);
            reader->setFeature(XMLUni::fgXercesSchema, false);
            reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);
            reader->setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
            reader->setProperty(XMLUni::fgXercesSecurityManager, security);
            reader->setContentHandler(&counter);
            MemBufInputSource source(bytes, size, kSourceId);
            reader->parse(source);
        } catch (...) {
            return std::nullopt;
        }
        return counter.position;
    }

private:
    const std::uint8_t* bytes;
    std::size_t size;
    SecurityManager* security;
};

struct LSParserReleaser {
    void operator()(DOMLSParser* parser) const { parser->release(); }
};

std::unique_ptr<DOMLSParser, LSParserReleaser> CreateParser() {
    DOMImplementation* implementation = DOMImplementationRegistry::getDOMImplementation(kLoadSaveFeature);
    return std::unique_ptr<DOMLSParser, LSParserReleaser>(
        implementation->createLSParser(DOMImplementationLS::MODE_SYNCHRONOUS, nullptr));
}

void Configure(DOMConfiguration* configuration, ErrorRecorder* errors, NoResourceResolver* resolver,
               SecurityManager* security) {
    configuration->setParameter(XMLUni::fgDOMErrorHandler, static_cast<DOMErrorHandler*>(errors));
    configuration->setParameter(XMLUni::fgDOMResourceResolver, static_cast<DOMLSResourceResolver*>(resolver));
    configuration->setParameter(XMLUni::fgXercesDisableDefaultEntityResolution, true);
    configuration->setParameter(XMLUni::fgXercesLoadExternalDTD, false);
    configuration->setParameter(XMLUni::fgXercesSecurityManager, security);
    configuration->setParameter(XMLUni::fgDOMDisallowDoctype, true);
    configuration->setParameter(XMLUni::fgDOMValidate, false);
    configuration->setParameter(XMLUni::fgDOMValidateIfSchema, false);
    configuration->setParameter(XMLUni::fgXercesSchema, false);
    configuration->setParameter(XMLUni::fgXercesSchemaFullChecking, false);
    configuration->setParameter(XMLUni::fgDOMNamespaces, false);
    configuration->setParameter(XMLUni::fgDOMComments, false);
}

// ------------------------------------------------------------------ document to description

// Walks the document the way the level format reads it: the root's "world" elements, their
// "screen" elements and their "sprite" elements; everything else is skipped.
class LevelDocumentReader {
public:
    LevelDocumentReader(const std::wstring& name, const StartTagPositions& positions)
        : name(name), positions(positions) {}

    LevelDescription Read(const DOMElement* root) {
        LevelDescription level;
        for (const DOMElement* world = FirstChild(root, kWorldElement); world;
             world = NextSibling(world, kWorldElement)) {
            if (RequiredInteger(world, kActiveAttribute) == kActiveMark) {
                level.activeWorld = static_cast<int>(level.worlds.size());
            }
            level.worlds.push_back(ReadWorld(world));
        }
        return level;
    }

private:
    LevelWorld ReadWorld(const DOMElement* element) {
        LevelWorld world;
        if (const DOMAttr* name = element->getAttributeNode(kNameAttribute)) {
            world.name = WideFromXml(name->getValue());
        }
        if (const DOMAttr* music = element->getAttributeNode(kMusicAttribute)) {
            world.music = WideFromXml(music->getValue());
        }
        for (const DOMElement* screen = FirstChild(element, kScreenElement); screen;
             screen = NextSibling(screen, kScreenElement)) {
            world.screens.push_back(ReadScreen(screen));
        }
        return world;
    }

    LevelScreen ReadScreen(const DOMElement* element) {
        LevelScreen screen;
        screen.x = RequiredInteger(element, kXAttribute);
        screen.y = RequiredInteger(element, kYAttribute);
        screen.goal = OptionalFlag(element, kGoalAttribute);
        screen.checkpoint = OptionalFlag(element, kCheckpointAttribute);
        for (const DOMElement* sprite = FirstChild(element, kSpriteElement); sprite;
             sprite = NextSibling(sprite, kSpriteElement)) {
            screen.records.push_back(ReadRecord(sprite));
        }
        return screen;
    }

    // The fields are taken in a fixed order, which decides the failure a record with several
    // bad attributes reports.
    SpriteData ReadRecord(const DOMElement* element) {
        SpriteData record;
        record.isStatic = RequiredInteger(element, kStaticAttribute) == kFlagSet;
        record.special = RequiredInteger(element, kSpecialAttribute) == kFlagSet;
        record.type = ReadType(element);
        record.left = static_cast<float>(RequiredInteger(element, kLeftAttribute));
        record.top = static_cast<float>(RequiredInteger(element, kTopAttribute));
        record.depth = RequiredInteger(element, kDepthAttribute);
        if (const DOMAttr* texture = element->getAttributeNode(kTextureAttribute)) {
            record.texture = WideFromXml(texture->getValue());
        }
        return record;
    }

    r_SpriteType::Value ReadType(const DOMElement* element) {
        const DOMAttr* attribute = element->getAttributeNode(kTypeAttribute);
        if (!attribute) {
            FailMissing(element, kTypeAttribute);
        }
        try {
            return r_SpriteType::Parse(WideFromXml(attribute->getValue()));
        } catch (const k_Failure& failure) {
            FailValue(element, kTypeAttribute, failure.Message() + L" (" + Quoted(attribute->getValue()) + L")");
        }
    }

    std::int32_t RequiredInteger(const DOMElement* element, const XMLCh* attributeName) {
        const DOMAttr* attribute = element->getAttributeNode(attributeName);
        if (!attribute) {
            FailMissing(element, attributeName);
        }
        std::optional<std::int32_t> value = ParseLevelInteger(attribute->getValue());
        if (!value) {
            FailValue(element, attributeName, Quoted(attribute->getValue()) + L" is not a 32-bit integer");
        }
        return *value;
    }

    // An attribute that may be left out; when given it is an integer like any other flag.
    bool OptionalFlag(const DOMElement* element, const XMLCh* attributeName) {
        return element->getAttributeNode(attributeName) && RequiredInteger(element, attributeName) == kFlagSet;
    }

    [[noreturn]] void FailMissing(const DOMElement* element, const XMLCh* attributeName) {
        Fail(Where(element), L"element " + Quoted(element->getNodeName()) + L": attribute " + Quoted(attributeName) +
                                 L" is missing");
    }

    [[noreturn]] void FailValue(const DOMElement* element, const XMLCh* attributeName, const std::wstring& what) {
        Fail(Where(element),
             L"element " + Quoted(element->getNodeName()) + L", attribute " + Quoted(attributeName) + L": " + what);
    }

    std::wstring Where(const DOMElement* element) const {
        std::optional<Position> position = positions.Find(element);
        return position ? Place(name, position->line, position->column) : name;
    }

    static bool IsElementNamed(const DOMNode* node, const XMLCh* elementName) {
        return node->getNodeType() == DOMNode::ELEMENT_NODE && XMLString::equals(node->getNodeName(), elementName);
    }

    static const DOMElement* Following(const DOMNode* node, const XMLCh* elementName) {
        while (node && !IsElementNamed(node, elementName)) {
            node = node->getNextSibling();
        }
        return static_cast<const DOMElement*>(node);
    }

    static const DOMElement* FirstChild(const DOMElement* parent, const XMLCh* elementName) {
        return Following(parent->getFirstChild(), elementName);
    }

    static const DOMElement* NextSibling(const DOMElement* element, const XMLCh* elementName) {
        return Following(element->getNextSibling(), elementName);
    }

    const std::wstring& name;
    const StartTagPositions& positions;
};

LevelDescription ParseAndRead(const std::uint8_t* bytes, std::size_t size, const std::wstring& name) {
    ErrorRecorder errors(name);
    NoResourceResolver resolver;
    SecurityManager security;
    security.setEntityExpansionLimit(kEntityExpansionLimit);
    MemBufInputSource source(bytes, size, kSourceId);
    Wrapper4InputSource input(&source, false);
    std::unique_ptr<DOMLSParser, LSParserReleaser> parser = CreateParser();
    Configure(parser->getDomConfig(), &errors, &resolver, &security);

    DOMDocument* document = parser->parse(&input);
    if (errors.failed) {
        throw k_Failure(kFailurePrefix + errors.message);
    }
    const DOMElement* root = document ? document->getDocumentElement() : nullptr;
    if (!root) {
        Fail(name, L"the level file has no root element");
    }
    return LevelDocumentReader(name, StartTagPositions(bytes, size, &security)).Read(root);
}

std::wstring SystemError(int code) { return FromUtf8(std::strerror(code)); }

// What a path that is no regular file names instead, in a designer's words.
std::wstring KindOfFile(mode_t mode) {
    if (S_ISDIR(mode)) {
        return L"a folder";
    }
    if (S_ISFIFO(mode)) {
        return L"a named pipe";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return L"a device";
    }
    if (S_ISSOCK(mode)) {
        return L"a socket";
    }
    return L"a special file";
}

// Only a regular file is a level: a pipe or a device could block the open or the read for ever.
void RefuseAllButRegularFile(const std::wstring& path, mode_t mode) {
    if (!S_ISREG(mode)) {
        Fail(path, L"the level file is " + KindOfFile(mode) + L", not a regular file");
    }
}

// Closes the descriptor when the read ends, however it ends.
class Descriptor {
public:
    explicit Descriptor(int value) : value(value) {}
    ~Descriptor() {
        if (value >= 0) {
            close(value);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int value;
};

void ReadAll(const std::wstring& path, int descriptor, std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = read(descriptor, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            Fail(path, L"the level file cannot be read completely");
        }
        done += static_cast<std::size_t>(count);
    }
}

// The path is looked at before it is opened, and opened without waiting, so that a pipe put
// in its place in between is still refused instead of waiting for a writer.
std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path) {
    const std::string name = ToUtf8(path);
    struct stat status {};
    if (stat(name.c_str(), &status) != 0) {
        Fail(path, L"the level file cannot be opened: " + SystemError(errno));
    }
    RefuseAllButRegularFile(path, status.st_mode);
    const Descriptor file(open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.value < 0) {
        Fail(path, L"the level file cannot be opened: " + SystemError(errno));
    }
    if (fstat(file.value, &status) != 0) {
        Fail(path, L"the level file cannot be read: " + SystemError(errno));
    }
    RefuseAllButRegularFile(path, status.st_mode);
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxLevelBytes) {
        Fail(path, std::wstring(L"the level file is larger than ") + kMaxLevelSizeText);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(status.st_size));
    ReadAll(path, file.value, bytes);
    return bytes;
}

}  // namespace

LevelDescription ReadLevelFile(const std::wstring& path) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return ReadLevel(bytes.data(), bytes.size(), path);
}

LevelDescription ReadLevel(const std::uint8_t* bytes, std::size_t size, const std::wstring& name) {
    if (size == 0) {
        Fail(name, L"the level file is empty");
    }
    if (size > kMaxLevelBytes) {
        Fail(name, std::wstring(L"the level file is larger than ") + kMaxLevelSizeText);
    }
    // The library's exceptions are handled while the session lasts: they free themselves
    // through the library, which is gone once the session ends.
    XmlPlatformSession session;
    try {
        return ParseAndRead(bytes, size, name);
    } catch (const XMLException& error) {
        Fail(name, WideFromXml(error.getMessage()));
    } catch (const DOMException& error) {
        Fail(name, WideFromXml(error.getMessage()));
    } catch (const OutOfMemoryException&) {
        Fail(name, L"the XML library ran out of memory");
    }
}
