// TFrmAbout: title, maker's address and notice of rights, one close button,
// painted like the program's other windows.
#include "app/Uabout.h"
#include "widgets/ThemeGui.h"

#include "widgets/ModalGui.h"
#include "widgets/Ubackdrop.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

TFrmAbout::TFrmAbout(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(420, 284);
    new backdrop::StripDragger(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, backdrop::StripHeight + 12, 18, 14);
    auto *title = new QLabel(QStringLiteral("Velmora 职业资格考试辅导系统"), this);
    title->setObjectName(QStringLiteral("LabelTitle"));
    title->setAlignment(Qt::AlignCenter);
    theme::setRole(title, "about-title");
    QFont titleFont = title->font();
    titleFont.setPixelSize(18);
    title->setFont(titleFont);
    auto *maker = new QLabel(QStringLiteral("Pellbrook 学习软件\n出版：Halvorne 教育出版社\n地址：Halvorne 市学府路 1 号"), this);
    maker->setObjectName(QStringLiteral("LabelMaker"));
    maker->setAlignment(Qt::AlignCenter);
    theme::setRole(maker, "about");
    QFont makerFont = maker->font();
    makerFont.setPixelSize(13);
    maker->setFont(makerFont);
    auto *rights = new QLabel(QStringLiteral("版权所有 © Halvorne 教育出版社。保留所有权利。\n本软件与配套教材一同使用，未经许可不得复制或传播。"), this);
    rights->setObjectName(QStringLiteral("LabelRights"));
    rights->setAlignment(Qt::AlignCenter);
    rights->setWordWrap(true);
    theme::setRole(rights, "about-small");
    QFont rightsFont = rights->font();
    rightsFont.setPixelSize(12);
    rights->setFont(rightsFont);
    // The running version, on a line of its own below the fixed texts.
    auto *version = new QLabel(QStringLiteral("版本 ") + QStringLiteral(PELLBROOK_VERSION), this);
    version->setObjectName(QStringLiteral("LabelVersion"));
    version->setAlignment(Qt::AlignCenter);
    theme::setRole(version, "about-small");
    version->setFont(rightsFont);
    auto *close = new QPushButton(QStringLiteral("关 闭"), this);
    close->setObjectName(QStringLiteral("BtnClose"));
    close->setMinimumWidth(90);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(title);
    layout->addWidget(maker);
    layout->addWidget(rights);
    layout->addWidget(version);
    layout->addWidget(close, 0, Qt::AlignCenter);
    ui::keepOpenOnEscape(this);
}

void TFrmAbout::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    backdrop::paint(this, p, windowTitle());
}
