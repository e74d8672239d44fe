#include "apps/brontel/qt/FindDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace brontel::app {

FindDialog::FindDialog(const FindRequest& last, QWidget* parent)
    : QDialog(parent),
      text_(new QLineEdit(QString::fromStdString(last.text), this)),
      matchCase_(new QCheckBox(tr("Match &case"), this)),
      wholeWords_(new QCheckBox(tr("&Whole words"), this)),
      expression_(new QCheckBox(tr("&Regular expression"), this)),
      backwards_(new QCheckBox(tr("&Backwards"), this)) {
  setWindowTitle(tr("Find"));
  matchCase_->setChecked(last.matchCase);
  wholeWords_->setChecked(last.wholeWords);
  expression_->setChecked(last.expression);
  backwards_->setChecked(last.backwards);
  text_->selectAll();
  text_->setMinimumWidth(260);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("&Find"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(tr("&Search for:"), text_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(matchCase_);
  layout->addWidget(wholeWords_);
  layout->addWidget(expression_);
  layout->addWidget(backwards_);
  layout->addWidget(buttons);
}

FindRequest FindDialog::request() const {
  FindRequest request;
  request.text = text_->text().toStdString();
  request.matchCase = matchCase_->isChecked();
  request.wholeWords = wholeWords_->isChecked();
  request.expression = expression_->isChecked();
  request.backwards = backwards_->isChecked();
  return request;
}

}  // namespace brontel::app
