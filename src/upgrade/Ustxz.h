// Tfrmstxz: the question bank upgrade window.  The user picks an upgrade
// file on disk and "开始升级" checks it and merges it into the bank.
#pragma once

#include "upgrade/BankUpgrade.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QTreeWidget;

class Tfrmstxz : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmstxz(QWidget *parent = nullptr);

    void FormShow();              // selects the one mode
    bool FormCloseQuery();        // disconnects ADOCn2
    void epFocusButton1Click();   // 开始升级
    void SpeedButton1Click();     // folder button: pick the file
    // Checks and merges the upgrade file at path and reports the outcome.
    void ImportUpgrade(const QString &path);

    // The second choice: going back to a copy of the bank.
    void RadioGroup1Click();      // shows the controls of the chosen way
    void loadBackups();           // fills ListBackups, newest first
    void epFocusButton2Click();   // 开始恢复: confirm, then restore

    // The upgrade file's connection (open after an import until closing).
    upgrade::UpgradeConnection &ADOCn2() { return m_cn2; }
    // What the last import said (for the caller's own bookkeeping).
    upgrade::Outcome lastOutcome() const { return m_last; }

    QLabel *Label1 = nullptr;
    QGroupBox *RadioGroup1 = nullptr;
    QRadioButton *RadioGroup1Item0 = nullptr;   // 本地升级
    QRadioButton *RadioGroup1Item1 = nullptr;   // 从备份恢复
    QTreeWidget *ListBackups = nullptr;         // date and time, reason, questions, answers given
    QLineEdit *Edit1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QPushButton *epFocusButton1 = nullptr;      // 开始升级
    QPushButton *epFocusButton2 = nullptr;      // 开始恢复
    QPushButton *epFocusButton3 = nullptr;      // 关闭

    // The file dialog's filter: upgrade files are SQLite files of the
    // bank's schema.
    static QString fileFilter();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    upgrade::UpgradeConnection m_cn2;
    upgrade::Outcome m_last = upgrade::Outcome::NoPath;
};
