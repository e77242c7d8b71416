// SPDX-License-Identifier: GPL-3.0-or-later
// An import laid over the example's open book, as the window's 导入… does:
// the imported station, its distances and its known point replace the
// book's; the other stations, distances, names and the class stay; and the
// instrument's corrected distances are refused beside distances that still
// need the book's constants.

#include "compute/instrument_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "compute/field_book_file.h"

namespace korvanet {
namespace {

std::string Word(const std::string& head, const std::string& data) {
    return head + "+" + std::string(16 - data.size(), '0') + data + " ";
}

std::string Block(int n, const std::string& id, const std::string& words) {
    const std::string number = std::to_string(n);
    return "*11" + std::string(4 - number.size(), '0') + number + "+" + std::string(16 - id.size(), '0') +
           id + " " + words + "\n";
}

// Station A with its coordinates, one set on B, C and D, slopes to B and C.
std::string StationA() {
    const auto pointing = [](int n, const std::string& id, const std::string& hz, const std::string& v,
                             const std::string& slope) {
        return Block(n, id,
                     Word("21.324", hz) + Word("22.324", v) + (slope.empty() ? "" : Word("31...6", slope)));
    };
    return Block(1, "A",
                 Word("84...6", "5127364800") + Word("85...6", "35214082500") + Word("88...6", "15000")) +
           pointing(2, "B", "1113", "8931535", "18325100") +
           pointing(3, "C", "4645055", "8951149", "27804200") + pointing(4, "D", "9156402", "9000000", "") +
           pointing(5, "B", "18001043", "27027563", "18325104") +
           pointing(6, "D", "27156342", "27000000", "") +
           pointing(7, "C", "22644585", "27008356", "27804206");
}

TEST(InstrumentImport, LaysAStationOverTheOpenBook) {
    const FieldBook example = ReadFieldBookFile(std::string(KORVANET_EXAMPLES_DIR) + "/known-d.kvf");
    const InstrumentFile file = ReadInstrumentBytes(StationA(), "a.gsi");
    const ImportedBook imported = ImportBook({file}, IdentityMapping(*file.record));
    ASSERT_EQ(imported.book.distances.size(), 2u);

    // The example's distances need its constants 2.0 1.5; the imported
    // ones have the instrument's already.
    EXPECT_THROW(MergeImportedBook(example, imported.book), InputError);

    FieldBook open = example;
    open.constants.reset();
    const FieldBook merged = MergeImportedBook(open, imported.book);
    ASSERT_EQ(merged.stations.size(), 4u);
    EXPECT_EQ(merged.stations[0], imported.book.stations[0]);
    for (std::size_t s = 1; s < 4; ++s) EXPECT_EQ(merged.stations[s], open.stations[s]);
    EXPECT_EQ(merged.distances.size(), open.distances.size());
    for (const FieldDistance& d : open.distances) {
        const bool replaced = d.from == 0 && (d.to == 1 || d.to == 2);
        EXPECT_EQ(std::count(merged.distances.begin(), merged.distances.end(), d), replaced ? 0 : 1);
    }
    for (const FieldDistance& d : imported.book.distances)
        EXPECT_EQ(std::count(merged.distances.begin(), merged.distances.end(), d), 1);
    EXPECT_EQ(merged.points[0].name, "A");
    EXPECT_EQ(merged.points[0].x->text, "3521408.25");
    EXPECT_EQ(merged.points[1], open.points[1]);  // B: nothing known in the file but its name
    EXPECT_EQ(merged.points[3], open.points[3]);
    EXPECT_EQ(merged.tolerance, open.tolerance);
    EXPECT_EQ(merged.orderClass, open.orderClass);
    EXPECT_EQ(merged.edm, open.edm);
    ASSERT_TRUE(merged.constants);
    EXPECT_EQ((*merged.constants)[0].value, 0);
    // What the window writes back reads as the book it shows.
    EXPECT_EQ(ReadFieldBook(FieldBookText(merged)), merged);
}

}  // namespace
}  // namespace korvanet
