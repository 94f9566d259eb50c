// The program's one look: the Fusion style, a light blue palette, the CJK
// font and one style sheet for every window, applied to the application
// before the first window is built.
#pragma once

class QColor;
class QWidget;

namespace theme {

// Applies the look to the running application.
void apply();

// Gives a control the look the sheet keeps for a role ("alert", "heading",
// "value", "hotarea"...).  A control already on screen is styled again.
void setRole(QWidget *w, const char *role);

// Colours that code paints with (charts), from the same set the style
// sheet uses.
QColor heading();   // dark-blue text of captions and axis titles
QColor panel();     // background of the number panels

} // namespace theme
