// Where the frontier picture puts its legend and its labels: never over a
// point, nor a label over another.
#include "programs/cli/PictureLayout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korvel::cli {
namespace {

const Box kPlot{0, 0, 400, 300};

TEST(PictureLayout, TheLegendTakesACornerWithoutMarksOrNone) {
    const struct {
        std::vector<Box> marks;
        std::optional<Box> corner;
    } cases[] = {
        {{}, Box{290, 10, 100, 50}},
        {{MarkBox(350, 30, 5)}, Box{10, 10, 100, 50}},
        {{MarkBox(350, 30, 5), MarkBox(20, 55, 5), MarkBox(389, 245, 5)}, Box{10, 240, 100, 50}},
        {{MarkBox(350, 30, 5), MarkBox(20, 55, 5), MarkBox(389, 245, 5), MarkBox(60, 280, 5)}, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<Box> corner = FreeCorner(kPlot, 100, 50, 10, c.marks);
        ASSERT_EQ(corner.has_value(), c.corner.has_value()) << c.marks.size();
        if (corner) {
            EXPECT_EQ(std::tie(corner->left, corner->top), std::tie(c.corner->left, c.corner->top)) << c.marks.size();
        }
    }
}

TEST(PictureLayout, LabelsStayInThePlotClearOfMarksAndOfEachOther) {
    // A crowd of points, and one at the plot's right edge.
    const std::vector<LabelRequest> labels = {
        {100, 100, 40, 14}, {104, 100, 40, 14}, {100, 106, 40, 14}, {108, 96, 40, 14}, {396, 150, 40, 14}};
    std::vector<Box> marks;
    for (const LabelRequest& label : labels)
        marks.push_back(MarkBox(label.x, label.y, 5));
    const std::vector<std::optional<Box>> placed = PlaceLabels(kPlot, labels, marks);
    ASSERT_EQ(placed.size(), labels.size());
    EXPECT_LT(placed[4]->Right(), 396);
    for (size_t i = 0; i < placed.size(); ++i) {
        ASSERT_TRUE(placed[i]) << i;
        EXPECT_TRUE(kPlot.Holds(*placed[i])) << i;
        for (const Box& mark : marks)
            EXPECT_FALSE(placed[i]->Overlaps(mark)) << i;
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(placed[i]->Overlaps(*placed[j])) << i << " " << j;
    }
}

}  // namespace
}  // namespace korvel::cli
