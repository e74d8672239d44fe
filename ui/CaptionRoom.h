/** @file CaptionRoom.h: where a control goes when its caption needs more room than designed. */
#pragma once

#include "ui/Control.h"
#include "ui/Geometry.h"

namespace brontel::ui {

// The bounds for `control` whose caption needs `need` pixels in the font the shell really drew
// it with. Where the caption fits, the designed bounds. Otherwise the control grows to the
// right (and about its middle line, for a taller text), and moves left as far as it must, but
// not past its parent's left edge, to stay clear of a sibling that starts right of it on the
// same rows. Aligned controls keep the bounds their parent's layout gives them.
Rect CaptionBounds(const Control& control, Size need);

}  // namespace brontel::ui
