#include "host/xml.h"

#include <gtest/gtest.h>

#include <memory>

#include "host/orvane_exception.h"
#include "host/stand_in.h"
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

  // The root element of `xml`, or an empty holder; the reader is gone
  // before the caller sees the node.
  XmlNodePtr rootOf(const std::string& xml) {
    write("doc.xml", xml);
    XmlTextReader reader;
    if (!reader.loadXml(file("doc.xml"))) return XmlNodePtr();
    return reader.getXmlDocument()->getDocumentElement();
  }

  static std::string attribute(const XmlNodePtr& node, const std::string& name) {
    XmlNodePtr attr = node->getAttributes()->getNamedItem(name);
    return attr.isNull() ? "<none>" : attr->getValue();
  }
};

TEST_F(XmlTest, ElementsChildrenAndAttributes) {
  XmlNodePtr root = rootOf(
      "<?xml version=\"1.0\"?>\n"
      "<RELATIONS version=\"2\">\n"
      "  <!-- note -->\n"
      "  <FIELD form=\"PA40\" name=\"F139\" value=\"a &amp; b &lt;c&gt; &quot;d&quot; "
      "&#65;&#x42;\"/>\n"
      "  <p:ITEM xmlns:p=\"urn:x\" p:kind=\"k\" empty=\"\">text</p:ITEM>\n"
      "</RELATIONS>\n");
  ASSERT_FALSE(root.isNull());
  EXPECT_EQ(root->getName(), "RELATIONS");
  EXPECT_TRUE(root->isElement());
  EXPECT_EQ(root->getValue(), "");
  EXPECT_EQ(attribute(root, "version"), "2");

  SmartPointers::CountedPtr<XmlDom::XmlNodeList> children = root->getChildNodes();
  std::vector<XmlNodePtr> elements;
  for (int i = 0; i < children->length(); ++i) {
    XmlNodePtr child = children->item(i);
    ASSERT_FALSE(child.isNull());
    if (child->isElement()) elements.push_back(child);
  }
  EXPECT_GT(children->length(), 2);  // texts and the comment are nodes too
  EXPECT_TRUE(children->item(-1).isNull());
  EXPECT_TRUE(children->item(children->length()).isNull());
  ASSERT_EQ(elements.size(), 2u);

  const XmlNodePtr& field = elements[0];
  EXPECT_EQ(field->getName(), "FIELD");
  EXPECT_EQ(attribute(field, "form"), "PA40");
  EXPECT_EQ(attribute(field, "value"), "a & b <c> \"d\" AB");
  EXPECT_EQ(attribute(field, "missing"), "<none>");
  EXPECT_EQ(field->getChildNodes()->length(), 0);

  const XmlNodePtr& item = elements[1];
  EXPECT_EQ(item->getName(), "p:ITEM");
  EXPECT_EQ(attribute(item, "p:kind"), "k");
  EXPECT_EQ(attribute(item, "kind"), "<none>");
  EXPECT_EQ(attribute(item, "empty"), "");
  XmlNodePtr text = item->getChildNodes()->item(0);
  ASSERT_FALSE(text.isNull());
  EXPECT_FALSE(text->isElement());
  EXPECT_EQ(text->getName(), "#text");
  EXPECT_EQ(text->getValue(), "text");
  // A text has no attributes: an empty map, not an empty holder.
  EXPECT_TRUE(text->getAttributes()->getNamedItem("x").isNull());
}

