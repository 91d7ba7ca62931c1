// Message texts are data: every rule set keeps its texts in a table of its
// own, so that a text is found and changed in one place. The audit's
// sources are read as text and no call that reports a message may write
// its text inline.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// The reporters a rule calls, and the text of a source from `start` to the
// parenthesis that closes the call opened there.
const char* const kReporters[] = {"report.issue(",   "report.issueOn(",  "report.efile(",
                                  "report.requiredPair(", "reportRule(", "reportAuditIssue(",
                                  "reportEFileIssue(", "report("};

std::string callAt(const std::string& source, std::size_t open) {
  int depth = 0;
  bool quoted = false;
  for (std::size_t i = open; i < source.size(); ++i) {
    const char c = source[i];
    if (quoted) {
      if (c == '\\') ++i;
      else if (c == '"') quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      return source.substr(open, i - open + 1);
    }
  }
  return source.substr(open);
}

TEST(TextsAreDataTest, NoReportWritesItsTextInline) {
  std::ostringstream inlineTexts;
  for (const auto& entry : std::filesystem::directory_iterator(PA_AUDIT_SOURCE_DIR)) {
    if (entry.path().extension() != ".cc") continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    for (const char* reporter : kReporters) {
      const std::string name = reporter;
      for (std::size_t at = source.find(name); at != std::string::npos;
           at = source.find(name, at + 1)) {
        // A longer reporter's name or a declaration is no call of this one.
        if (at > 0 && (std::isalnum(static_cast<unsigned char>(source[at - 1])) ||
                       source[at - 1] == '_' || source[at - 1] == ':')) {
          continue;
        }
        const std::string call = callAt(source, at + name.size() - 1);
        if (call.find('"') != std::string::npos) {
          inlineTexts << entry.path().filename().string() << ": " << name
                       << call.substr(1, 60) << "...\n";
        }
      }
    }
  }
  if (!inlineTexts.str().empty()) ADD_FAILURE() << "texts written at the call:\n" << inlineTexts.str();
}

}  // namespace
