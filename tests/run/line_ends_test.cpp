// Result and offset files saved on Windows: CR LF line ends, and perhaps
// the Ctrl-Z that old editors put at the end. Both builds must read them as
// the same files with LF line ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

namespace fs = std::filesystem;

struct Case {
  fs::path folder;
  std::string answers;
};

// The console without its timing and the five reports, from a run in a
// fresh folder on the case's files, each changed by edit.
std::string run_edited(const Case& c, std::string (*edit)(const std::string&)) {
  ScratchDir dir;
  for (const fs::directory_entry& entry : fs::directory_iterator(c.folder))
    if (entry.path().extension() == ".pgn")
      dir.write(entry.path().filename().string(), edit(read_file(entry.path().string())));
  const RunResult result = run_in_process(c.answers);
  std::string all = without_timing(result.console) + "\nexit " + std::to_string(result.exit_code);
  for (const char* report : REPORT_NAMES) all.append("\n").append(report).append(dir.read(report));
  return all;
}

TEST(LineEnds, CrLfAndATrailingCtrlZReadAsPlainLineEnds) {
  const Case cases[] = {{TARVOLIN_EXAMPLES, "suite\n2600\n\n"},
                        {fs::path(TARVOLIN_TEST_DATA) / "e2e_small", "small\n2500\n\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder.string());
    const std::string plain = run_edited(c, [](const std::string& text) { return text; });
    ASSERT_NE(plain.find("\nexit 0\ngeneral.dat"), std::string::npos) << plain;
    EXPECT_EQ(run_edited(c, with_crlf), plain) << "CR LF";
    EXPECT_EQ(run_edited(c, [](const std::string& text) { return with_crlf(text) + '\x1a'; }),
              plain)
        << "CR LF and Ctrl-Z";
    EXPECT_EQ(run_edited(c, [](const std::string& text) { return text + '\x1a'; }), plain)
        << "LF and Ctrl-Z";
  }
}

}  // namespace
}  // namespace tarvolin::testing
