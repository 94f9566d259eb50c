// The related key points window TfrmAnswFagui ("相关考点"): the key points a
// question lists in K3..K12, their titles on the left, the text of the
// selected one on the right and the name of its group across the top.
// Opened by the "考点" buttons of practice and exam; it only reads.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QStringList>
#include <QVector>

class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QTextEdit;

class TfrmAnswFagui : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAnswFagui(QWidget *parent = nullptr);

    // Reads the question's key-point ids (non-empty K3..K12 in field
    // order).  True when it lists at least one; the caller shows the window
    // only then.
    bool LoadKeyPoints(const QString &questionId);

    QStringList m_listbox;   // the ids (hidden list)
    QListWidget *ListBox1 = nullptr;
    QTextEdit *Re = nullptr;
    QLabel *epLabel1 = nullptr;   // group title line
    QSplitter *Splitter1 = nullptr;
    QPushButton *epEfTrBtn1 = nullptr;   // "关  闭"

    void ListBox1Click();
    void epEfTrBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void showRow(int row);
    QString groupName(const QString &groupId);

    struct KeyPoint {
        QString id;   // group
        QByteArray n; // text
        QString sn;   // title as stored
    };
    QVector<KeyPoint> m_rows;   // ADOQuery1
    bool m_shown = false;
};
