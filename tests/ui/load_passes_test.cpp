// The passes by which checked loads reach the engine's file loader: each works once, and however
// many loads never come for theirs, only a bounded number stay live.
#include <QUrl>
#include <vector>

#include <gtest/gtest.h>

#include "ui/page/LoadPasses.h"

namespace {

const QUrl kFile(QStringLiteral("file:///site/docs/s.css"));

TEST(LoadPasses, EachPassLetsItsLoadThroughOnce) {
  TLoadPasses passes(nullptr);
  const QUrl first = passes.Grant(kFile);
  const QUrl second = passes.Grant(kFile);
  EXPECT_NE(first, second);
  EXPECT_EQ(first.adjusted(QUrl::RemoveQuery), kFile);
  EXPECT_TRUE(passes.Redeem(second));
  EXPECT_TRUE(passes.Redeem(first));
  EXPECT_FALSE(passes.Redeem(first));
  EXPECT_FALSE(passes.Redeem(kFile));
}

// Loads that never come (cancelled, or blocked by the page's own policy) leave only the newest
// passes live, used or not.
TEST(LoadPasses, OnlyTheNewestPassesStayLive) {
  TLoadPasses passes(nullptr);
  std::vector<QUrl> granted;
  for (std::size_t i = 0; i < 3 * TLoadPasses::kMaxLivePasses; ++i) {
    granted.push_back(passes.Grant(kFile));
  }
  const std::size_t firstLive = granted.size() - TLoadPasses::kMaxLivePasses;
  EXPECT_FALSE(passes.Redeem(granted.front()));
  EXPECT_FALSE(passes.Redeem(granted[firstLive - 1]));
  EXPECT_TRUE(passes.Redeem(granted[firstLive]));
  EXPECT_TRUE(passes.Redeem(granted.back()));
}

TEST(LoadPasses, PassWhoseTimeIsUpNoLongerWorks) {
  TLoadPasses passes(nullptr, std::chrono::milliseconds(0));
  EXPECT_FALSE(passes.Redeem(passes.Grant(kFile)));
}

}  // namespace
