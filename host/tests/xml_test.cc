#include "host/xml.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

#include "host/orvane_exception.h"
#include "host/stand_in.h"
#include "host/tests/hang_guard.h"
#include "host/tests/temp_files.h"

namespace {

using IOMgmt::FileName;
using IOMgmt::FileNamePtr;
using PersistanceMgmt::XMLParser;
using PersistanceMgmt::XmlTextReader;
using XmlDom::XmlNodePtr;

class XmlTest : public TempFilesTest {
 protected:
  void TearDown() override {
    StandIn::resetAll();
    TempFilesTest::TearDown();
  }

  FileNamePtr file(const std::string& name) { return FileNamePtr(new FileName(path(name))); }

  static std::string attribute(const XmlNodePtr& node, const std::string& name) {
    XmlNodePtr attr = node->getAttributes()->getNamedItem(name);
    return attr.isNull() ? "<none>" : attr->getValue();
  }
};

// Nodes keep their document alive after the reader has dropped it (by a
// second load) and is gone.
TEST_F(XmlTest, ElementsChildrenAndAttributesOutliveTheReader) {
  write("doc.xml",
        "<?xml version=\"1.0\"?>\n<RELATIONS version=\"2\">\n  <!-- note -->\n"
        "  <FIELD value=\"a &amp; b &lt;c&gt; &quot;d&quot; &#65;&#x42;\"/>\n"
        "  <p:ITEM xmlns:p=\"urn:x\" p:kind=\"k\" empty=\"\">text</p:ITEM>\n</RELATIONS>\n");
  write("other.xml", "<Z/>");
  XmlNodePtr root;
  {
    XmlTextReader reader;
    ASSERT_TRUE(reader.loadXml(file("doc.xml")));
    root = reader.getXmlDocument()->getDocumentElement();
    ASSERT_TRUE(reader.loadXml(file("other.xml")));
    EXPECT_EQ(reader.getXmlDocument()->getDocumentElement()->getName(), "Z");
  }
  EXPECT_EQ(root->getName(), "RELATIONS");
  EXPECT_EQ(attribute(root, "version"), "2");
  SmartPointers::CountedPtr<XmlDom::XmlNodeList> children = root->getChildNodes();
  std::vector<XmlNodePtr> elements;
  for (int i = 0; i < children->length(); ++i) {
    if (children->item(i)->isElement()) elements.push_back(children->item(i));
  }
  EXPECT_GT(children->length(), 2);  // texts and the comment are nodes too
  EXPECT_TRUE(children->item(-1).isNull());
  EXPECT_TRUE(children->item(children->length()).isNull());
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(attribute(elements[0], "value"), "a & b <c> \"d\" AB");
  EXPECT_EQ(attribute(elements[0], "missing"), "<none>");
  const XmlNodePtr& item = elements[1];
  EXPECT_EQ(item->getName(), "p:ITEM");
  EXPECT_EQ(attribute(item, "p:kind") + "|" + attribute(item, "empty"), "k|");
  XmlNodePtr text = item->getChildNodes()->item(0);
  EXPECT_EQ(text->getName() + " " + text->getValue(), "#text text");
  // A text has no attributes: an empty map, not an empty holder.
  EXPECT_TRUE(text->getAttributes()->getNamedItem("x").isNull());
}

TEST_F(XmlTest, RejectedFilesLoadNothing) {
  const char* rejected[] = {
      // Entities need a document type declaration; any such document is
      // refused, so nothing is ever expanded.
      "<!DOCTYPE A [<!ENTITY e \"expanded\">]><A v=\"&e;\">&e;</A>",
      "<!DOCTYPE A SYSTEM \"http://example.invalid/a.dtd\"><A/>",
      "<!DOCTYPE A [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><A>&x;</A>",
      "<A><B></A>",  // not well-formed
      "",
      "just text",
  };
  for (const char* xml : rejected) {
    SCOPED_TRACE(xml);
    write("bad.xml", xml);
    XmlTextReader reader;
    EXPECT_FALSE(reader.loadXml(file("bad.xml")));
    EXPECT_EQ(reader.getXmlDocument(), nullptr);
  }
  XmlTextReader reader;
  EXPECT_EQ(reader.getXmlDocument(), nullptr);
  EXPECT_FALSE(reader.loadXml(file("missing.xml")));
  EXPECT_FALSE(reader.loadXml(FileNamePtr()));
  EXPECT_EQ(reader.getXmlDocument(), nullptr);
}

// A file that loads nothing says why: the parser's first message with its
// line, or what kept the file from the parser. A FIFO or a folder is
// refused without waiting for a writer, by both readers.
TEST_F(XmlTest, AFileThatLoadsNothingSaysWhy) {
  const HangGuard guard;
  ASSERT_EQ(::mkfifo(path("fifo.xml").c_str(), 0600), 0);
  const struct {
    const char* name;
    const char* content;  // null: not written
    const char* why;
  } cases[] = {
      {"good.xml", "<A/>", ""},
      {"slash.xml", "<A>\n<B></A>", "line 2: Opening and ending tag mismatch: B line 2 and A"},
      {"empty.xml", "", "line 1: Document is empty"},
      {"dtd.xml", "<!DOCTYPE A><A/>", "has a document type declaration, which is not read"},
      {"missing.xml", nullptr, "cannot be opened: No such file or directory"},
      {"fifo.xml", nullptr, "not a regular file"},
      {"", nullptr, "not a regular file"},  // the scratch folder itself
  };
  for (const auto& c : cases) {
    if (c.content != nullptr) write(c.name, c.content);
    XmlTextReader reader;
    EXPECT_EQ(reader.loadXml(file(c.name)), c.why[0] == '\0') << c.name;
    EXPECT_EQ(reader.loadError(), c.why) << c.name;
  }
  XMLParser parser;
  EXPECT_FALSE(parser.open(file("fifo.xml"), 1) || parser.open(file(""), 1));
}

TEST_F(XmlTest, ParserExtractsTheNthTagAsText) {
  const std::string text =
      "<AUTOTESTOPTIONS><CLEAR>No</CLEAR><PAOUTPUTDIR>C:/out &amp; more</PAOUTPUTDIR>"
      "<CLEAR>Yes</CLEAR><EMPTY></EMPTY><OPEN>no end</AUTOTESTOPTIONS>";
  const struct {
    const char* tag;
    int n;
    const char* value;  // null: not found
  } cases[] = {
      {"CLEAR", 1, "No"}, {"CLEAR", 2, "Yes"}, {"PAOUTPUTDIR", 1, "C:/out &amp; more"},  // as is
      {"EMPTY", 1, ""},   {"CLEAR", 3, nullptr}, {"CLEAR", 0, nullptr}, {"OPEN", 1, nullptr},
      {"NONE", 1, nullptr}, {"", 1, nullptr},    {"CLEA", 1, nullptr},
  };
  XMLParser parser;
  for (const auto& c : cases) {
    std::string value = "stale";
    EXPECT_EQ(c.value != nullptr, parser.extractXmlSubstring(value, text, c.tag, c.n, false))
        << c.tag << " " << c.n;
    EXPECT_EQ(c.value ? c.value : "", value);
  }
}

TEST_F(XmlTest, ParserReadsTheFileAsTextOrThrowsWhenATestAsks) {
  const std::string content = "<?xml version=\"1.0\"?>\n<A><CLEAR>No</CLEAR></A>\n";
  write("a.xml", content);
  write("b.xml", "<B/>");
  XMLParser parser;
  std::string text = "stale";
  EXPECT_FALSE(parser.readXmlIntoMemory(text, true));  // nothing open
  EXPECT_EQ(text, "");
  EXPECT_FALSE(parser.open(file("missing.xml"), 1));
  ASSERT_TRUE(parser.open(file("a.xml"), 1));
  for (int i = 0; i < 2; ++i) {  // each read starts from the start
    EXPECT_TRUE(parser.readXmlIntoMemory(text, true));
    EXPECT_EQ(text, content);
  }
  XMLParser::setThrowOnRead(true);
  EXPECT_THROW(parser.readXmlIntoMemory(text, true), Exceptions::OrvaneException);
  XMLParser::setThrowOnRead(true, path("b.xml"));  // only for that file
  EXPECT_TRUE(parser.readXmlIntoMemory(text, true));
  ASSERT_TRUE(parser.open(file("b.xml"), 1));
  EXPECT_THROW(parser.readXmlIntoMemory(text, true), Exceptions::OrvaneException);
  StandIn::resetAll();
  EXPECT_TRUE(parser.readXmlIntoMemory(text, true));
  EXPECT_EQ(text, "<B/>");
  parser.close();
  EXPECT_FALSE(parser.readXmlIntoMemory(text, true));
}

}  // namespace
