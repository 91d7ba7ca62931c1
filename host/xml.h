// XML reading: a read-only DOM over a parsed file (XmlDom, loaded with
// PersistanceMgmt::XmlTextReader) and XMLParser, which reads a file as
// plain text and cuts out the text of a tag.
//
// The DOM is a view of one parsed document. Every node, node list and
// attribute map keeps a share of that document, so each stays valid after
// the reader and every other object is gone; the document is freed with
// its last holder. The objects never change the document.
//
// Loading never reaches the network and never expands entities: a file
// with a document type declaration (<!DOCTYPE ...>) is rejected as a file
// without a document element. Attribute values are the parser's text:
// predefined entities (&amp; &lt; &gt; &quot; &apos;) and character
// references are decoded, nothing else is.
#ifndef HOST_XML_H_
#define HOST_XML_H_

#include <memory>
#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/io.h"
#include "host/pointers.h"

// The parser's own types; only xml.cc sees their definitions.
struct _xmlDoc;
struct _xmlNode;

namespace XmlDom {

// The document a DOM object belongs to, shared by all of them.
using XmlDocShare = std::shared_ptr<_xmlDoc>;

// One node of the document: an element, an attribute (see XmlAttribute) or
// a text, comment or other node. Made by the host's DOM objects.
class HOST_API XmlNode {
 public:
  XmlNode(XmlDocShare doc, _xmlNode* node);
  virtual ~XmlNode();

  // The qualified name of an element or attribute ("prefix:name" when it
  // has a prefix); "#text", "#comment" or "#cdata-section" for those nodes.
  std::string getName() const;
  bool isElement() const;
  // Every child node in document order, texts and comments included.
  SmartPointers::CountedPtr<XmlNodeList> getChildNodes() const;
  // The attributes of an element; an empty map for any other node.
  XmlNamedNodeMapPtr getAttributes() const;
  // The text of a text, CDATA or comment node, the value of an attribute;
  // "" for an element.
  virtual std::string getValue() const;

 protected:
  XmlDocShare doc_;
  _xmlNode* node_;
};

// An attribute of an element, as getNamedItem gives it.
class HOST_API XmlAttribute : public XmlNode {
 public:
  using XmlNode::XmlNode;
  ~XmlAttribute() override;

  // The attribute's value with entities and character references decoded.
  std::string getValue() const override;
};

// A fixed list of nodes (the children of a node when it was asked).
class HOST_API XmlNodeList {
 public:
  XmlNodeList(XmlDocShare doc, std::vector<_xmlNode*> nodes);
  virtual ~XmlNodeList();

  int length() const { return static_cast<int>(nodes_.size()); }
  // Node i (from 0); an empty holder when i is out of range.
  XmlNodePtr item(int i) const;

 private:
  XmlDocShare doc_;
  std::vector<_xmlNode*> nodes_;
};

// The attributes of one element, by name.
class HOST_API XmlNamedNodeMap {
 public:
  // `element` may be null: the map is then empty.
  XmlNamedNodeMap(XmlDocShare doc, _xmlNode* element);
  ~XmlNamedNodeMap();

  // The attribute of that qualified name as an XmlAttribute; an empty
  // holder when the element has none.
  XmlNodePtr getNamedItem(const std::string& name) const;

 private:
  XmlDocShare doc_;
  _xmlNode* element_;
};

// A loaded document.
class HOST_API XmlDocument {
 public:
  explicit XmlDocument(XmlDocShare doc);
  ~XmlDocument();

  // The root element; an empty holder when there is none.
  XmlNodePtr getDocumentElement() const;

 private:
  XmlDocShare doc_;
};

}  // namespace XmlDom

namespace PersistanceMgmt {

// Loads an XML file into a DOM. The reader owns the XmlDocument it gives;
// the nodes taken from it stay valid on their own.
class HOST_API XmlTextReader {
 public:
  XmlTextReader();
  ~XmlTextReader();
  XmlTextReader(const XmlTextReader&) = delete;
  XmlTextReader& operator=(const XmlTextReader&) = delete;

  // Reads the whole file, then parses it. False, with nothing loaded, when
  // the holder is empty or the file is missing, unreadable (a read that
  // fails is never taken for its end), not a regular file (it is opened
  // without waiting, so a FIFO never blocks), not well-formed or has a
  // document type declaration. A read a signal interrupts is tried again.
  // A new load drops the previous document.
  bool loadXml(IOMgmt::FileNamePtr name);
  // The loaded document; null when nothing is loaded.
  XmlDom::XmlDocument* getXmlDocument() const { return document_.get(); }
  // Ours: why the last load failed, in words ("not a regular file",
  // "cannot be read: Input/output error", "line 3: Opening and ending tag
  // mismatch: ..." with the parser's first message); "" after a load that
  // succeeded.
  const std::string& loadError() const { return loadError_; }

 private:
  std::unique_ptr<XmlDom::XmlDocument> document_;
  std::string loadError_;
};

// Reads an XML file as text, without parsing it, and cuts out the text of
// tags. Used for small option files.
class HOST_API XMLParser {
 public:
  XMLParser();
  ~XMLParser();
  XMLParser(const XMLParser&) = delete;
  XMLParser& operator=(const XMLParser&) = delete;

  // Opens the file for reading, whatever the mode (callers pass 1), without
  // waiting; false when the holder is empty, the file cannot be opened or
  // is not a regular file (a FIFO or device is never read).
  bool open(IOMgmt::FileNamePtr name, int mode);
  // The whole file as text, read from its start (a read a signal
  // interrupts is tried again); false, with "", when no file is open or a
  // read fails (readError() tells why). The flag is not used. Throws
  // Exceptions::OrvaneException when a test has asked for it (below).
  bool readXmlIntoMemory(std::string& text, bool flag);
  // The text between the n-th literal "<tag>" (n from 1) in `text` and the
  // next "</tag>" after it, as it stands (no decoding); false, with "",
  // when there is no such pair. The flag is not used.
  bool extractXmlSubstring(std::string& value, const std::string& text, const std::string& tag,
                           int n, bool flag);
  void close();
  // Ours: the system's error of the read that made the last
  // readXmlIntoMemory fail; 0 when it did not fail on a read.
  int readError() const { return readError_; }

  // Ours, for tests: while on, readXmlIntoMemory throws
  // Exceptions::OrvaneException, for every file or, when `onlyPath` is not
  // empty, only for a file opened under exactly that path. Off after
  // StandIn::resetAll.
  static void setThrowOnRead(bool on, const std::string& onlyPath = std::string());

 private:
  std::string path_;
  int fd_ = -1;
  int readError_ = 0;
};

}  // namespace PersistanceMgmt

#endif  // HOST_XML_H_
