// The settings window: background music (mode 0) and answer times per
// question type of the current subject (mode 1).
#pragma once

class QWidget;

// Sets the settings window's mode, opens it modally over owner and
// releases it after it closes.  Every "设置" button opens mode 0.
void openSettings(QWidget *owner, int mode = 0);
