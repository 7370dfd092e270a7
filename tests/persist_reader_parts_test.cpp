// SPDX-License-Identifier: MIT
// Parts of the store reader on their own: the pre-scan that counts the attributes of start tags
// before libxml2 sees them, and the table of ids that references resolve against.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "model/config_store.h"
#include "persist/id_table.h"
#include "persist/store_reader.h"
#include "persist/tag_scanner.h"

namespace {

using zav::persist::kMaxAttributesPerTag;
using zav::persist::tElementKind;

std::string Attributes(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += (i == count / 2 ? "\n a" : " a") + std::to_string(i) + "='v'";
  return text;
}

// The line the scanner reports for `document` fed in pieces of `piece` bytes, or 0.
int Scan(const std::string& document, size_t piece) {
  zav::persist::tTagScanner scanner(kMaxAttributesPerTag);
  for (size_t at = 0; at < document.size(); at += piece)
    if (int line = scanner.Scan(document.data() + at, std::min(piece, document.size() - at))) return line;
  return 0;
}

// Only the equals signs of one start tag count, wherever the document is cut into chunks: not
// those in quoted values, comments, processing instructions, CDATA sections, declarations or
// end tags, whose line ends still count.
TEST(TagScanner, CountsTheAttributesOfOneStartTagAcrossChunks) {
  const std::string over = Attributes(kMaxAttributesPerTag + 1);
  const std::string noise = "<!DOCTYPE d SYSTEM '" + over + "'>\n<!-- " + over + " -- > --->\n<?pi " + over +
                            "\n?>\n<![CDATA[" + over + "\n]]]>\n<a b='=>\n' c=\"'>\"" +
                            Attributes(kMaxAttributesPerTag - 2) + ">\n</a" + over + ">\n";
  const std::string within = noise + "<e" + Attributes(kMaxAttributesPerTag) + "/><f" +
                             Attributes(kMaxAttributesPerTag) + ">";
  const std::string beyond = noise + "\n<e" + over + ">";
  const int line = static_cast<int>(std::count(noise.begin(), noise.end(), '\n')) + 2;
  for (size_t piece : {within.size(), size_t{1}, size_t{7}, size_t{509}}) {
    EXPECT_EQ(Scan(within, piece), 0) << piece;
    EXPECT_EQ(Scan(beyond, piece), line) << piece;
  }
}

// A document may give an id twice; a reference resolves to the item that took it last, also
// when the first one went to the table's map and the second to its vector.
TEST(IdTable, TheLatestRegistrationOfAnIdWins) {
  tZavHardwareAsset first, second, other;
  zav::persist::tIdTable ids;
  ids.Register("p5000", &first, tElementKind::kHardwareAsset);
  for (int i = 1; i <= 1000; ++i) ids.Register("p" + std::to_string(i), &other, tElementKind::kSession);
  ids.Register("p5000", &second, tElementKind::kHardwareAsset);
  EXPECT_EQ(ids.Resolve("p5000").item, &second);
  ids.Register("p7", &second, tElementKind::kDriverSession);
  EXPECT_EQ(ids.Resolve("p7").item, &second);
  EXPECT_EQ(ids.Resolve("p7").kind, tElementKind::kDriverSession);
  // Ids that only resemble the writer's numbers are ids of their own.
  for (const char* id : {"p05", "P5", "p5 ", "p999999999", "p10000000005", "p"})
    ids.Register(id, &first, tElementKind::kHardwareAsset);
  EXPECT_EQ(ids.Resolve("p5").item, &other);
  EXPECT_EQ(ids.Resolve("p05").item, &first);
  EXPECT_EQ(ids.Resolve("p999999999").item, &first);
  EXPECT_EQ(ids.Resolve("p1001").item, nullptr);
  EXPECT_EQ(ids.Resolve("").item, nullptr);
}

}  // namespace
