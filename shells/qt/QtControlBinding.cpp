#include "shells/qt/QtControlBinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>

#include "shells/qt/GlyphButton.h"
#include "shells/qt/QtHostWindow.h"
#include "shells/qt/QtKeys.h"
#include "shells/qt/QtLook.h"
#include "shells/qt/QtPopupMenu.h"
#include "shells/qt/QtText.h"
#include "ui/Button.h"
#include "ui/CaptionRoom.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/TRAHLEditor.h"

namespace brontel::qt {

namespace {

const QString kSymbolFont = QStringLiteral("Marlett");

QFrame::Shadow ShadowOf(ui::BevelKind kind) {
  return kind == ui::BevelKind::Lowered ? QFrame::Sunken : QFrame::Raised;
}

class PanelBinding final : public QtControlBinding {
 public:
  PanelBinding(ui::Panel& panel, QWidget* parent, std::shared_ptr<KeyPreview> preview)
      : QtControlBinding(panel, new QFrame(parent), std::move(preview)), panel_(panel) {
    auto* frame = static_cast<QFrame*>(widget_.data());
    frame->setAutoFillBackground(true);
    if (panel.BevelOuter() == ui::BevelKind::None) {
      frame->setFrameShape(QFrame::NoFrame);
    } else {
      frame->setFrameShape(QFrame::Panel);
      frame->setFrameShadow(ShadowOf(panel.BevelOuter()));
      frame->setLineWidth(1);
    }
    Start();
  }

 private:
  void Apply(ui::Change change) override {
    QtControlBinding::Apply(change);
    if (change == ui::Change::Color) {
      QPalette pal = widget_->palette();
      const QColor color = QtColorOf(panel_.GetColor(), pal);
      if (color.isValid())
        pal.setColor(QPalette::Window, color);
      widget_->setPalette(pal);
    }
  }
  ui::Panel& panel_;
};

class BevelBinding final : public QtControlBinding {
 public:
  BevelBinding(ui::Bevel& bevel, QWidget* parent, std::shared_ptr<KeyPreview> preview)
      : QtControlBinding(bevel, new QFrame(parent), std::move(preview)) {
    auto* frame = static_cast<QFrame*>(widget_.data());
    const bool vertical =
        bevel.Shape() == ui::BevelShape::LeftLine || bevel.Shape() == ui::BevelShape::RightLine;
    const bool line = vertical || bevel.Shape() == ui::BevelShape::TopLine ||
                      bevel.Shape() == ui::BevelShape::BottomLine;
    frame->setFrameShape(line ? (vertical ? QFrame::VLine : QFrame::HLine) : QFrame::Box);
    frame->setFrameShadow(ShadowOf(bevel.Style()));
    Start();
  }
};

class LabelBinding final : public QtControlBinding {
 public:
  LabelBinding(ui::Label& label, QWidget* parent, std::shared_ptr<KeyPreview> preview)
      : QtControlBinding(label, new QLabel(parent), std::move(preview)), label_(label) {
    auto* qlabel = static_cast<QLabel*>(widget_.data());
    qlabel->setTextFormat(Qt::PlainText);
    qlabel->setAlignment(Qt::AlignLeft |
                         (label.CenteredVertically() ? Qt::AlignVCenter : Qt::AlignTop));
    Start();
  }

 private:
  void Apply(ui::Change change) override {
    QtControlBinding::Apply(change);
    if (change == ui::Change::Caption) {
      static_cast<QLabel*>(widget_.data())->setText(FromBytes(label_.Caption()));
      Place();
    }
  }
  // A label with a focus control shows its '&' as the accelerator's underline.
  QSize CaptionNeed() const override {
    const int flags = label_.FocusControl() != nullptr ? Qt::TextShowMnemonic : 0;
    return widget_->fontMetrics().size(flags, FromBytes(label_.Caption()));
  }
  ui::Label& label_;
};

class ButtonBinding final : public QtControlBinding {
 public:
  ButtonBinding(ui::Button& button, QWidget* parent, std::shared_ptr<KeyPreview> preview)
      : QtControlBinding(button, MakeWidget(button, parent), std::move(preview)), button_(button) {
    if (button.Flat() || !button.TabStop())
      widget_->setFocusPolicy(Qt::NoFocus);
    connect(static_cast<QAbstractButton*>(widget_.data()), &QAbstractButton::clicked, this,
            [this]() { Shielded([this] { button_.Click(); }); });
    if (button.DropDownMenu() != nullptr)
      new QtPopupMenu(*button.DropDownMenu(), widget_);
    Start();
  }

