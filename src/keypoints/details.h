// The key-point detail view TfrmLawDetail: the key points of one group
// (m_LBmenu), the text of the selected one (Re, read-only rich text) and a
// line of figures (m_pNote).  The directory takes the panel m_Pdetail into
// its own list area; this window is never shown by itself.
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QTextEdit;

namespace keypoints {
class KeyPointList;
}

class TfrmLawDetail : public QWidget {
    Q_OBJECT
public:
    explicit TfrmLawDetail(QWidget *parent = nullptr);
    ~TfrmLawDetail() override;

    // The rows the list shows and the practice button that follows the
    // selected key point; both belong to the directory.
    void bind(keypoints::KeyPointList *list, QPushButton *practise);

    QPointer<QWidget> m_Pdetail;
    QListWidget *m_LBmenu = nullptr;
    QTextEdit *Re = nullptr;
    QLabel *m_pNote = nullptr;
    QSplitter *m_split = nullptr;

    // Rebuilds the entries from the list as filtered and selects an entry
    // (entry 0 when the one asked for is not listed).
    void FillKeyPointList(int select = 0);
    // Re shows the text of an entry's key point.
    void showRecord(int entry);
    // The note line and "练习(&P)" for an entry's key point.
    void ShowKeyPointNote(int entry);
    // A click on an entry.
    void m_lBmenuClick();
    // Empties the list, the text and the note ("找不到考点!").
    void clearView();

private:
    keypoints::KeyPointList *m_list = nullptr;
    QPushButton *m_practise = nullptr;
    bool m_filling = false;
};
