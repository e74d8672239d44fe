/** @file FindDialog.h: the search dialog of a viewer window (F7). */
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

#include "apps/brontel/ViewerSession.h"

namespace brontel::app {

// A search text with match case, whole words and backwards; starts from the last request.
class FindDialog : public QDialog {
 public:
  FindDialog(const FindRequest& last, QWidget* parent);

  FindRequest request() const;

  QLineEdit& textEdit() { return *text_; }
  QCheckBox& matchCaseBox() { return *matchCase_; }
  QCheckBox& wholeWordsBox() { return *wholeWords_; }
  QCheckBox& backwardsBox() { return *backwards_; }

 private:
  QLineEdit* text_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWords_;
  QCheckBox* expression_;
  QCheckBox* backwards_;
};

}  // namespace brontel::app