 private:
  static QWidget* MakeWidget(const ui::Button& button, QWidget* parent) {
    if (button.GetFont().name == kSymbolFont.toStdString())
      return new GlyphButton(kSymbolFont, parent);
    if (button.Flat()) {
      auto* tool = new QToolButton(parent);
      tool->setAutoRaise(true);
      return tool;
    }
    return new QPushButton(parent);
  }
  void Apply(ui::Change change) override {
    QtControlBinding::Apply(change);
    if (change == ui::Change::Caption) {
      static_cast<QAbstractButton*>(widget_.data())->setText(FromBytes(button_.Caption()));
      Place();
    }
  }
  // The text and the style's frame and margin on either side; a symbol's size is the layout's.
  QSize CaptionNeed() const override {
    if (dynamic_cast<GlyphButton*>(widget_.data()) != nullptr)
      return {};
    const QStyle* style = widget_->style();
    const int padding = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget_) +
                        style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget_) / 2;
    const QSize text =
        widget_->fontMetrics().size(Qt::TextShowMnemonic, FromBytes(button_.Caption()));
    return {text.width() + 2 * padding, text.height()};
  }
  ui::Button& button_;
};

class CheckBoxBinding final : public QtControlBinding {
 public:
  CheckBoxBinding(ui::CheckBox& box, QWidget* parent, std::shared_ptr<KeyPreview> preview)
      : QtControlBinding(box, new QCheckBox(parent), std::move(preview)), box_(box) {
    connect(static_cast<QCheckBox*>(widget_.data()), &QCheckBox::clicked, this,
            [this](bool checked) { Shielded([&] { box_.SetChecked(checked); }); });
    Start();
  }

 private:
  void Apply(ui::Change change) override {
    QtControlBinding::Apply(change);
    auto* qbox = static_cast<QCheckBox*>(widget_.data());
    if (change == ui::Change::Caption) {
      qbox->setText(FromBytes(box_.Caption()));
      Place();
    } else if (change == ui::Change::Checked) {
      qbox->setChecked(box_.Checked());
    }
  }
  // The text, and whatever the style draws beside it (box, spacing, margins).
  QSize CaptionNeed() const override {
    QStyleOptionButton option;
    option.initFrom(widget_);
    option.rect = QRect(0, 0, 10000, widget_->height());  // room for any caption
    option.text = static_cast<QCheckBox*>(widget_.data())->text();
    const QRect text =
        widget_->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, widget_);
    const QSize shown = widget_->fontMetrics().size(Qt::TextShowMnemonic, option.text);
    return {option.rect.width() - text.width() + shown.width(), shown.height()};
  }
  ui::CheckBox& box_;
};

class ComboBoxBinding final : public QtControlBinding {
 public:
  ComboBoxBinding(ui::ComboBox& combo, QWidget* parent, std::shared_ptr<KeyPreview> preview)
      : QtControlBinding(combo, new QComboBox(parent), std::move(preview)), combo_(combo) {
    connect(static_cast<QComboBox*>(widget_.data()), QOverload<int>::of(&QComboBox::activated),
            this, [this](int index) { Shielded([&] { combo_.UserSelect(index); }); });
    Start();
  }

 protected:
  bool OwnsKey(ui::KeyCode key, ui::ShiftState shift) const override {
    return ui::IsFieldKey(key, shift);
  }

 private:
  void Apply(ui::Change change) override {
    QtControlBinding::Apply(change);
    auto* qcombo = static_cast<QComboBox*>(widget_.data());
    const QSignalBlocker blocker(qcombo);
    if (change == ui::Change::Items) {
      qcombo->clear();
      for (const std::string& item : combo_.Items())
        qcombo->addItem(FromBytes(item));
      qcombo->setCurrentIndex(combo_.ItemIndex());
    } else if (change == ui::Change::ItemIndex) {
      qcombo->setCurrentIndex(combo_.ItemIndex());
    }
  }
  ui::ComboBox& combo_;
};

class EditBinding final : public QtControlBinding {
 public:
  EditBinding(ui::Edit& edit, QWidget* parent, std::shared_ptr<KeyPreview> preview)
      : QtControlBinding(edit, new QLineEdit(parent), std::move(preview)), edit_(edit) {
    connect(static_cast<QLineEdit*>(widget_.data()), &QLineEdit::textEdited, this,
            [this](const QString& text) { Shielded([&] { edit_.SetText(ToBytes(text)); }); });
    Start();
  }

 protected:
  bool OwnsKey(ui::KeyCode key, ui::ShiftState shift) const override {
    return ui::IsFieldKey(key, shift);
  }

 private:
  void Apply(ui::Change change) override {
    QtControlBinding::Apply(change);
    auto* line = static_cast<QLineEdit*>(widget_.data());
    const QString text = FromBytes(edit_.Text());
    if (change == ui::Change::Text && line->text() != text)
      line->setText(text);
  }
  ui::Edit& edit_;
};

class PlainBinding final : public QtControlBinding {
 public:
  PlainBinding(ui::Control& control, QWidget* parent, std::shared_ptr<KeyPreview> preview)
      : QtControlBinding(control, new QWidget(parent), std::move(preview)) {
    Start();
  }
};

