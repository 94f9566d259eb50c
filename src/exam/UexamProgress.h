// The waiting window as the mock exam's flows report their stages to it,
// and the end of the program after a failure that a paper cannot survive.
// Shared by the exam window, the paper records and the exam's entry points.
#pragma once

#include <QString>
#include <functional>

namespace exam {

// The waiting window as the exam flows use it: show a stage text, hide.
struct ProgressView {
    std::function<void(const QString &)> show;
    std::function<void()> hide;
};
// Replaces the waiting window (an empty view restores the program's own
// TFrmProgress).
void setProgressView(ProgressView view);
void showProgress(const QString &text);
void hideProgress();


// Shows a failure with ShowDlg (caption "错误", one button, error picture)
// and ends the program.
void failAndEnd(const QString &message);

} // namespace exam
