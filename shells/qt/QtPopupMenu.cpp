#include "shells/qt/QtPopupMenu.h"

#include <QAction>
#include <string>

#include "diagnostics/Shield.h"
#include "shells/qt/QtText.h"
#include "ui/Keys.h"

namespace brontel::qt {
namespace {

QString MenuTextOf(const ui::MenuItem& item) {
  QString text = FromBytes(item.Caption());
  const std::string shortCut = ui::ShortCutToText(item.GetShortCut());
  if (!shortCut.empty())
    text += QLatin1Char('\t') + QString::fromStdString(shortCut);
  return text;
}

}  // namespace

QtPopupMenu::QtPopupMenu(ui::PopupMenu& model, QWidget* anchor)
    : QObject(anchor), model_(&model), anchor_(anchor) {
  observer_ = model.AddObserver([this](ui::Component&, ui::Change change) { OnChange(change); });
}

QtPopupMenu::~QtPopupMenu() {
  if (menu_)
    delete menu_.data();
  if (model_ != nullptr)
    model_->RemoveObserver(observer_);
}

void QtPopupMenu::OnChange(ui::Change change) {
  if (change == ui::Change::Destroyed) {
    model_ = nullptr;
  } else if (change == ui::Change::Popup) {
    Show();
  } else if (change == ui::Change::Items && menu_) {
    menu_->close();
  }
}

void QtPopupMenu::Show() {
  if (menu_)
    menu_->deleteLater();
  auto* menu = new QMenu(anchor_);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (const auto& item : model_->Items()) {
    if (!item->Visible())
      continue;
    if (item->IsSeparator())
      menu->addSeparator();
    else
      AddAction(*menu, *item);
  }
  menu_ = menu;
  const ui::Point at = model_->PopupPoint();
  menu->popup(anchor_->mapToGlobal(QPoint(at.x, at.y)));
}

void QtPopupMenu::AddAction(QMenu& menu, ui::MenuItem& item) {
  QAction* action = menu.addAction(MenuTextOf(item));
  action->setObjectName(QString::fromStdString(item.name()));
  action->setEnabled(item.Enabled());
  if (item.IsCheckItem()) {
    action->setCheckable(true);
    action->setChecked(item.Checked());
  }
  ui::MenuItem* chosen = &item;
  connect(action, &QAction::triggered, this, [this, chosen]() {
    if (model_ != nullptr)
      Shield::Run(chosen->name(), [chosen] { chosen->Click(); });
  });
}

}  // namespace brontel::qt
