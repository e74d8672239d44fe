#include "apps/brontel/qt/FindDialog.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/apps/qt/OffscreenApplication.h"

namespace brontel::app {
namespace {

class FindDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureOffscreenApplication(); }
};

TEST_F(FindDialogTest, StartsFromTheLastSearchAndGivesBackTheChoices) {
  FindDialog dialog(FindRequest{"disk full", true, false, true}, nullptr);
  EXPECT_EQ(dialog.textEdit().text(), QStringLiteral("disk full"));
  EXPECT_TRUE(dialog.matchCaseBox().isChecked());
  EXPECT_FALSE(dialog.wholeWordsBox().isChecked());
  EXPECT_TRUE(dialog.backwardsBox().isChecked());

  dialog.textEdit().setText(QString::fromUtf8("Größe"));
  dialog.matchCaseBox().setChecked(false);
  dialog.wholeWordsBox().setChecked(true);
  const FindRequest request = dialog.request();
  EXPECT_EQ(request.text,
            "Gr\xc3\xb6\xc3\x9f"
            "e");  // UTF-8, as the entry points take it
  EXPECT_FALSE(request.matchCase);
  EXPECT_TRUE(request.wholeWords);
  EXPECT_TRUE(request.backwards);
}

}  // namespace
}  // namespace brontel::app
