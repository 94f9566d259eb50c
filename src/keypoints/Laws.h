// The key-point directory TfrmLawsFaGui ("考 点 目 录"): every key-point
// group with its question count and the user's figures, a search over the
// names, and a detail view of one group (TfrmLawDetail) in the same window
// with the key filter ("重点(&M)"/"全部(&A)") and key-point practice
// (TFrmRuleLxxt).
#pragma once

#include "keypoints/KeyPointData.h"

#include <QDialog>
#include <QStringList>
#include <memory>

class QLineEdit;
class QPushButton;
class QTableWidget;
class QVBoxLayout;
class TfrmLawDetail;

class TfrmLawsFaGui : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLawsFaGui(QWidget *parent = nullptr);
    ~TfrmLawsFaGui() override;

    QTableWidget *m_grid = nullptr;
    QLineEdit *m_editFind = nullptr;
    QPushButton *m_btnFind = nullptr;       // 检索(&F)
    QPushButton *m_btnSelect = nullptr;     // 选定(&S)
    QPushButton *m_btnMost = nullptr;       // 重点(&M) / 全部(&A)
    QPushButton *m_btnQuestion = nullptr;   // 练习(&P)
    QPushButton *m_btnBack = nullptr;       // 返回(&B)
    QPushButton *m_btnExit = nullptr;       // 退出(&E)

    // The detail view while a group is open (else nullptr).
    TfrmLawDetail *detail() const { return m_detail.get(); }
    // The group codes parallel to the grid's data rows.
    const QStringList &codes() const { return m_codes; }
    int threshold() const { return m_threshold; }
    // The key filter's toggle (the Tag of m_btnMost): 0 all, 1 key only.
    int filterToggle() const { return m_filter.toggle(); }
    // True while a practice window covers the directory.
    bool hiddenForPractice() const { return m_hidden; }

    void m_gridSelectCell(int row);
    bool m_editFindKeyDown(int key);
    void m_btnFindClick();
    void m_btnSelectClick();
    void m_btnMostClick();
    void m_btnQuestionClick();
    void m_btnBackClick();
    void m_btnExitClick();

    void SetupGrid();
    void LoadGroups();
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void SwitchView(bool toDetail);
    void showDetailRows(int select);
    void refreshDetail();

    QStringList m_codes;
    QString m_groupCode;
    int m_threshold = 1;
    keypoints::KeyPointList m_queryDetail;
    keypoints::KeyFilter m_filter;
    std::unique_ptr<TfrmLawDetail> m_detail;
    QWidget *m_listArea = nullptr;
    QVBoxLayout *m_listLayout = nullptr;
    bool m_shown = false;
    bool m_hidden = false;
    bool m_inPractice = false;
};
