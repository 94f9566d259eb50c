// The real file dialog behind the program's file seam.
#pragma once

#include <QString>

// Turns a filter of "name|patterns" pairs into the dialog's own form:
// "升级文件(*.db)|*.db|所有文件(*.*)|*.*" gives "升级文件(*.db);;所有文件(*.*)".
QString dialogFilter(const QString &pairs);

// Installs the handler that asks with a real file dialog.
void installRealFileDialog();
