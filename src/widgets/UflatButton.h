// The program's flat push button: named for tests and tools, never the
// dialog's default, never taking the focus (keys belong to the window),
// with a pointing hand over it.
#pragma once

class QPushButton;
class QString;
class QWidget;

QPushButton *flatButton(QWidget *parent, const char *objectName, const QString &caption);
