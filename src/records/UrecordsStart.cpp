// The study-record windows as the menu opens them.
#include "records/UrecordsStart.h"

#include "records/Uchart.h"
#include "records/Uplan.h"
#include "records/Urz.h"

QDialog *createStudyLogWindow(QWidget *owner) { return new TFrmRz(owner); }
QDialog *createStudyPlanWindow(QWidget *owner) { return new TFrmplan(owner); }
QDialog *createScoreChartWindow(QWidget *owner) { return new Tfrmchart(owner); }
