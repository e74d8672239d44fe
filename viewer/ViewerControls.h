/** @file ViewerControls.h: the viewer window's controls as its designed layout places them. */
#pragma once

#include <array>
#include <memory>

#include "ui/Action.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/PopupMenu.h"
#include "ui/TRAHLEditor.h"
#include "ui/Timer.h"
#include "ui/Toolkit.h"
#include "viewer/FindBar.h"
#include "viewer/NavigationCommands.h"

namespace brontel {

class LineClassifier;

// Every control of a viewer window with its layout name, caption, hint, position, items and
// look, as the shells draw them. Building the set only places and describes the controls; the
// window binds the handlers. Children are attached in the order a shell stacks them: the top
// bar and the text view first, the navigation block and the options panel above them.
//
// Ownership: the form is not owned and must outlive the set (the window is the form and holds
// the set as a member). Timers are created through (and so bound to) the toolkit. UI thread
// only.
struct ViewerControls {
  ViewerControls(ui::Form& form, ui::Toolkit& toolkit);

  // Names the marker jumps' actions, menu items and button hints after the counted types in
  // use (the built-in names with the built-in types).
  void NameJumps(const LineClassifier& types);

  ui::Panel Panel1{"Panel1"};
  ui::Panel Panel3{"Panel3"};
  ui::Button SpeedButton1{"SpeedButton1"};
  ui::Bevel Bevel1{"Bevel1"};
  ui::Panel Panel4{"Panel4"};
  ui::Label Label2{"Label2"};
  ui::TRAHLEditor _editor{"_editor"};

  ui::Panel Panel5{"Panel5"};
  ui::Panel Panel6{"Panel6"};
  ui::Panel Panel7{"Panel7"};
  ui::Panel Panel8{"Panel8"};
  ui::Button Button1{"Button1"};
  ui::Button Button2{"Button2"};
  ui::Button Button3{"Button3"};
  ui::Button Button4{"Button4"};
  ui::Button Button5{"Button5"};
  ui::Button Button6{"Button6"};

  ui::Panel Panel9{"Panel9"};
  ui::CheckBox chkActive{"chkActive"};
  ui::CheckBox CheckBox1{"CheckBox1"};
  ui::CheckBox CheckBox2{"CheckBox2"};
  ui::Label Label3{"Label3"};
  ui::Edit Edit1{"Edit1"};
  ui::Label Label4{"Label4"};
  ui::ComboBox comBufferSize{"comBufferSize"};
  ui::CheckBox chkComplete{"chkComplete"};
  ui::CheckBox chkAutoTypes{"chkAutoTypes"};
  ui::CheckBox chkRememberPlaces{"chkRememberPlaces"};
  ui::Label Label1{"Label1"};
  ui::ComboBox comMaxHistLines{"comMaxHistLines"};
  ui::Button Button7{"Button7"};

  FindBar findBar;

  std::unique_ptr<ui::Timer> Timer1;
  std::unique_ptr<ui::Timer> Timer2;

  ui::Action actGotoHistory{"actGotoHistory"};
  ui::Action actGotoPrevError{"actGotoPrevError"};
  ui::Action actGotoNextError{"actGotoNextError"};
  ui::Action actGotoPrevWarning{"actGotoPrevWarning"};
  ui::Action actGotoNextWarning{"actGotoNextWarning"};
  ui::Action actGotoPrevUrgent{"actGotoPrevUrgent"};
  ui::Action actGotoNextUrgent{"actGotoNextUrgent"};
  ui::Action EditCopy2{"EditCopy2"};
  ui::Action EditSelectAll1{"EditSelectAll1"};
  ui::Action EditCopy1{"EditCopy1"};
  ui::Action actFindBar{"actFindBar"};
  ui::ActionList ActionList2{"ActionList2"};
  ui::PopupMenu PopupMenu1{"PopupMenu1"};

 private:
  void PlaceForm(ui::Form& form);
  void PlaceTopBar(ui::Form& form);
  void PlaceEditor(ui::Form& form);
  void PlaceNavigationBlock(ui::Form& form);
  void PlaceOptionsPanel(ui::Form& form);
  void DescribeActions();
  void FillPopupMenu();
  std::array<ui::Action*, 7> NavigationActionControls();
  // The six arrow buttons with the jump each runs, column by column.
  struct ArrowButton {
    ui::Button* button;
    MarkerJump jump;
  };
  std::array<ArrowButton, 6> ArrowButtons();
};

}  // namespace brontel
