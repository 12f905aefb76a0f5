#include "virtual_printer/label_stream.h"

#include <gtest/gtest.h>

namespace tagwright::cli::printer {
namespace {

using Kind = StreamItem::Kind;

const std::string kJob =
    "^Q40,3\r^W58\r^S4\r^XSET,IMMEDIATE,1\r^C2\r^L\rAC,20,20,1,1,1,0,First\rE\r"
    "~S,STATUS\r^L\rR10,10,450,300,2,2\rE\r~S,CHECK\r";

std::vector<StreamItem> feedInPieces(LabelStream& stream, const std::string& job,
                                     std::size_t piece) {
  std::vector<StreamItem> items;
  for (std::size_t at = 0; at < job.size(); at += piece) {
    for (StreamItem& item : stream.feed(std::string_view(job).substr(at, piece))) {
      items.push_back(std::move(item));
    }
  }
  for (StreamItem& item : stream.finish()) items.push_back(std::move(item));
  return items;
}

TEST(LabelStream, CutsAtEachLabelAndTakesQueriesOutWhateverThePieces) {
  for (std::size_t piece : {kJob.size(), std::size_t{1}, std::size_t{2}, std::size_t{7}}) {
    LabelStream stream(1 << 20);
    const std::vector<StreamItem> items = feedInPieces(stream, kJob, piece);
    ASSERT_EQ(items.size(), 5u) << piece;
    EXPECT_EQ(items[0].kind, Kind::ImmediateReplies);
    EXPECT_TRUE(items[0].on);
    EXPECT_EQ(items[1].kind, Kind::Label);
    EXPECT_EQ(items[1].bytes, "^Q40,3\r^W58\r^S4\r^C2\r^L\rAC,20,20,1,1,1,0,First\rE\r");
    EXPECT_EQ(items[2].kind, Kind::StatusQuery);
    EXPECT_EQ(items[3].kind, Kind::Label);
    EXPECT_EQ(items[3].bytes, "^L\rR10,10,450,300,2,2\rE\r");
    EXPECT_EQ(items[4].kind, Kind::CheckQuery);
    EXPECT_EQ(stream.held(), 0u);
  }
}

TEST(LabelStream, KnowsWhenALabelIsComing) {
  LabelStream stream(1 << 20);
  stream.feed("^W58\r^L\rAA,1,1,1,1,1,0,x");
  EXPECT_TRUE(stream.insideLabel());
  stream.feed("\rE");
  EXPECT_TRUE(stream.insideLabel());  // E without its CR is not the end yet
  const std::vector<StreamItem> items = stream.feed("\r");
  EXPECT_FALSE(stream.insideLabel());
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].kind, Kind::Label);
}

TEST(LabelStream, AnInlineImageMayHoldWhatLooksLikeCommands) {
  // Two bytes of bitmap data: "E\r" would end the label if read as a command.
  const std::string job = "^L\rQ0,0,1,2\rE\rE\r";
  LabelStream stream(1 << 20);
  std::vector<StreamItem> items = feedInPieces(stream, job, 1);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].bytes, job);
}

TEST(LabelStream, WhatIsLeftAtTheEndIsOnePiece) {
  LabelStream stream(1 << 20);
  EXPECT_TRUE(stream.feed("^L\rAA,1,1,1,1,1,0,never ended\r").empty());
  std::vector<StreamItem> items = stream.finish();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].bytes, "^L\rAA,1,1,1,1,1,0,never ended\r");
  EXPECT_FALSE(stream.insideLabel());
  // Line feeds alone are nothing.
  stream.feed("\r\n\n");
  EXPECT_TRUE(stream.finish().empty());
}

TEST(LabelStream, DropsWhatPassesTheCap) {
  LabelStream stream(64);
  EXPECT_TRUE(stream.feed("^L\r" + std::string(40, 'A')).empty());
  std::vector<StreamItem> items = stream.feed(std::string(40, 'B'));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].kind, Kind::Dropped);
  EXPECT_EQ(items[0].dropped, 83u);
  EXPECT_EQ(stream.held(), 0u);
  // It goes on with what comes next.
  items = stream.feed("^L\rE\r");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].kind, Kind::Label);
}

}  // namespace
}  // namespace tagwright::cli::printer
