#include "host/xml.h"

#include <dlfcn.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "host/orvane_exception.h"
#include "host/stand_in.h"

namespace XmlDom {
namespace {

// The parts of libxml2 the host uses. The library is loaded the first time
// a document is read, not with the host library: most runs read no XML,
// and libxml2 with the libraries it needs costs more to load than the
// rest of such a run. Every DOM object comes from a loaded document, so
// the library is there whenever one of them calls it.
struct LibXml {
  void (*initParser)();
  void (*setGenericErrorFunc)(void*, xmlGenericErrorFunc);
  xmlParserCtxt* (*newParserCtxt)();
  xmlDoc* (*ctxtReadMemory)(xmlParserCtxt*, const char*, int, const char*, const char*, int);
  void (*freeParserCtxt)(xmlParserCtxt*);
  void (*freeDoc)(xmlDoc*);
  xmlNode* (*docGetRootElement)(const xmlDoc*);
  xmlChar* (*nodeGetContent)(const xmlNode*);
  xmlFreeFunc* free;  // the library's deallocator, a variable of the library
};

// The parser's messages are dropped: a file it cannot read is answered
// through the result, never on the host's standard error (some encoding
// and I/O messages pass the NOERROR option).
void ignoreMessage(void*, const char*, ...) {}

template <class Fn>
bool bind(void* library, const char* name, Fn* fn) {
  *fn = reinterpret_cast<Fn>(dlsym(library, name));
  return *fn != nullptr;
}

LibXml* loadLibXml() {
  void* library = dlopen(PA_LIBXML2_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  static LibXml api;
  if (!bind(library, "xmlInitParser", &api.initParser) ||
      !bind(library, "xmlSetGenericErrorFunc", &api.setGenericErrorFunc) ||
      !bind(library, "xmlNewParserCtxt", &api.newParserCtxt) ||
      !bind(library, "xmlCtxtReadMemory", &api.ctxtReadMemory) ||
      !bind(library, "xmlFreeParserCtxt", &api.freeParserCtxt) ||
      !bind(library, "xmlFreeDoc", &api.freeDoc) ||
      !bind(library, "xmlDocGetRootElement", &api.docGetRootElement) ||
      !bind(library, "xmlNodeGetContent", &api.nodeGetContent) || !bind(library, "xmlFree", &api.free)) {
    dlclose(library);
    return nullptr;
  }
  api.initParser();
  api.setGenericErrorFunc(nullptr, ignoreMessage);
  return &api;  // kept loaded to the end of the process
}

// The loaded library; null when it cannot be loaded (no document can then
// be read). Loaded once.
const LibXml* libXml() {
  static const LibXml* const api = loadLibXml();
  return api;
}

std::string toString(const xmlChar* text) {
  return text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

// The text libxml2 allocated for us, freed after the copy.
std::string takeString(xmlChar* text) {
  std::string result = toString(text);
  (*libXml()->free)(text);
  return result;
}

std::string qualifiedName(const xmlChar* name, const xmlNs* ns) {
  std::string result = toString(name);
  if (ns != nullptr && ns->prefix != nullptr) result = toString(ns->prefix) + ":" + result;
  return result;
}

}  // namespace

// ---- XmlNode --------------------------------------------------------------

XmlNode::XmlNode(XmlDocShare doc, xmlNode* node) : doc_(std::move(doc)), node_(node) {}

XmlNode::~XmlNode() = default;

std::string XmlNode::getName() const {
  switch (node_->type) {
    case XML_TEXT_NODE:
      return "#text";
    case XML_CDATA_SECTION_NODE:
      return "#cdata-section";
    case XML_COMMENT_NODE:
      return "#comment";
    default:
      // An attribute starts like a node, so its name and namespace are
      // read the same way.
      return qualifiedName(node_->name, node_->ns);
  }
}

bool XmlNode::isElement() const { return node_->type == XML_ELEMENT_NODE; }

SmartPointers::CountedPtr<XmlNodeList> XmlNode::getChildNodes() const {
  std::vector<xmlNode*> children;
  for (xmlNode* child = node_->children; child != nullptr; child = child->next) {
    children.push_back(child);
  }
  return SmartPointers::CountedPtr<XmlNodeList>(new XmlNodeList(doc_, std::move(children)));
}

XmlNamedNodeMapPtr XmlNode::getAttributes() const {
  return XmlNamedNodeMapPtr(new XmlNamedNodeMap(doc_, isElement() ? node_ : nullptr));
}

std::string XmlNode::getValue() const {
  switch (node_->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
      return toString(node_->content);
    default:
      return std::string();
  }
}

// ---- XmlAttribute ---------------------------------------------------------

XmlAttribute::~XmlAttribute() = default;

// libxml2 reads an attribute's value through the node interface.
std::string XmlAttribute::getValue() const { return takeString(libXml()->nodeGetContent(node_)); }

// ---- XmlNodeList ----------------------------------------------------------

XmlNodeList::XmlNodeList(XmlDocShare doc, std::vector<xmlNode*> nodes)
    : doc_(std::move(doc)), nodes_(std::move(nodes)) {}

XmlNodeList::~XmlNodeList() = default;

XmlNodePtr XmlNodeList::item(int i) const {
  if (i < 0 || i >= length()) return XmlNodePtr();
  return XmlNodePtr(new XmlNode(doc_, nodes_[static_cast<std::size_t>(i)]));
}

// ---- XmlNamedNodeMap ------------------------------------------------------

XmlNamedNodeMap::XmlNamedNodeMap(XmlDocShare doc, xmlNode* element)
    : doc_(std::move(doc)), element_(element) {}

XmlNamedNodeMap::~XmlNamedNodeMap() = default;

XmlNodePtr XmlNamedNodeMap::getNamedItem(const std::string& name) const {
  if (element_ == nullptr) return XmlNodePtr();
  for (xmlAttr* attr = element_->properties; attr != nullptr; attr = attr->next) {
    if (qualifiedName(attr->name, attr->ns) == name) {
      return XmlNodePtr(new XmlAttribute(doc_, reinterpret_cast<xmlNode*>(attr)));
    }
  }
  return XmlNodePtr();
}

// ---- XmlDocument ----------------------------------------------------------

XmlDocument::XmlDocument(XmlDocShare doc) : doc_(std::move(doc)) {}

XmlDocument::~XmlDocument() = default;

XmlNodePtr XmlDocument::getDocumentElement() const {
  xmlNode* root = doc_ ? libXml()->docGetRootElement(doc_.get()) : nullptr;
  if (root == nullptr) return XmlNodePtr();
  return XmlNodePtr(new XmlNode(doc_, root));
}

}  // namespace XmlDom

namespace PersistanceMgmt {
namespace {

// No network, no entity expansion, no DTD loading, no messages on stderr.
const int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// The first message of the parse under way goes here (the parser's last
// one is often only "Premature end of data" after the real fault).
thread_local std::string* firstParseError = nullptr;

// The parser's structured error callback; its error type is const in
// newer versions of the library, hence the template.
template <class Error>
void keepFirstError(void* /*context*/, Error* error) {
  if (firstParseError == nullptr || !firstParseError->empty() || error == nullptr) return;
  if (error->level < XML_ERR_ERROR) return;  // a warning
  std::string message = error->message != nullptr ? error->message : "not well-formed";
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  *firstParseError = "line " + std::to_string(error->line) + ": " + message;
}

// Parses the text of the file `path`; null, with `why` set, when it is
// not well-formed.
xmlDoc* parseText(const XmlDom::LibXml& xml, const std::string& text, const std::string& path, std::string* why) {
  xmlParserCtxt* context = xml.newParserCtxt();
  if (context == nullptr) return *why = "the XML parser could not be made", nullptr;
  // Every message of the parser comes to us; none is printed.
  context->sax->serror = keepFirstError;
  firstParseError = why;
  xmlDoc* parsed = xml.ctxtReadMemory(context, text.data(), static_cast<int>(text.size()), path.c_str(), nullptr,
                                      kParseOptions);
  firstParseError = nullptr;
  xml.freeParserCtxt(context);
  if (parsed == nullptr && why->empty()) *why = "not well-formed";
  if (parsed != nullptr) why->clear();  // the parser recovered: no fault
  return parsed;
}

// The most bytes a text handed to the parser may have (it counts in int).
const std::size_t kMostXmlBytes = static_cast<std::size_t>(std::numeric_limits<int>::max());

// Reads `fd` from where it stands to its end into `text`, each read a
// signal interrupts tried again. False, with the system's error in
// `error`, when a read fails, and (EFBIG) for a text longer than
// kMostXmlBytes.
bool readToEnd(int fd, std::string* text, int* error) {
  text->clear();
  char block[65536];
  for (;;) {
    const ssize_t got = IOMgmt::readSome(fd, block, sizeof block);
    if (got < 0) return *error = errno, false;
    if (got == 0) return true;
    if (text->size() + static_cast<std::size_t>(got) > kMostXmlBytes) return *error = EFBIG, false;
    text->append(block, static_cast<std::size_t>(got));
  }
}

// The whole text of the regular file `path`; false, with `why` set, when
// it cannot be opened, is no regular file or a read fails.
bool readXmlFile(const std::string& path, std::string* text, std::string* why) {
  const int fd = IOMgmt::openRegularFile(path, why);
  if (fd < 0) return false;
  int error = 0;
  const bool read = readToEnd(fd, text, &error);
  ::close(fd);
  if (!read) *why = std::string("cannot be read: ") + std::strerror(error);
  return read;
}

struct ThrowSwitch {
  bool on = false;
  std::string onlyPath;
};

ThrowSwitch& throwSwitch() {
  static ThrowSwitch value;
  return value;
}

const StandIn::ResetHook kResetThrowSwitch([] { throwSwitch() = ThrowSwitch(); });

}  // namespace

// ---- XmlTextReader --------------------------------------------------------

XmlTextReader::XmlTextReader() = default;

XmlTextReader::~XmlTextReader() = default;

bool XmlTextReader::loadXml(IOMgmt::FileNamePtr name) {
  document_.reset();
  loadError_.clear();
  const std::string path = name.isNull() ? std::string() : name->getDisplayName(-1);
  if (path.empty()) return loadError_ = "no file named", false;
  // Read here, so that a FIFO or device is refused before anything would
  // wait on it (and a missing file costs no loading of the library), and
  // so that a failed or interrupted read is never taken for the end.
  std::string text;
  if (!readXmlFile(path, &text, &loadError_)) return false;
  const XmlDom::LibXml* xml = XmlDom::libXml();
  if (xml == nullptr) return loadError_ = "the XML library cannot be loaded", false;
  xmlDoc* parsed = parseText(*xml, text, path, &loadError_);
  if (parsed == nullptr) return false;
  XmlDom::XmlDocShare doc(parsed, xml->freeDoc);
  if (parsed->intSubset != nullptr || parsed->extSubset != nullptr) {
    return loadError_ = "has a document type declaration, which is not read", false;
  }
  if (xml->docGetRootElement(parsed) == nullptr) return loadError_ = "has no document element", false;
  document_.reset(new XmlDom::XmlDocument(doc));
  return true;
}

// ---- XMLParser ------------------------------------------------------------

XMLParser::XMLParser() = default;

XMLParser::~XMLParser() { close(); }

bool XMLParser::open(IOMgmt::FileNamePtr name, int /*mode*/) {
  close();
  if (name.isNull()) return false;
  path_ = name->getDisplayName(-1);
  if (path_.empty()) return false;
  std::string why;
  fd_ = IOMgmt::openRegularFile(path_, &why);
  return fd_ >= 0;
}

bool XMLParser::readXmlIntoMemory(std::string& text, bool /*flag*/) {
  text.clear();
  readError_ = 0;
  const ThrowSwitch& sw = throwSwitch();
  if (sw.on && (sw.onlyPath.empty() || sw.onlyPath == path_)) {
    throw Exceptions::OrvaneException("XML file could not be read: " + path_, "XMLParser",
                                      "readXmlIntoMemory");
  }
  if (fd_ < 0) return false;
  if (::lseek(fd_, 0, SEEK_SET) < 0 || !readToEnd(fd_, &text, &readError_)) {
    if (readError_ == 0) readError_ = errno;
    text.clear();
    return false;
  }
  return true;
}

bool XMLParser::extractXmlSubstring(std::string& value, const std::string& text,
                                    const std::string& tag, int n, bool /*flag*/) {
  value.clear();
  if (tag.empty() || n < 1) return false;
  const std::string openTag = "<" + tag + ">";
  const std::string closeTag = "</" + tag + ">";
  std::size_t at = std::string::npos;
  std::size_t from = 0;
  for (int i = 0; i < n; ++i) {
    at = text.find(openTag, from);
    if (at == std::string::npos) return false;
    from = at + openTag.size();
  }
  const std::size_t end = text.find(closeTag, from);
  if (end == std::string::npos) return false;
  value = text.substr(from, end - from);
  return true;
}

void XMLParser::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  path_.clear();
}

void XMLParser::setThrowOnRead(bool on, const std::string& onlyPath) {
  throwSwitch().on = on;
  throwSwitch().onlyPath = onlyPath;
}

}  // namespace PersistanceMgmt
