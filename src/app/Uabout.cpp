// TFrmAbout: title, maker's address and notice of rights, one close button.
#include "app/Uabout.h"

#include "widgets/ModalGui.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFrmAbout::TFrmAbout(QWidget *parent) : QDialog(parent)
{
    ui::keepOpenOnEscape(this);
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(420, 240);
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("Velmora 职业资格考试辅导系统"), this);
    title->setObjectName(QStringLiteral("LabelTitle"));
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("font-size: 18px; font-weight: bold; color: #1d5f8a;"));
    auto *maker = new QLabel(QStringLiteral("Pellbrook 学习软件\n出版：Halvorne 教育出版社\n地址：Halvorne 市学府路 1 号"), this);
    maker->setObjectName(QStringLiteral("LabelMaker"));
    maker->setAlignment(Qt::AlignCenter);
    auto *rights = new QLabel(QStringLiteral("版权所有 © Halvorne 教育出版社。保留所有权利。\n本软件与配套教材一同使用，未经许可不得复制或传播。"), this);
    rights->setObjectName(QStringLiteral("LabelRights"));
    rights->setAlignment(Qt::AlignCenter);
    rights->setWordWrap(true);
    auto *close = new QPushButton(QStringLiteral("关 闭"), this);
    close->setObjectName(QStringLiteral("BtnClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(title);
    layout->addWidget(maker);
    layout->addWidget(rights);
    layout->addWidget(close, 0, Qt::AlignCenter);
}
