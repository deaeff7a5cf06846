#include "solve/merge_files.h"

#include <optional>

#include "solve/atomic_file.h"
#include "solve/options.h"
#include "solve/result_doc.h"
#include "solve/result_text_check.h"
#include "solve/suite_file.h"
#include "solve/suite_order.h"

namespace tarvolin::solve {

int merge_files(const std::vector<std::string>& files, const std::string& epd_path) {
  std::vector<SuitePosition> suite;
  std::string why;
  if (!epd_path.empty() && !load_suite(epd_path, suite, why)) return fail(why, 2);
  ResultDoc doc;
  for (std::size_t i = 0; i < files.size(); ++i) {
    why.clear();
    std::optional<std::string> text = read_file(files[i], why);
    if (!why.empty()) return fail(why, 2);
    if (!text && i > 0) return fail(files[i] + " does not exist", 2);
    // OUT too: what is no result file must not be overwritten.
    if (text && !is_result_text(*text, why))
      return fail(files[i] + " is not a result file: " + why, 2);
    if (i == 0)
      doc = ResultDoc(text.value_or(""));
    else
      doc.merge(*text);
  }
  std::string merged = doc.text();
  if (!suite.empty()) {
    std::vector<std::string> fens;
    for (const SuitePosition& position : suite) fens.push_back(position.fen);
    merged = in_suite_order(std::move(merged), fens);
  }
  if (!replace_file(files[0], merged, why)) return fail(why, 1);
  return 0;
}

}  // namespace tarvolin::solve
