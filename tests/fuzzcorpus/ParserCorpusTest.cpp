// Replays the committed corpora of the parser fuzzers through the same entry
// points the fuzzers call. An entry raises EFuzzCheckFailed (or anything but the
// errors the parsers are meant to raise) when a seed finds a fault.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>

#include "fuzz/data/DataFuzzEntries.h"
#include "fuzz/html/HtmlFuzzEntries.h"
#include "fuzz/picture/PictureFuzzEntry.h"
#include "fuzz/video/VideoFuzzEntry.h"
#include "tests/fuzzcorpus/CorpusReplay.h"

namespace {

// Runs every seed of a corpus; returns the seeds' results by name.
template <typename TEntry>
std::map<std::string, bool> Replay(const std::string& corpus, TEntry entry, std::size_t atLeast = 4) {
  const std::vector<TCorpusFile> files = ReadCorpus(corpus);
  EXPECT_GE(files.size(), atLeast) << corpus;
  std::map<std::string, bool> results;
  for (const TCorpusFile& file : files) {
    SCOPED_TRACE(corpus + "/" + file.Name);
    try {
      if constexpr (std::is_void_v<decltype(entry(file.Bytes.data(), file.Bytes.size()))>) {
        entry(file.Bytes.data(), file.Bytes.size());
        results[file.Name] = true;
      } else {
        results[file.Name] = entry(file.Bytes.data(), file.Bytes.size());
      }
    } catch (const std::exception& e) {
      ADD_FAILURE() << "escaped: " << e.what();
    }
  }
  return results;
}

TEST(ParserCorpus, HtmlTextDecodesAndPrepares) { Replay("html/corpus/text", FuzzHtmlText); }

TEST(ParserCorpus, HtmlPagesLayOutAndDraw) { Replay("html/corpus/layout", FuzzHtmlLayout); }

TEST(ParserCorpus, AddressesResolve) { Replay("html/corpus/address", FuzzHtmlAddress); }

TEST(ParserCorpus, PicturesDecodeAndScale) {
  const auto results = Replay("picture/corpus", FuzzPicture);
  // The whole pictures must decode, or the fuzzer would only see refusals.
  EXPECT_TRUE(results.at("animated.gif"));
  EXPECT_TRUE(results.at("transparent.gif"));
  EXPECT_FALSE(results.at("truncated.gif"));
  // giflib gives no text for this failure; the message must not read through null.
  EXPECT_FALSE(results.at("gif-error-without-text.gif"));
}

TEST(ParserCorpus, VideosOpenOrAreRefused) {
  const auto results = Replay("video/corpus", FuzzVideo, 3);
  EXPECT_TRUE(results.at("clip.mpg"));
  EXPECT_FALSE(results.at("not-a-video.txt"));
}

TEST(ParserCorpus, FiltersParseOrAreRefused) {
  const auto results = Replay("data/corpus/filter", FuzzFilter);
  EXPECT_TRUE(results.at("and-or-not"));
  EXPECT_FALSE(results.at("unknown-field"));
}

TEST(ParserCorpus, LikeAgreesWithTheReference) {
  const auto results = Replay("data/corpus/like", FuzzLike);
  EXPECT_TRUE(results.at("cyrillic-case"));
  EXPECT_FALSE(results.at("dangling-escape"));
}

TEST(ParserCorpus, MarkersAddUp) { Replay("data/corpus/sqlmarkers", FuzzSqlMarkers); }

TEST(ParserCorpus, TextConversionsRoundTrip) { Replay("data/corpus/text", FuzzTextConversion); }

TEST(ParserCorpus, NumbersAgreeWithTheReference) { Replay("data/corpus/number", FuzzNumber); }

TEST(ParserCorpus, ConnectionStringsRead) { Replay("data/corpus/connection", FuzzConnectionString); }

TEST(ParserCorpus, TableDefinitionsRewriteToWhatParses) {
  const auto results = Replay("data/corpus/schema", FuzzTableDefinition);
  EXPECT_TRUE(results.at("users"));
  EXPECT_FALSE(results.at("no-columns"));
}

}  // namespace
