#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/TextFileReader.h"

// Walks the whole arena layout in the order the match loads it. A row that
// is wrong, missing or has one value too many anywhere shifts every value
// after it, so this one walk guards the whole table.
namespace {

void expectInts(TextFileReader& reader, const std::vector<int>& values, const char* row) {
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(values[i], reader.readInt()) << row << " value " << i;
}

void expectDoubles(TextFileReader& reader, const std::vector<double>& values, const char* row) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_DOUBLE_EQ(values[i], reader.readDouble()) << row << " value " << i;
    }
}

TEST(GameLayoutTest, EveryRowInLoadingOrderEndsAtTheEnd) {
    TextFileReader reader;
    ASSERT_EQ(0, reader.openText("txtGame", "TextFile"));
    expectInts(reader, {0, 0, 400, 400}, "background");

    struct PaddleRow {
        const char* name;
        std::vector<int> rects;
        std::vector<double> normalAndAngles;
        int type;
        std::vector<int> bonusPoint;
    };
    const PaddleRow paddles[] = {
        {"green", {14, 28, 27, 93, 6, 79, 19, 321}, {1, 0, 2.54, 3.74}, 1, {15, 352}},
        {"yellow", {0, 0, 65, 13, 79, 381, 321, 394}, {0, -1, 0.97, 2.17}, 0, {363, 352}},
        {"red", {0, 28, 13, 93, 381, 79, 394, 321}, {-1, 0, 5.68, 0.6}, 1, {363, 26}},
        {"blue", {0, 14, 65, 27, 79, 6, 321, 19}, {0, 1, 4.11, 5.31}, 0, {15, 26}},
    };
    for (const PaddleRow& paddle : paddles) {
        expectInts(reader, paddle.rects, paddle.name);
        expectDoubles(reader, paddle.normalAndAngles, paddle.name);
        EXPECT_EQ(paddle.type, static_cast<signed char>(reader.readByte())) << paddle.name;
        expectInts(reader, paddle.bonusPoint, paddle.name);
    }

    expectInts(reader, {51, 43, 65, 57}, "ball");
    expectDoubles(reader, {18, 321, 78, 381, 321, 381, 381, 321, 321, 18, 381, 78, 18, 78, 78, 18}, "wall ends");
    expectDoubles(reader,
                  {1, -1, 0, -1, 1, 0, -1, -1, 0, -1, -1, 0, -1, 1, 0, 1, -1, 0, 1, 1, 0, 1, 1, 0}, "wall normals");

    const std::vector<int> bonusRects[] = {
        {0, 97, 26, 123, 0, 0, 0, 0}, {27, 97, 53, 123, 28, 28, 50, 50},
        {27, 124, 53, 150, 28, 51, 50, 73}, {27, 151, 53, 177, 28, 74, 50, 96}};
    const int durations[] = {-1, 10000, 10000, -1};
    for (int kind = 0; kind < 4; ++kind) {
        expectInts(reader, bonusRects[kind], "bonus");
        expectDoubles(reader, {22, 22, 189, 189}, "bonus box");
        EXPECT_EQ(durations[kind], reader.readInt()) << "bonus " << kind;
    }

    struct TextRow {
        std::vector<int> rect;
        const char* text;
        int colour;
        int style;
    };
    const TextRow texts[] = {{{13, 374, 50, 391}, "0", 3, 1},
                             {{354, 374, 391, 391}, "0", 0, 1},
                             {{354, 9, 391, 26}, "0", 1, 1},
                             {{13, 9, 50, 26}, "0", 2, 1},
                             {{175, 140, 225, 187}, "", 0, 1}};
    for (const TextRow& row : texts) {
        expectInts(reader, row.rect, "text");
        EXPECT_EQ(row.text, reader.readString());
        EXPECT_EQ(row.colour, reader.readInt());
        EXPECT_EQ(row.style, reader.readInt());
    }

    // Nothing after the last row: no further number, no further string.
    EXPECT_EQ(0, reader.readInt());
    EXPECT_EQ("", reader.readString());
}

TEST(GameLayoutTest, MainAndMenuAndDefaultsRead) {
    TextFileReader reader;
    ASSERT_EQ(0, reader.openText("txtMain", "TextFile"));
    expectInts(reader, {0, 0, 65, 204, 9}, "rcMisc and count");
    const char* ranks[] = {"1.", "2.", "3.", "", "", "", "", "", ""};
    const std::vector<int> rects[] = {{147, 256, 161, 278}, {147, 274, 161, 296}, {147, 292, 161, 314},
                                      {162, 256, 227, 278}, {162, 274, 227, 296}, {162, 292, 227, 314},
                                      {240, 256, 272, 278}, {240, 274, 272, 296}, {240, 292, 272, 314}};
    for (int i = 0; i < 9; ++i) {
        expectInts(reader, rects[i], "label");
        EXPECT_EQ(ranks[i], reader.readString());
        expectInts(reader, {11790589, 0}, "label colour");
    }
    EXPECT_EQ(0, reader.remaining());

    ASSERT_EQ(0, reader.openText("txtMenu", "TextFile"));
    expectInts(reader, {0, 0, 400, 400, 99, 406, 85, 300, 406, 85, 341, 50, 65, 51, 28, 65, 42}, "menu head");
    expectInts(reader, {260, 189, 274, 203, 260, 141, 274, 155, 260, 213, 274, 227, 260, 165, 274, 179,
                        301, 189, 315, 203, 301, 141, 315, 155, 301, 213, 315, 227, 301, 165, 315, 179},
               "boxes");
    EXPECT_EQ(0, reader.readInt());

    ASSERT_EQ(0, reader.openText("txtHiScore", "TextFile"));
    EXPECT_EQ(2, reader.readByte());
    EXPECT_EQ("Ball", reader.readString());
    EXPECT_EQ(5, reader.readInt());
    EXPECT_EQ("Bead", reader.readString());
    EXPECT_EQ(2, reader.readInt());
    EXPECT_EQ("Blob", reader.readString());
    EXPECT_EQ(0, reader.readInt());
    EXPECT_EQ("", reader.readString());
}

}  // namespace
