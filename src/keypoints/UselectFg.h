// The key-point picker TFrmSelectFG ("欢迎"): the authoring windows choose
// a key-point group, tick key points of it and confirm; a second page holds
// the usage help of the authoring windows.
//
// Opening for picking: set shell().ExistingKeyPointCount, create the
// window, selectPage(0), set PickerCaller and the caller's listed ids, show
// it modally and, on QDialog::Accepted, merge mergeInto() into the
// caller's list.  Opening for help: selectPage(1) and show it.
#pragma once

#include "keypoints/KeyPointPicking.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

class TFrmSelectFG : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSelectFG(QWidget *parent = nullptr);

    void selectPage(int page);
    int page() const;

    // 1: the entry window opened the picker, 2: the edit window.
    int PickerCaller = 0;
    // The key-point ids (ListBox2) of the caller named by PickerCaller.
    void setCallerKeyPoints(const QStringList &ids) { m_callerIds = ids; }

    QTabWidget *PageControl1 = nullptr;
    QComboBox *ComboBox1 = nullptr;         // group names
    QStringList ComboBox2;                  // group codes, parallel
    QListWidget *CheckListBox1 = nullptr;   // key-point titles with their visible marks
    QVector<keypoints::PickerEntry> CheckListBox2;   // key-point ids, parallel
    QVector<bool> picked;                   // marks set by the user's own toggling
    QPlainTextEdit *helpText = nullptr;
    QPushButton *epEfButton1 = nullptr;   // 确定
    QPushButton *epEfButton2 = nullptr;   // 关闭 (picker page)
    QPushButton *epEfButton3 = nullptr;   // 关闭 (help page)

    void ComboBox1Change();
    void CheckListBox1ClickCheck(int row);
    void epEfButton1Click();
    void closeClick();

    // Adds the picked key points the caller's list does not hold yet.
    int mergeInto(keypoints::PickedKeyPoints &list) const;

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    void LoadPickerLists();
    void fillKeyPoints(const QString &groupCode);

    QStringList m_callerIds;
    bool m_filling = false;
    bool m_shown = false;
};
