/** @file Control.h: state every visible control shares: bounds, alignment, font, focus, parent. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Color.h"
#include "ui/Component.h"
#include "ui/Geometry.h"

namespace brontel::ui {

enum class Align : std::uint8_t { None, Top, Bottom, Left, Right, Client };

// Which parent edges a control keeps its distance to when the parent is resized.
struct Anchors {
  bool left = true;
  bool top = true;
  bool right = false;
  bool bottom = false;
  friend bool operator==(const Anchors&, const Anchors&) = default;
};

struct Font {
  std::string name = "MS Sans Serif";
  int height = -11;  // negative: character height in pixels, as the layout gives it
  FontStyle style = FontStyle::None;
  friend bool operator==(const Font&, const Font&) = default;
};

// A control of a form. Parent links are non-owning: the form owns its controls (usually as
// members) and a control that is destroyed detaches itself from its parent and its children.
// The input focus is kept by the root of the parent chain (the form): one focused control per
// root, and moving the focus runs the old control's OnExit and the new one's OnEnter.
class Control : public Component {
 public:
  explicit Control(std::string name);
  ~Control() override;

  Control* Parent() const { return parent_; }
  // Makes this control a child of `parent` (nullptr detaches it); children keep their order.
  void SetParent(Control* parent);
  const std::vector<Control*>& Children() const { return children_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible, and so is every parent up to the root.
  bool Showing() const;

  // Bounds relative to the parent's client area.
  const Rect& Bounds() const { return bounds_; }
  void SetBounds(const Rect& bounds);
  int ClientWidth() const { return bounds_.Width(); }
  int ClientHeight() const { return bounds_.Height(); }

  Align GetAlign() const { return align_; }
  void SetAlign(Align align);
  void SetAnchors(const Anchors& anchors) { anchors_ = anchors; }
  // Lays the children out: aligned children in the order of Children() (top, bottom, left,
  // right, then client fills what is left; they keep their height or width even when the room
  // runs out), right/bottom anchored ones follow a resize of this control by keeping their
  // distance to those edges (the first sizing from an empty control moves nothing: children
  // are placed at their designed bounds first). Runs whenever the bounds change.
  void Realign();

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show) { showHint_ = show; }

  Color GetColor() const { return color_; }
  void SetColor(Color color);
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& font);

  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }

  // Focus. CanFocus: showing and enabled. SetFocus moves the root's focus here when it can
  // and reports whether it did.
  bool Focused() const;
  bool CanFocus() const;
  bool SetFocus();
  // The control that holds the focus of this control's root, or nullptr.
  Control* FocusedControl() const;

  NotifyEvent OnEnter;
  NotifyEvent OnExit;

 private:
  Control* Root();
  const Control* Root() const;
  void MoveFocusTo(Control* target);
  void ForgetFocusOf(Control* leaving);
  void ApplyAnchors(const Rect& oldParentClient, const Rect& newParentClient);

  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  Control* focused_ = nullptr;  // kept by the root only
  bool enabled_ = true;
  bool visible_ = true;
  bool showHint_ = false;
  bool tabStop_ = true;
  Rect bounds_;
  Align align_ = Align::None;
  Anchors anchors_;
  std::string caption_;
  std::string hint_;
  Color color_ = clBtnFace;
  Font font_;
};

}  // namespace brontel::ui