constexpr ui::Change kAllState[] = {ui::Change::Bounds,    ui::Change::Font,    ui::Change::Color,
                                    ui::Change::Caption,   ui::Change::Text,    ui::Change::Items,
                                    ui::Change::ItemIndex, ui::Change::Checked, ui::Change::Hint,
                                    ui::Change::Enabled,   ui::Change::Visible};

}  // namespace

QtControlBinding* QtControlBinding::Create(ui::Control& control, QWidget* parent,
                                           std::shared_ptr<KeyPreview> preview) {
  if (dynamic_cast<ui::TRAHLEditor*>(&control) != nullptr)
    return nullptr;
  if (auto* box = dynamic_cast<ui::CheckBox*>(&control))
    return new CheckBoxBinding(*box, parent, std::move(preview));
  if (auto* combo = dynamic_cast<ui::ComboBox*>(&control))
    return new ComboBoxBinding(*combo, parent, std::move(preview));
  if (auto* edit = dynamic_cast<ui::Edit*>(&control))
    return new EditBinding(*edit, parent, std::move(preview));
  if (auto* label = dynamic_cast<ui::Label*>(&control))
    return new LabelBinding(*label, parent, std::move(preview));
  if (auto* button = dynamic_cast<ui::Button*>(&control))
    return new ButtonBinding(*button, parent, std::move(preview));
  if (auto* bevel = dynamic_cast<ui::Bevel*>(&control))
    return new BevelBinding(*bevel, parent, std::move(preview));
  if (auto* panel = dynamic_cast<ui::Panel*>(&control))
    return new PanelBinding(*panel, parent, std::move(preview));
  return new PlainBinding(control, parent, std::move(preview));
}

QtControlBinding::QtControlBinding(ui::Control& control, QWidget* widget,
                                   std::shared_ptr<KeyPreview> preview)
    : QObject(widget), model_(&control), widget_(widget), preview_(std::move(preview)) {
  widget->setObjectName(QString::fromStdString(control.name()));
  widget->installEventFilter(this);
}

QtControlBinding::~QtControlBinding() {
  if (model_ != nullptr)
    model_->RemoveObserver(observer_);
}

void QtControlBinding::Start() {
  for (ui::Change change : kAllState)
    OnChange(change);
  observer_ = model_->AddObserver([this](ui::Component&, ui::Change change) { OnChange(change); });
}

void QtControlBinding::OnChange(ui::Change change) {
  if (change == ui::Change::Destroyed) {
    model_ = nullptr;
    return;
  }
  if (model_ == nullptr || widget_.isNull())
    return;
  applying_ = true;
  Apply(change);
  applying_ = false;
}

void QtControlBinding::Apply(ui::Change change) {
  QWidget* w = widget_.data();
  switch (change) {
    case ui::Change::Bounds:
      Place();
      break;
    case ui::Change::Visible:
      w->setVisible(model_->Visible());
      break;
    case ui::Change::Enabled:
      w->setEnabled(model_->Enabled());
      break;
    case ui::Change::Hint:
      w->setToolTip(FromBytes(model_->Hint()));
      break;
    case ui::Change::Font:
      w->setFont(QtFontOf(model_->GetFont()));
      Place();
      break;
    case ui::Change::Focus:
      if (model_->Focused() && !w->hasFocus())
        w->setFocus(Qt::OtherFocusReason);
      break;
    default:
      break;
  }
}

void QtControlBinding::Place() {
  const QSize need = CaptionNeed();
  const ui::Rect b = ui::CaptionBounds(*model_, ui::Size{need.width(), need.height()});
  widget_->setGeometry(b.left, b.top, b.Width(), b.Height());
}

bool QtControlBinding::eventFilter(QObject* watched, QEvent* event) {
  if (watched != widget_.data() || model_ == nullptr)
    return false;
  if (event->type() == QEvent::FocusIn && !applying_) {
    Shielded([this] {
      if (!model_->Focused())
        model_->SetFocus();
    });
  } else if (event->type() == QEvent::KeyPress && widget_->hasFocus()) {
    // Only at the focused widget: a key it leaves propagates to the parents, whose filters
    // must not preview it a second time.
    return PreviewKey(static_cast<QKeyEvent&>(*event));
  }
  return false;
}

// True when the preview consumed the key; otherwise the widget goes on with it.
bool QtControlBinding::PreviewKey(QKeyEvent& event) {
  if (!preview_ || !*preview_)
    return false;
  ui::KeyCode key = VirtualKeyOf(event.key(), event.modifiers() & Qt::KeypadModifier);
  if (key == 0 || OwnsKey(key, ShiftStateOf(event.modifiers())))
    return false;
  const CurrentKeyEvent current(event);
  Shielded([&] { (*preview_)(key, ShiftStateOf(event.modifiers())); });
  if (key == 0) {
    event.accept();
    return true;
  }
  return false;
}

}  // namespace brontel::qt
