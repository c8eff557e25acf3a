#include "workbook/xlsx/XmlReader.h"

#include "workbook/xlsx/PartStream.h"
#include "workbook/xlsx/XlsxLimits.h"
#include "workbook/xlsx/ZipPackage.h"

#include <expat.h>

#include <cstring>
#include <memory>

namespace frusta::xlsx {

namespace {

constexpr int kChunk = 256 * 1024;

struct ParserFree {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

// The state shared with expat's callbacks.
struct Session {
    XML_Parser parser;
    XmlHandler& handler;
    NamespaceScope scope;
    int depth = 0;
    std::string refusal;   // why the parse was stopped by the reader itself
    std::string malformed; // a namespace error, reported as expat reports its own
};

void stop(Session& s, std::string reason) {
    if (s.refusal.empty())
        s.refusal = std::move(reason);
    XML_StopParser(s.parser, XML_FALSE);
}

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attrs) {
    auto& s = *static_cast<Session*>(data);
    if (++s.depth > kMaxXmlDepth) {
        stop(s, "elements are nested more than " + std::to_string(kMaxXmlDepth) + " deep");
        return;
    }
    if (!s.scope.enter(attrs, s.depth)) {
        stop(s, "it declares more than " + std::to_string(NamespaceScope::kMaxBindings) +
                    " namespace prefixes");
        return;
    }
    XmlNs ns;
    std::string_view local;
    if (!s.scope.resolveElement(name, ns, local)) {
        s.malformed = "unbound prefix";
        XML_StopParser(s.parser, XML_FALSE);
        return;
    }
    s.handler.startElement(ns, local, attrs, s.depth);
    if (s.handler.failed())
        XML_StopParser(s.parser, XML_FALSE);
}

void XMLCALL onEnd(void* data, const XML_Char* name) {
    auto& s = *static_cast<Session*>(data);
    XmlNs ns = XmlNs::Other;
    std::string_view local;
    s.scope.resolveElement(name, ns, local);
    s.handler.endElement(ns, local, s.depth);
    s.scope.leave(s.depth--);
    if (s.handler.failed())
        XML_StopParser(s.parser, XML_FALSE);
}

void XMLCALL onText(void* data, const XML_Char* text, int length) {
    auto& s = *static_cast<Session*>(data);
    if (!s.handler.collecting())
        return;
    s.handler.characters(std::string_view(text, static_cast<std::size_t>(length)));
    if (s.handler.failed())
        XML_StopParser(s.parser, XML_FALSE);
}

void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    stop(*static_cast<Session*>(data),
         "it contains a document type declaration, which workbooks never use");
}

void XMLCALL onEntityDecl(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*) {
    stop(*static_cast<Session*>(data), "it declares entities, which workbooks never use");
}

} // namespace

const char* attribute(const char** attrs, std::string_view name) {
    for (; *attrs; attrs += 2)
        if (name == attrs[0])
            return attrs[1];
    return nullptr;
}

const char* XmlHandler::relationshipId(const char** attrs) const {
    for (; scope_ && *attrs; attrs += 2) {
        XmlNs ns = XmlNs::Other;
        std::string_view local;
        if (scope_->resolveAttribute(attrs[0], ns, local) && ns == XmlNs::Relationships &&
            local == "id")
            return attrs[1];
    }
    return nullptr;
}

bool XmlHandler::resolveAttribute(const char* qname, XmlNs& ns, std::string_view& local) const {
    return scope_ && scope_->resolveAttribute(qname, ns, local);
}

bool parsePart(ZipPackage& package, std::string_view partName, XmlHandler& handler,
               std::string& error) {
    auto entry = package.openPart(partName, error);
    if (!entry)
        return false;
    PartStream stream(std::move(entry));
    return parseXml([&stream](char* buffer, std::size_t capacity,
                              std::string& why) { return stream.read(buffer, capacity, why); },
                    "the part '" + std::string(partName) + "'", handler, error);
}

bool parseXml(const XmlSource& source, const std::string& what, XmlHandler& handler,
              std::string& error) {
    std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate(nullptr));
    if (!parser) {
        error = "not enough memory to read the workbook";
        return false;
    }
    Session session{parser.get(), handler, {}, 0, {}, {}};
    handler.scope_ = &session.scope;
    // The handler may outlive this parse; its scope may not.
    struct Detach {
        XmlHandler& handler;
        ~Detach() { handler.scope_ = nullptr; }
    } detach{handler};
    XML_SetUserData(parser.get(), &session);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onText);
    XML_SetStartDoctypeDeclHandler(parser.get(), onDoctype);
    XML_SetEntityDeclHandler(parser.get(), onEntityDecl);
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);

    for (;;) {
        void* buffer = XML_GetBuffer(parser.get(), kChunk);
        if (!buffer) {
            error = "not enough memory to read " + what;
            return false;
        }
        const long n = source(static_cast<char*>(buffer), kChunk, error);
        if (n < 0)
            return false;
        if (XML_ParseBuffer(parser.get(), static_cast<int>(n), n == 0) != XML_STATUS_OK) {
            if (handler.failed())
                error = handler.failure();
            else if (!session.refusal.empty())
                error = what + " is refused: " + session.refusal;
            else
                error = what + " is not well-formed XML (line " +
                        std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": " +
                        (session.malformed.empty() ? XML_ErrorString(XML_GetErrorCode(parser.get()))
                                                   : session.malformed.c_str()) +
                        ")";
            return false;
        }
        if (n == 0)
            break;
    }
    if (handler.failed()) {
        error = handler.failure();
        return false;
    }
    return true;
}

} // namespace frusta::xlsx
