#include "viewer/ViewerControls.h"

#include <string>
#include <vector>

#include "viewer/NavigationCommands.h"
#include "viewer/OptionTables.h"

namespace brontel {

namespace {

const ui::Font kTahoma{"Tahoma", -12, ui::FontStyle::None};
const ui::Font kMarlett{"Marlett", -11, ui::FontStyle::None};
constexpr ui::Color kNavigationBlockColor = 14869218;  // 0xE2E2E2
// Heights the designed layout leaves to the controls' own metrics.
constexpr int kCheckBoxHeight = 17;
constexpr int kLabelHeight = 15;
constexpr int kFieldHeight = 21;

void Place(ui::Control& control, ui::Control& parent, int left, int top, int width, int height) {
  control.SetParent(&parent);
  control.SetBounds(ui::Rect::FromSize(left, top, width, height));
}

template <typename Table>
std::vector<std::string> ItemTexts(const Table& table) {
  std::vector<std::string> texts;
  for (const OptionChoice& choice : table)
    texts.emplace_back(choice.text);
  return texts;
}

void PlaceArrowButton(ui::Button& button, ui::Panel& block, int left, int top, const char* caption,
                      MarkerJump jump) {
  Place(button, block, left, top, 11, 10);
  button.SetCaption(caption);
  button.SetFont(kMarlett);
  button.SetHint(NavigationHint(NavigationActionFor(jump)));
  button.SetShowHint(true);
}

void PlaceColourBar(ui::Panel& bar, ui::Panel& block, int left, ui::Color color) {
  Place(bar, block, left, 10, 12, 5);
  bar.SetColor(color);
  bar.SetCaption("");
}

}  // namespace

ViewerControls::ViewerControls(ui::Form& form, ui::Toolkit& toolkit)
    : Timer1(toolkit.CreateTimer("Timer1", 50, false)),
      Timer2(toolkit.CreateTimer("Timer2", 1000, true)) {
  PlaceForm(form);
  PlaceTopBar(form);
  PlaceEditor(form);
  PlaceNavigationBlock(form);
  PlaceOptionsPanel(form);
  findBar.Place(form);
  DescribeActions();
  FillPopupMenu();
}

void ViewerControls::PlaceForm(ui::Form& form) {
  form.SetClientSize(657, 595);
  form.SetColor(ui::clBtnFace);
  form.SetFont(ui::Font{"MS Sans Serif", -11, ui::FontStyle::None});
  form.SetKeyPreview(true);
}

void ViewerControls::PlaceTopBar(ui::Form& form) {
  Panel1.SetParent(&form);
  Panel1.SetAlign(ui::Align::Top);
  Panel1.SetBounds(ui::Rect::FromSize(0, 0, 657, 20));
  Panel1.SetCaption(" ");
  Panel1.SetVisible(false);

  Panel3.SetParent(&Panel1);
  Panel3.SetAlign(ui::Align::Left);
  Panel3.SetBounds(ui::Rect::FromSize(0, 0, 81, 20));
  Panel3.SetBevelOuter(ui::BevelKind::None);
  Place(SpeedButton1, Panel3, 2, 1, 71, 16);
  SpeedButton1.SetCaption("O&ptions...");
  SpeedButton1.SetFlat(true);
  SpeedButton1.SetFont(kTahoma);
  Bevel1.SetParent(&Panel3);
  Bevel1.SetAlign(ui::Align::Right);
  Bevel1.SetBounds(ui::Rect::FromSize(79, 0, 2, 20));
  Bevel1.SetShape(ui::BevelShape::LeftLine);

  Panel4.SetParent(&Panel1);
  Panel4.SetAlign(ui::Align::Left);
  Panel4.SetBounds(ui::Rect::FromSize(81, 0, 497, 20));
  Panel4.SetBevelOuter(ui::BevelKind::None);
  Label2.SetParent(&Panel4);
  Label2.SetAlign(ui::Align::Client);
  Label2.SetCaption("unnamed");
  Label2.SetFont(kTahoma);
  Label2.SetCenteredVertically(true);
}

void ViewerControls::PlaceEditor(ui::Form& form) {
  _editor.SetParent(&form);
  _editor.SetAlign(ui::Align::Client);
  _editor.SetBounds(ui::Rect::FromSize(0, 20, 657, 575));
  _editor.SetGutterWidth(14);
  _editor.SetFont(ui::Font{"Courier New", -11, ui::FontStyle::None});
  _editor.SetSelectionAttr(ui::TextAttr{ui::clHighlightText, ui::clHighlight, ui::FontStyle::None});
  _editor.SetPopupMenu(&PopupMenu1);
}

void ViewerControls::PlaceNavigationBlock(ui::Form& form) {
  Place(Panel5, form, 601, 23, 35, 25);
  Panel5.SetAnchors(ui::Anchors{false, true, true, false});
  Panel5.SetColor(kNavigationBlockColor);
  Panel5.SetShowHint(true);
  Panel5.SetBevelOuter(ui::BevelKind::None);

  PlaceColourBar(Panel6, Panel5, 1, ui::clRed);
  Panel6.SetBevelOuter(ui::BevelKind::Lowered);
  PlaceColourBar(Panel7, Panel5, 12, ui::clYellow);
  PlaceColourBar(Panel8, Panel5, 22, ui::clBlack);

  // A column for each counted type: backwards above, forwards below.
  const std::array<ArrowButton, 6> arrows = ArrowButtons();
  for (std::size_t i = 0; i < arrows.size(); ++i) {
    const bool below = arrows[i].jump.forwards;
    PlaceArrowButton(*arrows[i].button, Panel5, 1 + 11 * static_cast<int>(i / 2), below ? 14 : 1,
                     below ? "u" : "t", arrows[i].jump);
  }
}

std::array<ViewerControls::ArrowButton, 6> ViewerControls::ArrowButtons() {
  return {{{&Button2, {'E', false}},
           {&Button1, {'E', true}},
           {&Button3, {'W', false}},
           {&Button5, {'W', true}},
           {&Button4, {'U', false}},
           {&Button6, {'U', true}}}};
}

void ViewerControls::PlaceOptionsPanel(ui::Form& form) {
  Place(Panel9, form, 11, 22, 195, 193);
  Panel9.SetFont(kTahoma);
  Panel9.SetVisible(false);

  Place(chkActive, Panel9, 7, 4, 170, kCheckBoxHeight);
  chkActive.SetCaption("Auto tail mode (Ctrl-T)");
  chkActive.SetChecked(true);
  Place(CheckBox1, Panel9, 24, 22, 160, kCheckBoxHeight);
  CheckBox1.SetCaption("Auto follow mode (Ctrl-F)");
  CheckBox1.SetChecked(true);
  Place(CheckBox2, Panel9, 24, 38, 160, kCheckBoxHeight);
  CheckBox2.SetCaption("Auto cycle (Ctrl-Y)");

  Place(Label3, Panel9, 30, 60, 60, kLabelHeight);
  Label3.SetCaption("&Basename:");
  Label3.SetFocusControl(&Edit1);
  Place(Edit1, Panel9, 99, 56, 85, kFieldHeight);

  Place(Label4, Panel9, 30, 84, 60, kLabelHeight);
  Label4.SetCaption("B&uffersize:");
  Label4.SetFocusControl(&comBufferSize);
  Place(comBufferSize, Panel9, 99, 80, 85, kFieldHeight);
  comBufferSize.SetItems(ItemTexts(BufferSizes));

  Place(chkComplete, Panel9, 6, 109, 170, kCheckBoxHeight);
  chkComplete.SetCaption("Load complete (Ctrl-L)");

  Place(Label1, Panel9, 6, 132, 90, kLabelHeight);
  Label1.SetCaption("Max history lines:");
  Place(comMaxHistLines, Panel9, 99, 128, 85, kFieldHeight);
  comMaxHistLines.SetItems(ItemTexts(MaxHistoryLines));

  // Applies from the next view on: a view keeps the types it counted its history with.
  Place(chkAutoTypes, Panel9, 6, 154, 185, kCheckBoxHeight);
  chkAutoTypes.SetCaption("Types chosen per file (next view)");
  chkAutoTypes.SetChecked(true);
  Place(chkRememberPlaces, Panel9, 6, 172, 185, kCheckBoxHeight);
  chkRememberPlaces.SetCaption("Reopen logs where they were left");
  chkRememberPlaces.SetChecked(true);

  Place(Button7, Panel9, 178, 3, 13, 14);
  Button7.SetAnchors(ui::Anchors{false, true, true, false});
  Button7.SetCancel(true);
  Button7.SetTabStop(false);
  Button7.SetFont(kMarlett);
  Button7.SetCaption("r");
}

std::array<ui::Action*, 7> ViewerControls::NavigationActionControls() {
  return {&actGotoHistory,     &actGotoPrevError,  &actGotoNextError, &actGotoPrevWarning,
          &actGotoNextWarning, &actGotoPrevUrgent, &actGotoNextUrgent};
}

void ViewerControls::NameJumps(const LineClassifier& types) {
  const std::array<ui::Action*, 7> navigation = NavigationActionControls();
  for (std::size_t i = 1; i < NavigationActions.size(); ++i)
    navigation[i]->SetCaption(JumpCaption(NavigationActions[i], types));
  for (const ArrowButton& arrow : ArrowButtons()) {
    const NavigationAction& action = NavigationActionFor(arrow.jump);
    arrow.button->SetHint(NavigationHint(JumpCaption(action, types), action.shortCut));
  }
}

void ViewerControls::DescribeActions() {
  const std::array<ui::Action*, 7> navigation = NavigationActionControls();
  for (std::size_t i = 0; i < NavigationActions.size(); ++i) {
    navigation[i]->SetCaption(NavigationActions[i].caption);
    navigation[i]->SetShortCut(NavigationActions[i].shortCut);
    ActionList2.Add(*navigation[i]);
  }
  EditCopy2.SetCaption("Copy");
  EditCopy2.SetHint("Kopieren");
  EditCopy2.SetShortCut(ui::scCtrl | 'C');
  EditSelectAll1.SetCaption("Select &all");
  EditCopy1.SetCaption("&Kopieren");
  EditCopy1.SetHint("Kopieren");
  EditCopy1.SetShortCut(ui::scCtrl | 'C');
  ActionList2.Add(EditCopy2);
  ActionList2.Add(EditSelectAll1);
  ActionList2.Add(EditCopy1);
  actFindBar.SetCaption("&Find and filter...");
  actFindBar.SetShortCut(kFindBarShortCut);
  ActionList2.Add(actFindBar);
}

void ViewerControls::FillPopupMenu() {
  PopupMenu1.AddItem("Copy1").SetAction(&EditCopy2);
  ui::MenuItem& selectAll = PopupMenu1.AddItem("Selectall1");
  selectAll.SetAction(&EditSelectAll1);
  selectAll.SetShortCut(ui::scCtrl | 'A');
  PopupMenu1.AddItem("N1").SetCaption("-");
  const std::array<ui::Action*, 7> navigation = NavigationActionControls();
  for (std::size_t i = 0; i < NavigationActions.size(); ++i)
    PopupMenu1.AddItem(NavigationActions[i].menuItemName).SetAction(navigation[i]);
  PopupMenu1.AddItem("N2").SetCaption("-");
  PopupMenu1.AddItem("FindAndFilter1").SetAction(&actFindBar);
}

}  // namespace brontel