TEST_F(XmlTest, NodesOutliveReaderAndDocument) {
  XmlNodePtr attr;
  SmartPointers::CountedPtr<XmlDom::XmlNodeList> list;
  {
    write("doc.xml", "<A><B id=\"7\"/><C/></A>");
    auto reader = std::make_unique<XmlTextReader>();
    ASSERT_TRUE(reader->loadXml(file("doc.xml")));
    XmlNodePtr root = reader->getXmlDocument()->getDocumentElement();
    list = root->getChildNodes();
    attr = list->item(0)->getAttributes()->getNamedItem("id");
    // A second load drops the first document from the reader only.
    write("other.xml", "<Z/>");
    ASSERT_TRUE(reader->loadXml(file("other.xml")));
    EXPECT_EQ(reader->getXmlDocument()->getDocumentElement()->getName(), "Z");
  }
  ASSERT_FALSE(attr.isNull());
  EXPECT_EQ(attr->getName(), "id");
  EXPECT_EQ(attr->getValue(), "7");
  ASSERT_EQ(list->length(), 2);
  EXPECT_EQ(list->item(1)->getName(), "C");
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

TEST_F(XmlTest, ParserExtractsTheNthTagAsText) {
  const std::string text =
      "<AUTOTESTOPTIONS><CLEAR>No</CLEAR><PAOUTPUTDIR>C:/out &amp; more</PAOUTPUTDIR>"
      "<CLEAR>Yes</CLEAR><EMPTY></EMPTY><OPEN>no end</AUTOTESTOPTIONS>";
  XMLParser parser;
  std::string value = "stale";
  EXPECT_TRUE(parser.extractXmlSubstring(value, text, "CLEAR", 1, false));
  EXPECT_EQ(value, "No");
  EXPECT_TRUE(parser.extractXmlSubstring(value, text, "CLEAR", 2, false));
  EXPECT_EQ(value, "Yes");
  EXPECT_TRUE(parser.extractXmlSubstring(value, text, "PAOUTPUTDIR", 1, false));
  EXPECT_EQ(value, "C:/out &amp; more");  // no decoding
  EXPECT_TRUE(parser.extractXmlSubstring(value, text, "EMPTY", 1, false));
  EXPECT_EQ(value, "");

  struct Miss {
    const char* tag;
    int n;
  };
  for (const Miss& miss : {Miss{"CLEAR", 3}, Miss{"CLEAR", 0}, Miss{"OPEN", 1}, Miss{"NONE", 1},
                           Miss{"", 1}, Miss{"CLEA", 1}}) {
    value = "stale";
    EXPECT_FALSE(parser.extractXmlSubstring(value, text, miss.tag, miss.n, false)) << miss.tag;
    EXPECT_EQ(value, "");
  }
}

TEST_F(XmlTest, ParserReadsTheFileAsText) {
  const std::string content = "<?xml version=\"1.0\"?>\n<A><CLEAR>No</CLEAR></A>\n";
  write("opts.xml", content);
  XMLParser parser;
  std::string text = "stale";
  EXPECT_FALSE(parser.readXmlIntoMemory(text, true));  // nothing open
  EXPECT_EQ(text, "");
  ASSERT_TRUE(parser.open(file("opts.xml"), 1));
  EXPECT_TRUE(parser.readXmlIntoMemory(text, true));
  EXPECT_EQ(text, content);
  EXPECT_TRUE(parser.readXmlIntoMemory(text, true));  // again from the start
  EXPECT_EQ(text, content);
  parser.close();
  EXPECT_FALSE(parser.readXmlIntoMemory(text, true));
  EXPECT_FALSE(parser.open(file("missing.xml"), 1));
  EXPECT_FALSE(parser.open(FileNamePtr(), 1));
}

TEST_F(XmlTest, ParserThrowsWhenATestAsks) {
  write("a.xml", "<A/>");
  write("b.xml", "<B/>");
  std::string text;
  XMLParser parser;
  ASSERT_TRUE(parser.open(file("a.xml"), 1));

  XMLParser::setThrowOnRead(true);
  EXPECT_THROW(parser.readXmlIntoMemory(text, true), Exceptions::OrvaneException);

  XMLParser::setThrowOnRead(true, path("b.xml"));
  EXPECT_TRUE(parser.readXmlIntoMemory(text, true));
  ASSERT_TRUE(parser.open(file("b.xml"), 1));
  EXPECT_THROW(parser.readXmlIntoMemory(text, true), Exceptions::OrvaneException);

  StandIn::resetAll();
  EXPECT_TRUE(parser.readXmlIntoMemory(text, true));
  EXPECT_EQ(text, "<B/>");
}

}  // namespace
