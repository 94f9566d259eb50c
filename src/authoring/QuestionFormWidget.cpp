// The shared inputs of the authoring windows.
#include "authoring/QuestionFormWidget.h"
#include "widgets/AccessibleGui.h"

#include "common/ShellState.h"
#include "keypoints/UselectFg.h"
#include "platform/Seams.h"
#include "store/DbError.h"
#include "store/dm.h"
#include "widgets/ModalGui.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace authoring;

// ---------------------------------------------------------------- RichEdit

bool RichEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void RichEdit::insertFromMimeData(const QMimeData *source)
{
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull()) {
            insertPicture(image);
            return;
        }
    }
    QTextEdit::insertFromMimeData(source);
}

void RichEdit::insertPicture(const QImage &image)
{
    const QString name = QStringLiteral("pasted-%1-%2.png").arg(quintptr(this)).arg(++m_pictures);
    document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(image.width());
    f.setHeight(image.height());
    textCursor().insertImage(f);
}

// ---------------------------------------------------------------- form

QuestionFormWidget::QuestionFormWidget(const QuestionFormOptions &options, QWidget *parent)
    : QWidget(parent), m_options(options)
{
    setObjectName(QStringLiteral("QuestionForm"));
    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(10);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    root->addLayout(left, 3);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(2);
    auto tool = [this, bar](QToolButton *&b, const char *name, const QString &text, const QString &tip) {
        b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::TabFocus);
        b->setAutoRaise(true);
        bar->addWidget(b);
    };
    tool(boldButton, "BtnBold", QStringLiteral("B"), QStringLiteral("粗体"));
    tool(italicButton, "BtnItalic", QStringLiteral("I"), QStringLiteral("斜体"));
    tool(underlineButton, "BtnUnderline", QStringLiteral("U"), QStringLiteral("下划线"));
    tool(colourButton, "BtnColor", QStringLiteral("颜色"), QStringLiteral("文字颜色"));
    QFont bf = boldButton->font();
    bf.setBold(true);
    boldButton->setFont(bf);
    QFont itf = italicButton->font();
    itf.setItalic(true);
    italicButton->setFont(itf);
    QFont uf = underlineButton->font();
    uf.setUnderline(true);
    underlineButton->setFont(uf);
    bar->addStretch(1);
    left->addLayout(bar);

    m_bodyLabel = new QLabel(QStringLiteral("试题内容："), this);
    left->addWidget(m_bodyLabel);
    if (options.editing) {
        materialEdit = makeEditor(options.materialName);
        left->addWidget(materialEdit, 2);
    }
    bodyEdit = makeEditor(options.bodyName);
    left->addWidget(bodyEdit, 3);
    auto *explanationLabel = new QLabel(QStringLiteral("试题解析："), this);
    left->addWidget(explanationLabel);
    explanationEdit = makeEditor(options.explanationName);
    a11y::nameAfter(m_bodyLabel, bodyEdit);
    a11y::nameAfter(explanationLabel, explanationEdit);
    if (materialEdit)
        materialEdit->setAccessibleName(QStringLiteral("材料"));
    left->addWidget(explanationEdit, 2);

    auto *right = new QGridLayout;
    right->setVerticalSpacing(8);
    root->addLayout(right, 2);
    SE_Num = new QSpinBox(this);
    SE_Num->setObjectName(QStringLiteral("SE_Num"));
    SE_Num->setRange(1, 7);
    SE_Num->setValue(5);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(100);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    auto addRow = [this, right](int row, const QString &caption, QWidget *control) {
        auto *l = new QLabel(caption, this);
        right->addWidget(l, row, 0);
        right->addWidget(control, row, 1);
        a11y::nameAfter(l, control);
        // "答　　案" is spread out with wide spaces; the name is the word.
        control->setAccessibleName(control->accessibleName().remove(QChar(0x3000)).remove(QLatin1Char(' ')));
    };
    addRow(0, options.editing ? QStringLiteral("备选个数：") : QStringLiteral("待选答案个数："), SE_Num);
    addRow(1, options.editing ? QStringLiteral("答　　案：") : QStringLiteral("试题答案："), Edit1);
    addRow(2, options.editing ? QStringLiteral("题　　型：") : QStringLiteral("题    型："), ComboBox1);
    keyPointLabel = new QLabel(QStringLiteral("对应考点："), this);
    BtnAddFg = new QPushButton(QStringLiteral("添加考点"), this);
    BtnAddFg->setObjectName(QStringLiteral("BtnAddFg"));
    BtnAddFg->setAutoDefault(false);
    right->addWidget(keyPointLabel, 3, 0);
    right->addWidget(BtnAddFg, 3, 1, Qt::AlignRight);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    a11y::nameAfter(keyPointLabel, ListBox1);
    ListBox1->setToolTip(QStringLiteral("点击\"Delete\"键可以删除考点"));
    ListBox1->installEventFilter(this);
    right->addWidget(ListBox1, 4, 0, 1, 2);
    right->setRowStretch(4, 1);

    // The answer key is written in capitals.
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString &text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int pos = Edit1->cursorPosition();
            Edit1->setText(upper);
            Edit1->setCursorPosition(pos);
        }
    });
    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(BtnAddFg, &QPushButton::clicked, this, &QuestionFormWidget::BtnAddFgClick);
    connect(boldButton, &QToolButton::clicked, this, [this] {
        RichEdit *e = targetEditor();
        const bool bold = e && e->fontWeight() < QFont::Bold;
        applyCharFormat([bold](QTextCharFormat &f) { f.setFontWeight(bold ? QFont::Bold : QFont::Normal); });
    });
    connect(italicButton, &QToolButton::clicked, this, [this] {
        RichEdit *e = targetEditor();
        const bool on = e && !e->fontItalic();
        applyCharFormat([on](QTextCharFormat &f) { f.setFontItalic(on); });
    });
    connect(underlineButton, &QToolButton::clicked, this, [this] {
        RichEdit *e = targetEditor();
        const bool on = e && !e->fontUnderline();
        applyCharFormat([on](QTextCharFormat &f) { f.setFontUnderline(on); });
    });
    connect(colourButton, &QToolButton::clicked, this, [this] {
        RichEdit *e = targetEditor();
        const QColor c = QColorDialog::getColor(e ? e->textColor() : QColor(Qt::black), window(), QStringLiteral("文字颜色"));
        if (c.isValid())
            applyCharFormat([c](QTextCharFormat &f) { f.setForeground(c); });
    });
}

