#include "rating/clusters.h"

#include <gtest/gtest.h>

#include <string>

#include "rating/rating_fixtures.h"
#include "reports/cluster_report.h"
#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

std::string padded_to_40(const std::string& name) {
  return name + std::string(name.size() < 40 ? 40 - name.size() : 0, ' ');
}

TEST(Clusters, ChainExampleAndItsReport) {
  ScratchDir dir;
  auto t = tables_with_programs(3);
  t->program_name[1] = "Alpha";
  t->program_name[2] = "Beta";
  t->program_name[3] = "Gamma";
  add_matches(*t, 1, 2, 10, 7.5);
  add_matches(*t, 2, 3, 10, 5.0);

  EXPECT_EQ(find_clusters(*t), 1);
  EXPECT_EQ(t->cluster_size[1], 3);
  EXPECT_DOUBLE_EQ(t->score_rate[1], 0.75);
  EXPECT_DOUBLE_EQ(t->score_rate[2], 0.375);
  EXPECT_DOUBLE_EQ(t->score_rate[3], 0.5);
  // (400*log10(3)*10 + 400*log10(0.6)*20) / 40
  EXPECT_NEAR(t->itoffset[1], 3.3423755487, 1e-9);
  EXPECT_FALSE(dir.exists("cluster.dat"));  // finding them writes nothing
  EXPECT_TRUE(write_cluster_report(*t, stdout));
  EXPECT_EQ(dir.read("cluster.dat"), "Cluster No. 1:\n\n" + padded_to_40("Alpha") + " (1)\n" +
                                         padded_to_40("Beta") + " (2)\n" + padded_to_40("Gamma") +
                                         " (1)\n"
                                         "\n3 programs, 20 matches\n"
                                         "\nitoffset = 3.342376\n\n\n");
}

// Numbering by the lowest member and leaving out programs without matches are
// in the worked end-to-end cases.
TEST(Clusters, LongNamesStayWholeAndNoMatchesGiveAnEmptyReport) {
  ScratchDir dir;
  auto t = tables_with_programs(2);
  const std::string long_name = "AVeryLongProgramNameThatRunsPastFortyCharacters";  // 47
  t->program_name[2] = long_name;
  add_matches(*t, 1, 2, 3, 1.0);
  EXPECT_EQ(find_clusters(*t), 1);
  EXPECT_NEAR(t->itoffset[1], 0.0, 1e-9);  // equal match counts, fractions adding to one
  write_cluster_report(*t, stdout);
  EXPECT_EQ(dir.read("cluster.dat")
                .find(padded_to_40("Prog1") + " (1)\n" + long_name +
                      " (1)\n\n2 programs, 3 matches\n\nitoffset = "),
            std::string("Cluster No. 1:\n\n").size());

  auto none = tables_with_programs(3);
  EXPECT_EQ(find_clusters(*none), 0);
  EXPECT_TRUE(write_cluster_report(*none, stdout));
  for (int p = 1; p <= 3; ++p) EXPECT_EQ(none->cluster_id[p], 0);
  EXPECT_EQ(dir.read("cluster.dat"), "");
}

}  // namespace
}  // namespace tarvolin::testing
