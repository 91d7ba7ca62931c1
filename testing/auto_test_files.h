// The files of the automated-test hooks: the option and clear files in the
// host's automated-test directory, the paths those files name, the outputs
// the hooks write and the plain line reader the test-data readers share.
//
// Paths taken from file contents are never used as they stand: they are
// resolved under the automated-test directory (DataMgmt::
// OrvaneConfiguration::getAutoTestDir), so that an option file cannot make
// a hook read or write anywhere else. A path that would leave the
// directory, or pass through a symbolic link inside it, is refused and the
// step that needs it does not run. No output may take the name of a
// control file of the hooks (the options file, a clear file, the report),
// of a file the run reads (the hooks' inputs and the host's, such as the
// return file) or of one the host writes (its data file, or a file in the
// folder it writes that in), nor write through a second hard link. Files
// are read only when they are regular files, opened without waiting, and a
// read that fails refuses the whole file (a read a signal interrupts is
// tried again).
#ifndef TESTING_AUTO_TEST_FILES_H_
#define TESTING_AUTO_TEST_FILES_H_

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace PersistanceMgmt {
class XmlTextReader;
}

namespace AutoTestFiles {

// The options file all hooks share, and the tag of a clear file.
extern const char kOptionsFileName[];  // "OrvaneAutoTest_OVQA.xml"
extern const char kClearTag[];         // "CLEAR"
// The clear files: a state prefix ("PA") and one of these tails.
extern const char kDriverClearTail[];       // "OrvaneAutoTest_Clear.xml"
extern const char kScrubberClearTail[];     // "OrvaneAutoTest_Clear_Scrubber.xml"
extern const char kCycleDaemonClearTail[];  // "OrvaneAutoTest_Clear_KXTDaemon.xml"

// Why no hook writes a file with a second hard link (another name of it
// may lie outside the folder): "names a file with more than one hard link".
extern const char kLinkedFileRefusal[];

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
// Reads, for each tag, the text of the first element of that name in the
// XML file (comments are no elements; attributes do not matter). A missing
// file leaves every value "" without a word; so does a file that is a
// symbolic link (never followed: it may lead out of the folder), no
// regular file, cannot be read or is not well-formed XML, and that is
// reported with the reason. The root element may have any name: the
// file is shared with the host, whose reader finds the tags anywhere.
// False (values cleared) when the host's reader raised
// Exceptions::OrvaneException: the caller then ends its hook at once.
bool readOptions(const std::string& path, const std::vector<std::string>& tags, OptionValues& values);

// The options that name files the hooks read: the import, the two files
// of the relation run and the field groups. Every hook reads them with
// its own options, so that its outputs never replace an input of the run.
extern const char* const kInputTags[4];

// While one lives, the files that `options` names under kInputTags (as
// resolveFile resolves them; refused values name nothing) are inputs of
// the run, which openOutput refuses to write. Nested hooks add theirs.
// The host's own inputs (OrvaneConfiguration::getHostInputFiles) are
// inputs of the run too, always.
class RunInputs {
 public:
  explicit RunInputs(const OptionValues& options);
  ~RunInputs();
  RunInputs(const RunInputs&) = delete;
  RunInputs& operator=(const RunInputs&) = delete;

 private:
  std::size_t added_ = 0;
};

// Whether `path` names an input of the run (RunInputs, the host's input
// files): the same path however spelled (".." parts, symbolic links of
// its folders), or, for files that exist, the same file on the disk (a
// hard link counts).
bool isRunInput(const std::string& path);
// Whether `path` names a file the host writes in this run, or lies in a
// folder it writes in (OrvaneConfiguration::getHostOutputs), by the same
// rule.
bool isHostOutput(const std::string& path);
// Why no hook may write `path`: "names a file this run reads" (isRunInput)
// or "names a file this run writes" (isHostOutput); null when it may.
const char* runFileRefusal(const std::string& path);

// Loads the XML input file `path` of a hook into `reader`, which must then
// have the root element `root`. False, reported as a file not read, when
// the reader refuses the file (with its reason) or the root is another
// ("its root element is FOO, not RELATIONS"): nothing of it is to be
// applied.
bool loadXmlInput(const std::string& path, const std::string& root, PersistanceMgmt::XmlTextReader& reader);

// Writes a clear file anew, four lines each ended by "\n": the XML
// declaration, "<AUTOTESTOPTIONS>", "<CLEAR>No</CLEAR>" and
// "</AUTOTESTOPTIONS>". The file keeps what it held until the new one is
// whole, and keeps its permissions; where that cannot be written, the
// report says so as it does of any output (openOutput), and it is false.
// The new one is written beside it under its name, this process's number
// and ".new", locked (flock) until it is renamed: such a file a rewrite
// killed before its rename left (no one holds it locked, and it holds a
// beginning of the four lines) goes first, whatever process number it
// names, and nothing else; where such a file cannot be locked (a file
// system without locks), it stays.
bool rewriteClearFile(const std::string& path);

// Removes the automated-test directory when it is empty; the result is
// ignored. Nothing without a directory.
void removeAutoTestDirectory();

// Resolves a path taken from an option file under the automated-test
// directory. "\\" counts as "/"; a value that starts with the directory
// itself, or with the host's own folder "C:/AutoTest_OV/" (any case), is
// taken relative to it; "." parts and repeated separators are dropped.
// Refused (false, `why` set): an absolute path elsewhere, another drive
// ("D:"), a ".." part, a part that is a symbolic link, and every value
// while there is no automated-test directory. A directory may resolve to
// the automated-test directory itself (an empty value does); a file must
// name something below it.
bool resolveDirectory(const std::string& value, std::string& path, std::string* why);
bool resolveFile(const std::string& value, std::string& path, std::string* why);
// The file `name` of the folder `folder`, with one "/" between them.
std::string fileInFolder(const std::string& folder, const std::string& name);
// A single path part a file may be named by: not empty, not "." or "..",
// without "/", "\\" or ":".
bool isPlainName(const std::string& name);

// Opens an output file of a hook, truncated or, with `append`, appended
// to, after making its folder. Inside the automated-test directory a path
// is refused (reported, `out` left closed, false) when it names a control
// file, an input of the run (RunInputs) or an output of the host
// (isHostOutput), passes through a symbolic link or a ".." part, names
// something that is not a regular file, or a file with more than one hard
// link (writing it would change the other names too, which may lie outside
// the folder).
bool openOutput(const std::string& path, bool append, std::ofstream& out);
// Closes an output after its last write. False when it was never opened
// (openOutput reported why) and, reported, when a write or the close
// failed (a full disk): the file then holds less than was written.
bool closeOutput(std::ofstream& out, const std::string& path);

// "" when `path` is a regular file this process can read; otherwise why
// not, in words ("no file to read there", "not a regular file", ...).
std::string whyNotReadable(const std::string& path);

// Every line of a regular file, without its end ("\n", "\r\n" or a lone
// "\r"; a last line without one counts). A line longer than
// IOMgmt::kMaxLineLength is given as "" and its number (from 1) added to
// `tooLong`; the lines after it are read as usual. None, and `why` set,
// when the file cannot be opened, is not a regular file (it is opened
// without waiting: a device or pipe may never end) or a read fails ("cannot
// be read: " and the system's reason; the lines before it are not given
// either, nor added to `tooLong`).
std::vector<std::string> readLines(const std::string& path, std::vector<long>* tooLong = nullptr,
                                   std::string* why = nullptr);

}  // namespace AutoTestFiles

#endif  // TESTING_AUTO_TEST_FILES_H_
