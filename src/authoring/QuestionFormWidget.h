// The inputs that new question entry and question editing share: rich-text
// editors with a formatting bar, the option count, the answer key, the type
// box with the subjective-type rule, and the key-point list with its
// picker.  Each window configures it by options.
#pragma once

#include "authoring/QuestionEntry.h"
#include "keypoints/KeyPointPicking.h"

#include <QTextCharFormat>
#include <QTextEdit>
#include <QWidget>
#include <functional>

class QComboBox;
class QImage;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QToolButton;

// A rich-text editor that also takes pasted pictures.
class RichEdit : public QTextEdit {
    Q_OBJECT
public:
    using QTextEdit::QTextEdit;
    // Puts a picture at the cursor (as pasting one does).
    void insertPicture(const QImage &image);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    int m_pictures = 0;
};

struct QuestionFormOptions {
    // The edit window: a material editor above the body, its own labels
    // and limit text, and a type change that keeps the answer.
    bool editing = false;
    const char *bodyName = "Re1";
    const char *explanationName = "Re2";
    const char *materialName = "RxDBRichEdit3";
};

class QuestionFormWidget : public QWidget {
    Q_OBJECT
public:
    explicit QuestionFormWidget(const QuestionFormOptions &options, QWidget *parent = nullptr);

    RichEdit *materialEdit = nullptr;   // editing only; shown for a sub-question
    RichEdit *bodyEdit = nullptr;
    RichEdit *explanationEdit = nullptr;
    QSpinBox *SE_Num = nullptr;
    QLineEdit *Edit1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QLabel *keyPointLabel = nullptr;    // "对应考点："
    QPushButton *BtnAddFg = nullptr;    // 添加考点
    QToolButton *boldButton = nullptr, *italicButton = nullptr, *underlineButton = nullptr, *colourButton = nullptr;

    // ListBox2 with the entries shown in ListBox1.
    keypoints::PickedKeyPoints keyPoints;
    QVector<authoring::Ttx> TypeTable;

    // Fills the type box from the current subject's type table; the first
    // type is selected without applying the subjective rule.
    void loadTypes();
    // Selects the type of a code (compared as text); false when none has it.
    bool selectTypeCode(const QString &code);
    QString selectedTypeCode() const;
    // Adds a type the table lacks at the end of the box and selects it.
    void offerType(const authoring::Ttx &type);
    // The subjective-type rule of a type change.
    void ComboBox1Change();
    // Whether the shown type is subjective; applies its lock when it is.
    bool applySubjectiveLock();
    void BtnAddFgClick();
    void ListBox1KeyDown(int key);
    void showKeyPoints();
    void enableAnswerInputs();
    // Shows the material editor (sub-question) or lets the body take its place.
    void setMaterialShown(bool shown);

    static QString plainTrimmed(const QTextEdit *edit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    RichEdit *makeEditor(const char *name);
    RichEdit *targetEditor() const;
    void applyCharFormat(const std::function<void(QTextCharFormat &)> &change);

    QuestionFormOptions m_options;
    RichEdit *m_lastEditor = nullptr;
    QLabel *m_materialLabel = nullptr;
    QLabel *m_bodyLabel = nullptr;
};
