// The files of the automated-test hooks: the option and clear files in the
// host's automated-test directory, the paths those files name, and the
// plain line reader the test-data readers share.
//
// Paths taken from file contents are never used as they stand: they are
// resolved under the automated-test directory (DataMgmt::
// OrvaneConfiguration::getAutoTestDir), so that an option file cannot make
// a hook read or write anywhere else. A path that would leave the directory
// is refused and the step that needs it does not run.
#ifndef TESTING_AUTO_TEST_FILES_H_
#define TESTING_AUTO_TEST_FILES_H_

#include <map>
#include <string>
#include <vector>

namespace AutoTestFiles {

// The options file all hooks share, and the tag of a clear file.
extern const char kOptionsFileName[];  // "OrvaneAutoTest_OVQA.xml"
extern const char kClearTag[];         // "CLEAR"

// A switch is on only for exactly "Yes".
inline bool isOn(const std::string& value) { return value == "Yes"; }

// Whether the host names an automated-test directory. Without one (the
// stand-in's default) every hook does nothing and no file is touched.
bool hasAutoTestDirectory();
// The automated-test directory as configured, ending with "/"; "" when
// there is none.
std::string autoTestDirectory();
// A file of that directory (a fixed name of the module, not data).
std::string autoTestFile(const std::string& fileName);

// Option values by tag; a tag not found reads as "".
typedef std::map<std::string, std::string> OptionValues;
// Reads the text of the first element of each tag from an XML file, in the
// order given. A file that is missing or cannot be read leaves every value
// "". False (values cleared) when the host's reader raised
// Exceptions::OrvaneException: the caller then ends its hook at once.
bool readOptions(const std::string& path, const std::vector<std::string>& tags, OptionValues& values);

// Deletes a clear file and writes it anew, four lines each ended by "\n":
// the XML declaration, "<AUTOTESTOPTIONS>", "<CLEAR>No</CLEAR>" and
// "</AUTOTESTOPTIONS>". Failures are ignored.
void rewriteClearFile(const std::string& path);

// Removes the automated-test directory when it is empty; the result is
// ignored. Nothing without a directory.
void removeAutoTestDirectory();

// Resolves a path taken from an option file under the automated-test
// directory. "\\" counts as "/"; a value that starts with the directory
// itself is taken relative to it; "." parts and repeated separators are
// dropped. Refused (false): an absolute path elsewhere, a drive ("C:")
// or ".." part, and every value while there is no automated-test
// directory. A directory may resolve to the automated-test directory
// itself (an empty value does); a file must name something below it.
bool resolveDirectory(const std::string& value, std::string& path);
bool resolveFile(const std::string& value, std::string& path);
// A single path part a file may be named by: not empty, not "." or "..",
// without "/", "\\" or ":".
bool isPlainName(const std::string& name);

// Makes the directory and any missing parent; errors are ignored (an
// existing directory is fine).
void makeDirectories(const std::string& path);

// Every line of a text file, without line ends; none when the file cannot
// be opened.
std::vector<std::string> readLines(const std::string& path);

}  // namespace AutoTestFiles

#endif  // TESTING_AUTO_TEST_FILES_H_
