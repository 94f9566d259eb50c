// The note window.
#include "practice/Ubj.h"

#include "widgets/ModalGui.h"
#include "common/ShellState.h"
#include "store/DbError.h"
#include "store/dm.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmBj::TFrmBj(QWidget *parent) : QDialog(parent)
{
    ui::keepOpenOnEscape(this);
    setObjectName(QStringLiteral("FrmBj"));
    setWindowTitle(QStringLiteral("笔记"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(392, 353);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(10, 10, 10, 10);
    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setAccessibleName(QStringLiteral("笔记"));
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab walks on to "关闭" instead of typing a tab.
    DBMemo1->setTabChangesFocus(true);
    v->addWidget(DBMemo1, 1);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    epEfTrBtn1 = new QPushButton(QStringLiteral("关  闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setAutoDefault(false);
    epEfTrBtn1->setMinimumWidth(90);
    row->addWidget(epEfTrBtn1);
    row->addStretch(1);
    v->addLayout(row);
    connect(epEfTrBtn1, &QPushButton::clicked, this, &TFrmBj::epEfTrBtn1Click);
    // The input method is the user's input framework's choice.
}

void TFrmBj::bind(TDM1 &dm, const practice::FieldBinding &binding)
{
    m_dm = &dm;
    m_binding = binding;
    m_original = binding.read(dm);
    DBMemo1->setPlainText(m_original.toString());
    DBMemo1->document()->setModified(false);
}

QString TFrmBj::text() const { return DBMemo1->toPlainText(); }

bool TFrmBj::isNull() const { return m_original.isNull() && !DBMemo1->document()->isModified(); }

void TFrmBj::epEfTrBtn1Click() { close(); }

void TFrmBj::done(int result)
{
    // Every close stores the note at once (also a close by the system menu
    // or Esc); a note left untouched is written back as it was.
    if (!m_saved) {
        m_saved = true;
        if (m_dm) {
            try {
                m_binding.write(*m_dm, isNull() ? QVariant() : QVariant(text()));
            } catch (const store::DbError &e) {
                ui::showError(e.text());
            }
        }
        shell().NoteHasContent = !text().trimmed().isEmpty();
    }
    QDialog::done(result);
}
