// The explanation window.
#include "practice/Ujx.h"

#include "widgets/ModalGui.h"
#include "platform/RichText.h"
#include "store/dm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

TFrmJx::TFrmJx(QWidget *parent) : QDialog(parent)
{
    ui::keepOpenOnEscape(this);
    setObjectName(QStringLiteral("FrmJx"));
    setWindowTitle(QStringLiteral("解析"));
    // A fixed single border with the system menu only.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(596, 359);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(10, 10, 10, 10);
    Re = new QTextEdit(this);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setAccessibleName(QStringLiteral("解析"));
    Re->setReadOnly(true);
    v->addWidget(Re, 1);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    epEfTrBtn1 = new QPushButton(QStringLiteral("关闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setMinimumWidth(90);
    row->addWidget(epEfTrBtn1);
    v->addLayout(row);
    connect(epEfTrBtn1, &QPushButton::clicked, this, &TFrmJx::epEfTrBtn1Click);
}

void TFrmJx::bind(TDM1 &dm, const practice::FieldBinding &binding)
{
    Re->clear();
    try {
        const QVariant v = binding.read(dm);
        if (!v.isNull())
            richtext::readInto(*Re->document(), v.toByteArray());
    } catch (...) {
        // A binding failure shows an empty pane and says nothing.
        Re->clear();
    }
}

void TFrmJx::showEvent(QShowEvent *event)
{
    ui::normalCursor();
    Re->setReadOnly(true);
    QDialog::showEvent(event);
}

void TFrmJx::epEfTrBtn1Click() { close(); }
