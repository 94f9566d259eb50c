// The study-record windows as the menu opens them.
#pragma once

class QDialog;
class QWidget;

QDialog *createStudyLogWindow(QWidget *owner);
QDialog *createStudyPlanWindow(QWidget *owner);
QDialog *createScoreChartWindow(QWidget *owner);
