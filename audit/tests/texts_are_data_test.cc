// Message texts are data: every rule set keeps its texts in a table of its
// own, so that a text is found and changed in one place. The audit's
// sources are read as text: no call that reports a message may write its
// text inline, and no function body may hold a piece of wording (a quoted
// text with a word of four letters or two words), which is how texts built
// inside a check used to hide.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

// The audit's sources, each with its file name.
std::vector<std::pair<std::string, std::string>> auditSources() {
  std::vector<std::pair<std::string, std::string>> sources;
  for (const auto& entry : std::filesystem::directory_iterator(PA_AUDIT_SOURCE_DIR)) {
    if (entry.path().extension() != ".cc") continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    sources.emplace_back(entry.path().filename().string(), text.str());
  }
  return sources;
}

// A quoted text that words something: four letters in a row, or a blank
// between two letters.
bool isWording(const std::string& text) {
  int run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool letter = std::isalpha(static_cast<unsigned char>(text[i])) != 0;
    run = letter ? run + 1 : 0;
    if (run >= 4) return true;
    if (text[i] == ' ' && i > 0 && i + 1 < text.size() &&
        std::isalpha(static_cast<unsigned char>(text[i - 1])) &&
        std::isalpha(static_cast<unsigned char>(text[i + 1]))) {
      return true;
    }
  }
  return false;
}

// The quoted texts of `source` that stand inside a function body, each
// with its line. A body opens at a brace after a closing parenthesis (a
// function, a constructor's initializers or a lambda; "const" and the like
// may stand between); tables at namespace scope open after "=" or a name.
std::vector<std::pair<int, std::string>> textsInBodies(const std::string& source) {
  std::vector<std::pair<int, std::string>> found;
  int depth = 0;
  int bodyDepth = -1;
  int line = 1;
  std::string before;  // the code before the current position, comments and texts left out
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char c = source[i];
    if (c == '\n') ++line;
    if (source.compare(i, 2, "//") == 0) {
      i = source.find('\n', i) - 1;
      continue;
    }
    if (source.compare(i, 2, "/*") == 0) {
      const std::size_t end = source.find("*/", i);
      for (std::size_t k = i; k < end; ++k) line += source[k] == '\n';
      i = end + 1;
      continue;
    }
    if (c == '"' || c == '\'') {
      std::size_t end = i + 1;
      while (source[end] != c) end += source[end] == '\\' ? 2 : 1;
      if (c == '"' && bodyDepth >= 0 && isWording(source.substr(i + 1, end - i - 1))) {
        found.emplace_back(line, source.substr(i + 1, end - i - 1));
      }
      before += "0";
      i = end;
      continue;
    }
    if (c == '{') {
      std::string code = before;
      code.erase(code.find_last_not_of(" \t\n") + 1);
      for (const char* word : {"const", "override", "noexcept", "mutable"}) {
        const std::string w = word;
        if (code.size() >= w.size() && code.compare(code.size() - w.size(), w.size(), w) == 0) {
          code.erase(code.size() - w.size());
          code.erase(code.find_last_not_of(" \t\n") + 1);
        }
      }
      if (bodyDepth < 0 && !code.empty() && code.back() == ')') bodyDepth = depth;
      ++depth;
    } else if (c == '}') {
      if (--depth == bodyDepth) bodyDepth = -1;
    }
    before += c;
    if (before.size() > 256) before.erase(0, before.size() - 256);
  }
  return found;
}

TEST(TextsAreDataTest, NoFunctionBuildsItsWordingInline) {
  std::ostringstream inlineTexts;
  for (const auto& [name, source] : auditSources()) {
    for (const auto& [line, text] : textsInBodies(source)) {
      inlineTexts << name << ":" << line << ": \"" << text.substr(0, 60) << "\"\n";
    }
  }
  if (!inlineTexts.str().empty()) ADD_FAILURE() << "wording inside functions:\n" << inlineTexts.str();
}

// The scan itself: a table at namespace scope passes, a text in a function,
// a member function or a lambda does not, and a comment is no text.
TEST(TextsAreDataTest, TheScanFindsWordingInBodiesOnly) {
  const std::string source =
      "namespace {\nconst char kText[] = \"a whole sentence\";\n"
      "const Row kRows[] = {{1, \"two words\"}};\n}\n"
      "void f(int a) {\n  // \"a comment\"\n  g(\"MN\", \"%s%s\", \"inline text\");\n}\n"
      "struct S {\n  void m() const { h(\"Spouse\"); }\n};\n"
      "auto l = [](int) { return \"in a lambda\"; };\n";
  const std::vector<std::pair<int, std::string>> want = {
      {7, "inline text"}, {10, "Spouse"}, {12, "in a lambda"}};
  EXPECT_EQ(want, textsInBodies(source));
}

TEST(TextsAreDataTest, NoReportWritesItsTextInline) {
  std::ostringstream inlineTexts;
  for (const auto& [file, source] : auditSources()) {
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
          inlineTexts << file << ": " << name
                       << call.substr(1, 60) << "...\n";
        }
      }
    }
  }
  if (!inlineTexts.str().empty()) ADD_FAILURE() << "texts written at the call:\n" << inlineTexts.str();
}

}  // namespace