RichEdit *QuestionFormWidget::makeEditor(const char *name)
{
    auto *e = new RichEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    e->setAcceptRichText(true);
    // Tab walks on to the next control instead of typing a tab.
    e->setTabChangesFocus(true);
    if (m_options.editing)
        e->setToolTip(QStringLiteral("题目"));
    e->installEventFilter(this);
    return e;
}

RichEdit *QuestionFormWidget::targetEditor() const { return m_lastEditor ? m_lastEditor : bodyEdit; }

void QuestionFormWidget::applyCharFormat(const std::function<void(QTextCharFormat &)> &change)
{
    RichEdit *e = targetEditor();
    QTextCharFormat f;
    change(f);
    e->mergeCurrentCharFormat(f);
    e->setFocus();
}

bool QuestionFormWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        for (RichEdit *e : {materialEdit, bodyEdit, explanationEdit})
            if (e && watched == e)
                m_lastEditor = e;
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Delete) {
            ListBox1KeyDown(key);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString QuestionFormWidget::plainTrimmed(const QTextEdit *edit)
{
    // A picture alone is content too (it stands as U+FFFC in plain text).
    return edit->toPlainText().trimmed();
}

void QuestionFormWidget::loadTypes()
{
    ComboBox1->clear();
    TypeTable.clear();
    if (shell().CurSubject == 0)
        shell().CurSubject = 1;
    if (!DM1)
        return;
    TypeTable = loadTypeTable(*DM1, shell().CurSubject);
    for (const Ttx &t : std::as_const(TypeTable))
        ComboBox1->addItem(t.name);
    if (ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(0);
}

bool QuestionFormWidget::selectTypeCode(const QString &code)
{
    for (int i = 0; i < TypeTable.size(); ++i) {
        if (TypeTable.at(i).code == code) {
            ComboBox1->setCurrentIndex(i);
            return true;
        }
    }
    ComboBox1->setCurrentIndex(-1);
    return false;
}

void QuestionFormWidget::offerType(const Ttx &type)
{
    TypeTable.append(type);
    ComboBox1->addItem(type.name);
    ComboBox1->setCurrentIndex(int(TypeTable.size()) - 1);
}

QString QuestionFormWidget::selectedTypeCode() const
{
    const int i = ComboBox1->currentIndex();
    return i >= 0 && i < TypeTable.size() ? TypeTable.at(i).code : QString();
}

void QuestionFormWidget::enableAnswerInputs()
{
    SE_Num->setEnabled(true);
    Edit1->setEnabled(true);
}

bool QuestionFormWidget::applySubjectiveLock()
{
    if (!isSubjectiveType(ComboBox1->currentText()))
        return false;
    SE_Num->setValue(1);
    Edit1->setText(QStringLiteral("1"));
    SE_Num->setEnabled(false);
    Edit1->setEnabled(false);
    return true;
}

void QuestionFormWidget::ComboBox1Change()
{
    enableAnswerInputs();
    // Entry starts the answer afresh for another type; editing keeps it.
    if (!applySubjectiveLock() && !m_options.editing)
        Edit1->clear();
}

void QuestionFormWidget::BtnAddFgClick()
{
    if (keyPoints.count() >= 10) {
        seams::messageBox(QStringLiteral("提示"),
                          m_options.editing
                              ? QStringLiteral("试题对应知识点最多为10条！\r如果要去掉知识点，请选中要\r去掉的知识点，再按键盘上的\r[Delete]键！")
                              : QStringLiteral("试题对应考点最多为10条！\r如果要去掉考点，请选中要\r去掉的考点，再按键盘上的\r[Delete]键！"),
                          seams::Prompt::Information);
        return;
    }
    shell().ExistingKeyPointCount = keyPoints.count();
    TFrmSelectFG picker(window());
    picker.selectPage(0);
    picker.PickerCaller = m_options.editing ? 2 : 1;
    picker.setCallerKeyPoints(keyPoints.ids);
    if (ui::execModal(&picker) == QDialog::Accepted) {
        picker.mergeInto(keyPoints);
        showKeyPoints();
    }
}

void QuestionFormWidget::ListBox1KeyDown(int key)
{
    if (key != Qt::Key_Delete)
        return;
    const int row = ListBox1->currentRow();
    if (row < 0 || row >= keyPoints.count())
        return;
    keyPoints.removeAt(row);
    showKeyPoints();
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(qMin(row, ListBox1->count() - 1));
}

void QuestionFormWidget::showKeyPoints()
{
    ListBox1->clear();
    ListBox1->addItems(keyPoints.entries);
}

void QuestionFormWidget::setMaterialShown(bool shown)
{
    if (materialEdit)
        materialEdit->setVisible(shown);
}
